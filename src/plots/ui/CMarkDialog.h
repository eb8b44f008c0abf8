#pragma once

#include "core/PageItems.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace quorin::plots::ui {

/// "Mark Positions": the position of a mark, its label font and colour and
/// its line colour. OK checks the position; 0 or an empty field closes the
/// dialog without a mark.
class CMarkDialog : public QDialog
{
    Q_OBJECT

public:
    /// start gives the font and colours (and, when editing a mark, its
    /// position; 0 shows an empty field). length is the last valid position.
    CMarkDialog(const core::MARK& start, int length, QWidget* parent = nullptr);

    /// The mark as accepted.
    const core::MARK& Mark() const { return m_mark; }
    /// False when the dialog was accepted with position 0.
    bool AddsMark() const { return m_mark.position != 0; }

    void accept() override;

private:
    void chooseFont();
    void chooseLineColour();
    void showLineColour();

    core::MARK m_mark;
    int m_length;
    QLineEdit* m_position;
    QPushButton* m_lineColour;
};

} // namespace quorin::plots::ui
