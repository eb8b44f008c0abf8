#pragma once

#include "core/PropertyRecord.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;

namespace quorin::plots::ui {

/// "Properties for Hydropathy Plot": the displayed stretch, the sliding
/// window, the scale and the helix threshold, for a new hydropathy plot and
/// for "Modify displayed part of sequence..." on an open one. It starts from
/// the pending plot request (its defaults when no request is pending); OK
/// checks the fields in order, writes the request and makes the chosen scale
/// current for the whole sequence; Cancel only clamps the request's stretch.
class CPathyDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CPathyDialog(core::PropertyRecord& record, QWidget* parent = nullptr);

    void accept() override;
    void reject() override;

private:
    void scaleChosen();

    core::PropertyRecord& m_record;
    QLineEdit* m_from;
    QLineEdit* m_to;
    QLineEdit* m_window;
    QLineEdit* m_threshold;
    QListWidget* m_scales;
    QLineEdit* m_scaleName;
};

} // namespace quorin::plots::ui
