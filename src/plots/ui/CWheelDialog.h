#pragma once

#include "core/PropertyRecord.h"

#include <QDialog>

class QLineEdit;

namespace quorin::plots::ui {

/// "Properties for Helical Wheel": the stretch of a new wheel, or of an open
/// one for "&Modify displayed part of sequence...". The edits show from and
/// to when they differ and stay empty otherwise; OK checks them
/// (CheckWheelDialog) and takes them into From() and To().
class CWheelDialog : public QDialog
{
    Q_OBJECT

public:
    CWheelDialog(const core::PropertyRecord& record, int from, int to, QWidget* parent = nullptr);

    /// The stretch chosen.
    int From() const { return m_chosenFrom; }
    int To() const { return m_chosenTo; }

    void accept() override;

private:
    const core::PropertyRecord& m_record;
    int m_chosenFrom;
    int m_chosenTo;
    QLineEdit* m_from;
    QLineEdit* m_to;
};

} // namespace quorin::plots::ui
