#include "shell/ui/CPepEditView.h"

#include "core/CommandIds.h"
#include "core/ui/Application.h"
#include "core/ui/CPeptideDoc.h"
#include "core/ui/CTempDialog.h"
#include "core/ui/GdiTypes.h"
#include "core/ui/Messages.h"
#include "core/ui/Printing.h"
#include "core/ui/QtText.h"
#include "shell/EnablingRules.h"
#include "shell/ui/CGoToDialog.h"
#include "shell/ui/CSelectRangeDialog.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QPrinter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>

#include <algorithm>
#include <utility>

namespace quorin::shell::ui {
namespace {

namespace cmd = core::cmd;

QPointer<CPepEditView>& currentView()
{
    static QPointer<CPepEditView> view;
    return view;
}

/// The sequence font: the fixed-pitch face at 8.5 points, plain.
QFont sequenceFont()
{
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSizeF(8.5);
    font.setBold(false);
    font.setItalic(false);
    font.setUnderline(false);
    return font;
}

/// Keys after which the text is parsed again even when the control left it
/// unchanged: characters, Backspace, Enter and Delete.
bool isTypingKey(const QKeyEvent& event)
{
    switch (event.key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return true;
    default:
        break;
    }
    const QString text = event.text();
    return !text.isEmpty() && text.at(0).isPrint();
}

} // namespace

CPepEditView::CPepEditView(core::ui::CPeptideDoc& sequenceDocument, QWidget* parent)
    : QPlainTextEdit(parent), m_document(&sequenceDocument), m_model(sequenceDocument.Record())
{
    setObjectName(QStringLiteral("CPepEditView"));
    currentView() = this;
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setFont(sequenceFont());
    // The text is replaced after every change; the sequence keeps its own history.
    document()->setUndoRedoEnabled(false);

    connect(document(), &QTextDocument::contentsChange, this, &CPepEditView::onContentsChange);
    const auto track = [this] {
        if (!m_updating && !m_inControl && !m_editPending) {
            trackSelection();
        }
    };
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, track);
    connect(this, &QPlainTextEdit::selectionChanged, this, track);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &CPepEditView::storeFirstLine);
    connect(this, &QPlainTextEdit::updateRequest, this, [this] { emit linesMoved(); });
    connect(&sequenceDocument, &core::ui::CPeptideDoc::viewsNeedUpdate, this, [this] {
        if (!m_notifying) {
            ShowDocument();
        }
    });
    ShowDocument();
}

CPepEditView::~CPepEditView() = default;

core::ui::CPeptideDoc* CPepEditView::Document() const
{
    return m_document;
}

CPepEditView* CPepEditView::Current()
{
    return currentView().data();
}

int CPepEditView::charsPerLine() const
{
    return core::ui::Application::Instance().Settings().charsPerLine;
}

void CPepEditView::ShowDocument()
{
    if (!m_document) {
        return;
    }
    for (QWidget* widget = parentWidget(); widget != nullptr; widget = widget->parentWidget()) {
        if (auto* frame = qobject_cast<QMdiSubWindow*>(widget)) {
            frame->setWindowTitle(QStringLiteral("Sequence Editor"));
            break;
        }
    }
    const int caret = textCursor().selectionStart();
    m_model.Refresh(charsPerLine());
    if (showControlText()) {
        setCaret(caret);
    }
    document()->setModified(false);
    trackSelection();
    storeFirstLine();
}

bool CPepEditView::showControlText()
{
    const std::string& control = m_model.ControlText();
    const QString wanted =
        QString::fromLatin1(control.data(), static_cast<qsizetype>(control.size()));
    const QString current = document()->toPlainText();
    if (current == wanted) {
        return false;
    }
    // Only the stretch that differs is replaced: the text keeps its scroll
    // position, and typing into a long sequence stays quick.
    const qsizetype shorter = std::min(current.size(), wanted.size());
    qsizetype prefix = 0;
    while (prefix < shorter && current[prefix] == wanted[prefix]) {
        ++prefix;
    }
    qsizetype suffix = 0;
    while (suffix < shorter - prefix &&
           current[current.size() - 1 - suffix] == wanted[wanted.size() - 1 - suffix]) {
        ++suffix;
    }
    const bool wasUpdating = std::exchange(m_updating, true);
    QTextCursor cursor(document());
    cursor.setPosition(static_cast<int>(prefix));
    cursor.setPosition(static_cast<int>(current.size() - suffix), QTextCursor::KeepAnchor);
    cursor.insertText(wanted.mid(prefix, wanted.size() - prefix - suffix));
    m_updating = wasUpdating;
    return true;
}

