#pragma once

#include "core/PropertyRecord.h"
#include "plots/Hydropathy.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace quorin::plots::ui {

/// "Properties for Hydropathy Plot": the displayed stretch, the sliding
/// window, the scale and the helix threshold, for a new hydropathy plot and
/// for "Modify displayed part of sequence..." on an open one. It starts from
/// request (its defaults when the request has no stretch); OK checks the
/// fields in order, takes them into Request() and makes the chosen scale
/// current for the whole sequence; Cancel only clamps the request's stretch.
/// "Show predicted topology" adds the band of the trained topology model
/// above the curve (off unless the request asks for it).
class CPathyDialog : public QDialog
{
    Q_OBJECT

public:
    CPathyDialog(core::PropertyRecord& record, const PendingPlotRequest& request,
                 QWidget* parent = nullptr);

    /// The stretch, window and threshold chosen.
    const PendingPlotRequest& Request() const { return m_request; }

    void accept() override;
    void reject() override;

private:
    void scaleChosen();

    core::PropertyRecord& m_record;
    PendingPlotRequest m_request;
    QLineEdit* m_from;
    QLineEdit* m_to;
    QLineEdit* m_window;
    QLineEdit* m_threshold;
    QListWidget* m_scales;
    QLineEdit* m_scaleName;
    QCheckBox* m_topology;
};

} // namespace quorin::plots::ui
