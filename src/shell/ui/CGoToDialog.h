#pragma once

#include <QDialog>

class QLineEdit;

namespace quorin::shell::ui {

/// "Go to position": one position, read as a decimal number (what is not one
/// reads as 0). Nothing is checked; the editor clamps it.
class CGoToDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CGoToDialog(QWidget* parent = nullptr);

    int Position() const;

private:
    QLineEdit* m_position = nullptr;
};

} // namespace quorin::shell::ui
