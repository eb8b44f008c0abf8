#pragma once

#include "core/ui/CommandTarget.h"
#include "shell/SequenceEditor.h"

#include <QList>
#include <QPlainTextEdit>
#include <QPointer>

class QPrinter;

namespace quorin::core::ui {
class CPeptideDoc;
}

namespace quorin::shell::ui {

/// The sequence text of the editor: the residues in blocks of ten, in the
/// sequence font. Every change the user makes (a typed character, Backspace,
/// Enter, Delete, Cut, Paste, a drop) is parsed again into the document at
/// once, re-formatted, and the caret corrected so that it stays after the
/// typed residue; what is not a residue vanishes. Keeps the undo history of
/// the sequence, since the control's own text is replaced after each change.
/// Handles Undo, Redo, Cut, Copy, Paste, Select All, Copy All, Select from...
/// to..., Go to and Print.
class CPepEditView : public QPlainTextEdit, public core::ui::CommandTarget
{
    Q_OBJECT

public:
    explicit CPepEditView(core::ui::CPeptideDoc& document, QWidget* parent = nullptr);
    ~CPepEditView() override;

    /// The editor view made last, while it lives (the frame forwards to it).
    static CPepEditView* Current();
    /// The document shown; null once it is gone.
    core::ui::CPeptideDoc* Document() const;

    const SequenceEditor& Model() const { return m_model; }

    /// Shows the document again: "untitled" for an empty name, the residues
    /// re-formatted, the caret at its former character offset.
    void ShowDocument();

    /// Selects residues first..last (1-based, inclusive, clamped to the
    /// sequence; first <= 0 selects from the start) and scrolls them into view.
    void SelectResidues(int first, int last);

    /// Go to: asks for a position and selects the residue there.
    void GoTo();
    /// Select from... to...: asks for two positions and selects between them.
    void SelectRange();
    /// Shows name, length, remarks and the sequence in the text dialog.
    void CopyAll();
    /// Prints the document (name, length, remarks, sequence) with a "page N"
    /// header on every page; returns the number of pages, 0 when the printer
    /// could not be used (the user was told).
    int Print(QPrinter& printer);

    /// The first line of the text in view (0-based).
    int FirstVisibleLine() const { return m_firstLine; }

    /// A line of the text in view: its number (0-based) and the baseline of
    /// its characters in viewport coordinates.
    struct VisibleLine
    {
        int line = 0;
        int baseline = 0;
    };
    QList<VisibleLine> VisibleLines() const;

    std::optional<core::ui::CommandState> CommandStateOf(int id) override;
    bool OnCommand(int id) override;

signals:
    /// The selection in residues changed.
    void selectionTracked();
    /// The lines in view moved (scrolling, a changed text).
    void linesMoved();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    /// Files dropped on the text are for the main window to open, not text.
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void onContentsChange(int position, int removed, int added);
    /// Takes the control's text into the document after the user changed it;
    /// false when there was nothing to take.
    bool applyPendingEdit();
    /// Lets the control run one of its own edits (a key, Cut, Paste, a drop),
    /// then takes the result; parseAlways runs the caret correction even when
    /// the text stayed as it was.
    template <typename Edit>
    void controlEdit(Edit&& edit, bool parseAlways);
    void finishEdit(const EditResult& result);
    /// Puts the model's text into the control, changing only what differs;
    /// false when the control showed it already.
    bool showControlText();
    void setCaret(int offset);
    void trackSelection();
    void storeFirstLine();
    void undoRedo(bool undo);
    int charsPerLine() const;

    QPointer<core::ui::CPeptideDoc> m_document;
    SequenceEditor m_model;
    bool m_updating = false;    ///< the program is changing the control
    bool m_inControl = false;   ///< the control is running an edit of its own
    bool m_editPending = false; ///< the user changed the text since it was parsed
    bool m_keyPending = false;  ///< a typing key, Cut or Paste: parse even if unchanged
    bool m_notifying = false;   ///< this view is telling the document's views
    int m_firstLine = -1;
};

} // namespace quorin::shell::ui
