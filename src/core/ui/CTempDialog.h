#pragma once

#include <QDialog>
#include <QString>

class QPlainTextEdit;

namespace quorin::core::ui {

/// The text dialog "Temporary Helpbox": a report shown in a box of its own,
/// all of it selected, from which the user copies it. The sequence editor and
/// every text report window share it, so it lives below them all.
class CTempDialog : public QDialog
{
    Q_OBJECT

public:
    /// text may end its lines with CR LF; the box shows plain lines.
    explicit CTempDialog(const QString& text, QWidget* parent = nullptr);

    /// The text as the box shows it (lines separated by "\n").
    QString Text() const;

private:
    QPlainTextEdit* m_text = nullptr;
};

/// The Copy command of a report window: puts text on the clipboard at once,
/// its lines ending in LF as Linux programs paste them, then shows it in the
/// box.
void CopyReport(const QString& text, QWidget* parent);

} // namespace quorin::core::ui