void CPepEditView::setCaret(int offset)
{
    QTextCursor cursor = textCursor();
    cursor.setPosition(std::clamp(offset, 0, document()->characterCount() - 1));
    const bool wasUpdating = std::exchange(m_updating, true);
    setTextCursor(cursor);
    m_updating = wasUpdating;
}

void CPepEditView::trackSelection()
{
    const QTextCursor cursor = textCursor();
    m_model.TrackSelection(cursor.anchor(), cursor.position());
    emit selectionTracked();
}

void CPepEditView::storeFirstLine()
{
    const int line = firstVisibleBlock().blockNumber();
    if (line != m_firstLine) {
        m_firstLine = line;
        emit linesMoved();
    }
}

void CPepEditView::onContentsChange(int, int, int)
{
    if (m_updating) {
        return;
    }
    m_editPending = true;
    if (!m_inControl) {
        // A change from a path that does not take it at once (an accessibility
        // tool, a menu of the platform): take it when control returns.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (applyPendingEdit()) {
                    trackSelection();
                }
            },
            Qt::QueuedConnection);
    }
}

bool CPepEditView::applyPendingEdit()
{
    const bool forced = std::exchange(m_keyPending, false);
    const bool changed = std::exchange(m_editPending, false);
    if (!m_document || (!forced && !changed)) {
        return false;
    }
    // One byte per character of the control, so that offsets stay offsets; a
    // character outside Latin-1 is no residue either way.
    const std::string control = document()->toPlainText().toLatin1().toStdString();
    if (!forced && control == m_model.ControlText()) {
        return false;
    }
    finishEdit(m_model.ApplyControlText(control, textCursor().selectionStart()));
    return true;
}

template <typename Edit>
void CPepEditView::controlEdit(Edit&& edit, bool parseAlways)
{
    m_inControl = true;
    edit();
    m_inControl = false;
    m_keyPending = parseAlways;
    applyPendingEdit();
    trackSelection();
}

void CPepEditView::finishEdit(const EditResult& result)
{
    if (result.textReplaced) {
        showControlText();
    }
    setCaret(result.caret);
    trackSelection();
    storeFirstLine();
    if (result.textReplaced && m_document) {
        m_document->SetModifiedFlag(true);
        const bool wasNotifying = std::exchange(m_notifying, true);
        m_document->UpdateAllViews();
        m_notifying = wasNotifying;
    }
}

void CPepEditView::undoRedo(bool undo)
{
    if (!m_document) {
        return;
    }
    const EditResult result = undo ? m_model.Undo() : m_model.Redo();
    if (result.textReplaced) {
        finishEdit(result);
    }
}

void CPepEditView::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Undo)) {
        undoRedo(true);
        return;
    }
    if (event->matches(QKeySequence::Redo)) {
        undoRedo(false);
        return;
    }
    if (event->modifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier)) {
        // A key held with Alt or Ctrl is a command or a menu's letter, never a
        // residue: the control sees it without its text, so that Ctrl+C or
        // Ctrl+End still work but Alt+E types nothing when no menu takes it.
        QKeyEvent chord(event->type(), event->key(), event->modifiers(), event->nativeScanCode(),
                        event->nativeVirtualKey(), event->nativeModifiers(), QString(),
                        event->isAutoRepeat(), static_cast<quint16>(event->count()),
                        event->device());
        controlEdit([&] { QPlainTextEdit::keyPressEvent(&chord); }, false);
        event->setAccepted(chord.isAccepted());
        storeFirstLine();
        return;
    }
    controlEdit([&] { QPlainTextEdit::keyPressEvent(event); }, isTypingKey(*event));
    storeFirstLine();
}

void CPepEditView::inputMethodEvent(QInputMethodEvent* event)
{
    controlEdit([&] { QPlainTextEdit::inputMethodEvent(event); }, false);
}

void CPepEditView::mouseReleaseEvent(QMouseEvent* event)
{
    // The middle button pastes the selection of the platform.
    controlEdit([&] { QPlainTextEdit::mouseReleaseEvent(event); }, false);
}

void CPepEditView::dropEvent(QDropEvent* event)
{
    controlEdit([&] { QPlainTextEdit::dropEvent(event); }, false);
}

bool CPepEditView::canInsertFromMimeData(const QMimeData* source) const
{
    return !source->hasUrls() && QPlainTextEdit::canInsertFromMimeData(source);
}

