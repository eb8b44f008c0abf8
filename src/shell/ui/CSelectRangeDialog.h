#pragma once

#include <QDialog>

class QLineEdit;

namespace quorin::shell::ui {

/// "Select part of sequence": a start and an end position, read as the Go to
/// dialog reads its one.
class CSelectRangeDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CSelectRangeDialog(QWidget* parent = nullptr);

    int First() const;
    int Last() const;

private:
    QLineEdit* m_first = nullptr;
    QLineEdit* m_last = nullptr;
};

} // namespace quorin::shell::ui
