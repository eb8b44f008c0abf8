#pragma once

#include "core/PageItems.h"

#include <QDialog>

class QPlainTextEdit;

namespace quorin::plots::ui {

/// "Insert Text": the text, font and colour of a text item.
class CTextDialog : public QDialog
{
    Q_OBJECT

public:
    /// start gives the text, font and colour shown first.
    explicit CTextDialog(const core::TEXTITEM& start, QWidget* parent = nullptr);

    /// The text as typed, lines separated by CR LF.
    std::string Text() const;
    const core::LOGFONT& Font() const { return m_font; }
    core::COLORREF Colour() const { return m_colour; }

private:
    QPlainTextEdit* m_text;
    core::LOGFONT m_font;
    core::COLORREF m_colour;
};

} // namespace quorin::plots::ui
