#pragma once

#include "core/PropertyRecord.h"

#include <QDialog>

class QLineEdit;

namespace quorin::plots::ui {

/// "Properties for Plot of Amphypathy Moment": the displayed stretch and the
/// window, for a new amphipathy plot and for "Modify displayed part of
/// sequence..." on an open one. It starts from the pending plot request (1,
/// the last position and 19 when none is pending); OK checks the fields as the
/// hydropathy dialog does and writes the request; Cancel only clamps the
/// request's stretch.
class CAmphyDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CAmphyDialog(const core::PropertyRecord& record, QWidget* parent = nullptr);

    void accept() override;
    void reject() override;

private:
    const core::PropertyRecord& m_record;
    QLineEdit* m_from;
    QLineEdit* m_to;
    QLineEdit* m_window;
};

} // namespace quorin::plots::ui
