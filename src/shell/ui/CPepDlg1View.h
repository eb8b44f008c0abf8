#pragma once

#include "core/ui/CommandTarget.h"

#include <QPointer>
#include <QWidget>

class QLineEdit;
class QPlainTextEdit;

namespace quorin::core::ui {
class CPeptideDoc;
}

namespace quorin::shell::ui {

class CPepEditView;

/// The editor's header: name, length, cursor position and remarks on a light
/// grey form with bold labels. The user edits name and remarks here; each
/// change goes into the document at once and marks it modified. Cut, Copy and
/// Paste act on the name or the remarks, whichever has the focus.
class CPepDlg1View : public QWidget, public core::ui::CommandTarget
{
    Q_OBJECT

public:
    CPepDlg1View(core::ui::CPeptideDoc& document, CPepEditView& editor, QWidget* parent = nullptr);

    /// Shows name, remarks, length and position again.
    void UpdateFields();
    /// Shows the position (selection start + 1, " - " and the end for a
    /// selection of more than one residue).
    void UpdatePosition();

    /// The name or the remarks field when one of them has the focus.
    QWidget* FocusedField() const;

    std::optional<core::ui::CommandState> CommandStateOf(int id) override;
    bool OnCommand(int id) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onFieldEdited();

    QPointer<core::ui::CPeptideDoc> m_document;
    CPepEditView& m_editor;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_length = nullptr;
    QLineEdit* m_position = nullptr;
    QPlainTextEdit* m_remarks = nullptr;
    bool m_updating = false;
    bool m_notifying = false;
};

} // namespace quorin::shell::ui
