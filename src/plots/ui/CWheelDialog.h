#pragma once

#include "core/PropertyRecord.h"

#include <QDialog>

class QLineEdit;

namespace quorin::plots::ui {

/// "Properties for Helical Wheel": the stretch of a new wheel, or of an open
/// one for "&Modify displayed part of sequence...". The edits show the
/// pending request's from and to when they differ and stay empty otherwise;
/// OK checks them (CheckWheelDialog) and writes them into the pending
/// request.
class CWheelDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CWheelDialog(const core::PropertyRecord& record, QWidget* parent = nullptr);

    void accept() override;

private:
    const core::PropertyRecord& m_record;
    QLineEdit* m_from;
    QLineEdit* m_to;
};

} // namespace quorin::plots::ui