void CPepEditView::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    const std::pair<int, QString> items[] = {
        {cmd::kUndo, QStringLiteral("&Undo")},
        {cmd::kRedo, QStringLiteral("&Redo")},
        {0, QString()},
        {cmd::kCut, QStringLiteral("Cu&t")},
        {cmd::kCopy, QStringLiteral("&Copy")},
        {cmd::kPaste, QStringLiteral("&Paste")},
        {0, QString()},
        {cmd::kSelectAll, QStringLiteral("Select &All")},
    };
    for (const auto& [id, text] : items) {
        if (id == 0) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(text);
        const auto state = CommandStateOf(id);
        action->setEnabled(state && state->enabled);
        connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
    }
    menu.exec(event->globalPos());
}

QList<CPepEditView::VisibleLine> CPepEditView::VisibleLines() const
{
    QList<VisibleLine> lines;
    const QPointF offset = contentOffset();
    const int bottom = viewport()->height();
    for (QTextBlock block = firstVisibleBlock(); block.isValid(); block = block.next()) {
        const QRectF rect = blockBoundingGeometry(block).translated(offset);
        if (rect.top() > bottom) {
            break;
        }
        qreal baseline = rect.top() + fontMetrics().ascent();
        if (const QTextLayout* layout = block.layout(); layout && layout->lineCount() > 0) {
            const QTextLine first = layout->lineAt(0);
            baseline = rect.top() + first.y() + first.ascent();
        }
        lines.append({block.blockNumber(), qRound(baseline)});
    }
    return lines;
}

void CPepEditView::SelectResidues(int first, int last)
{
    const auto [start, end] = m_model.RangeOffsets(first, last);
    QTextCursor cursor = textCursor();
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    const bool wasUpdating = std::exchange(m_updating, true);
    setTextCursor(cursor);
    m_updating = wasUpdating;
    ensureCursorVisible();
    storeFirstLine();
    trackSelection();
}

void CPepEditView::GoTo()
{
    CGoToDialog dialog(this);
    if (dialog.exec() == QDialog::Accepted) {
        SelectResidues(dialog.Position(), dialog.Position());
    }
}

void CPepEditView::SelectRange()
{
    CSelectRangeDialog dialog(this);
    if (dialog.exec() == QDialog::Accepted) {
        SelectResidues(dialog.First(), dialog.Last());
    }
}

void CPepEditView::CopyAll()
{
    if (!m_document) {
        return;
    }
    core::ui::CTempDialog dialog(core::ui::ToQString(m_model.CopyAllText()), this);
    dialog.exec();
}

int CPepEditView::Print(QPrinter& printer)
{
    if (!m_document) {
        return 0;
    }
    printer.setDocName(QStringLiteral("Sequence Editor"));
    // No page font: the editor prints in the hard-copy font size.
    return core::ui::PrintTextPages(
        printer, std::nullopt, [this](core::ui::TextPagePrinter& pages) {
            const int columns = std::min(pages.Geometry().Columns(), 254);
            for (const std::string& line : m_model.PrintLines(columns)) {
                if (!pages.PrintLine(line, core::kBreakAfterPunctuation)) {
                    return;
                }
            }
        });
}

std::optional<core::ui::CommandState> CPepEditView::CommandStateOf(int id)
{
    if (!IsEditorCommand(id)) {
        return std::nullopt;
    }
    EditorState state;
    const QMimeData* clipboard = QApplication::clipboard()->mimeData();
    state.clipboardHasText = clipboard != nullptr && clipboard->hasText();
    state.canUndo = m_model.CanUndo();
    state.canRedo = m_model.CanRedo();
    return core::ui::CommandState{EditorCommandEnabled(id, state)};
}

bool CPepEditView::OnCommand(int id)
{
    switch (id) {
    case cmd::kUndo:
        undoRedo(true);
        return true;
    case cmd::kRedo:
        undoRedo(false);
        return true;
    case cmd::kCut:
        controlEdit([this] { cut(); }, true);
        return true;
    case cmd::kPaste:
        controlEdit([this] { paste(); }, true);
        return true;
    case cmd::kCopy:
        copy();
        return true;
    case cmd::kSelectAll:
        selectAll();
        return true;
    case cmd::kCopyAll:
        CopyAll();
        return true;
    case cmd::kSelectRange:
        SelectRange();
        return true;
    case cmd::kGoTo:
        GoTo();
        return true;
    case cmd::kPrint:
        core::ui::AskAndPrint(QStringLiteral("Sequence Editor"),
                              [this](QPrinter& printer) { return Print(printer); });
        return true;
    default:
        return false;
    }
}

} // namespace quorin::shell::ui
