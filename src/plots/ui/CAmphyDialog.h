#pragma once

#include "core/PropertyRecord.h"
#include "plots/Hydropathy.h"

#include <QDialog>

class QLineEdit;

namespace quorin::plots::ui {

/// "Properties for Plot of Amphypathy Moment": the displayed stretch and the
/// window, for a new amphipathy plot and for "Modify displayed part of
/// sequence..." on an open one. It starts from request (1, the last position
/// and 19 when it has no stretch); OK checks the fields as the hydropathy
/// dialog does and takes them into Request(); Cancel only clamps the
/// request's stretch.
class CAmphyDialog : public QDialog
{
    Q_OBJECT

public:
    CAmphyDialog(const core::PropertyRecord& record, const PendingPlotRequest& request,
                 QWidget* parent = nullptr);

    /// The stretch and window chosen.
    const PendingPlotRequest& Request() const { return m_request; }

    void accept() override;
    void reject() override;

private:
    const core::PropertyRecord& m_record;
    PendingPlotRequest m_request;
    QLineEdit* m_from;
    QLineEdit* m_to;
    QLineEdit* m_window;
};

} // namespace quorin::plots::ui
