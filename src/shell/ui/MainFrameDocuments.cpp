#include "core/FileIo.h"
#include "core/MessageTexts.h"
#include "core/PepFile.h"
#include "core/SequenceText.h"
#include "core/TextImport.h"
#include "core/UniProt.h"
#include "core/ui/Application.h"
#include "core/ui/CPeptideDoc.h"
#include "core/ui/FileDialogs.h"
#include "core/ui/Messages.h"
#include "core/ui/QtText.h"
#include "plots/FeatureSketch.h"
#include "shell/ui/CMainFrame.h"
#include "shell/ui/ChildFrame.h"
#include "shell/ui/HelpWindow.h"
#include "shell/ui/SketchWindow.h"
#include "shell/ui/WindowFactories.h"

#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>

#include <filesystem>

namespace quorin::shell::ui {
namespace {

using core::ui::CPeptideDoc;
using core::ui::ToQString;

/// An entry's features become the document's domain sketch, kept for Save
/// whether or not a sketch window shows it.
void sketchEntryFeatures(CPeptideDoc& document)
{
    plots::SketchFeatures(document.Record());
    document.KeepSketch();
}

} // namespace

CPeptideDoc* CMainFrame::createDocument()
{
    auto* document = new CPeptideDoc(this);
    watchDocument(document);
    return document;
}

void CMainFrame::watchDocument(CPeptideDoc* document)
{
    connect(document, &CPeptideDoc::titleChanged, this, &CMainFrame::updateTitle);
    connect(document, &CPeptideDoc::stateChanged, this, &CMainFrame::scheduleUpdate);
    connect(document, &CPeptideDoc::modifiedChanged, this, &CMainFrame::scheduleUpdate);
    connect(document, &CPeptideDoc::viewsNeedUpdate, this, &CMainFrame::scheduleUpdate);
}

ChildFrame* CMainFrame::openEditor(CPeptideDoc& document)
{
    ChildFrame* frame = OpenWindow(WindowKind::SequenceEditor, document);
    if (frame == nullptr) {
        core::ui::ShowMessage(ToQString(core::msg::kCouldNotCreateWindow),
                              ToQString(core::msg::kError));
    }
    return frame;
}

CPeptideDoc* CMainFrame::NewDocument()
{
    if (!CloseSequenceDocument()) {
        return nullptr;
    }
    CPeptideDoc* document = createDocument();
    document->OnNewDocument();
    openEditor(*document);
    updateTitle();
    return document;
}

bool CMainFrame::CloseSequenceDocument()
{
    CPeptideDoc* document = m_app.CurrentDocument();
    if (document == nullptr) {
        return true;
    }
    if (document->IsOpen() && !document->SaveModified()) {
        return false;
    }
    closeDocumentWindows(document);
    return true;
}

void CMainFrame::closeDocumentWindows(CPeptideDoc* document)
{
    auto& analyses = document->Analyses();
    for (auto wheel = analyses.wheels.rbegin(); wheel != analyses.wheels.rend(); ++wheel) {
        CloseWindowsOf(wheel->data());
        *wheel = nullptr;
    }
    CloseWindowsOf(analyses.hydropathy.data());
    CloseWindowsOf(analyses.amphipathy.data());
    analyses.hydropathy = nullptr;
    analyses.amphipathy = nullptr;
    document->SetOpen(false);
    // Every other window of the document goes too, the domain sketch included:
    // no analysis outlives its sequence.
    for (ChildFrame* frame : Frames()) {
        if (frame->SequenceDocument() == document) {
            frame->CloseByShell();
        }
    }
    if (m_app.CurrentDocument() == document) {
        m_app.SetCurrentDocument(nullptr);
    }
    document->disconnect(this);
    document->deleteLater();
    updateTitle();
    scheduleUpdate();
}

void CMainFrame::discardDocument(CPeptideDoc* document)
{
    document->SetModifiedFlag(false);
    closeDocumentWindows(document);
}

void CMainFrame::OpenWithDialog()
{
    core::ui::FileDialogRequest request;
    request.mode = core::ui::FileDialogRequest::Mode::Open;
    request.title = QStringLiteral("Open");
    // Open reads FASTA texts as well; the program's own type stays first and selected.
    request.filters = {QStringLiteral("Quorin Type (*.pep)"),
                       QStringLiteral("FASTA (*.fasta *.fa *.faa *.txt)"),
                       QStringLiteral("All files (*)")};
    request.directory = m_app.WorkingDirectory();
    // The dialog first: Cancel leaves the sequence on show as it is.
    const auto path = core::ui::AskFileName(request);
    if (path && CloseSequenceDocument()) {
        openWithoutClosing(*path, false);
    }
}

bool CMainFrame::OpenDocumentFile(const QString& path)
{
    if (!CloseSequenceDocument()) {
        return false;
    }
    return openWithoutClosing(path, false);
}

bool CMainFrame::openWithoutClosing(const QString& path, bool fromRecentList)
{
    CPeptideDoc* document = createDocument();
    bool hasSketch = false;
    const auto outcome = document->OnOpenDocument(path, &hasSketch);
    const QString shownPath = QDir::toNativeSeparators(path);
    switch (outcome) {
    case CPeptideDoc::LoadOutcome::Loaded:
        break;
    case CPeptideDoc::LoadOutcome::NotQuorinFormat:
        core::ui::ShowMessage(ToQString(core::msg::kNotQuorinFormat), ToQString(core::msg::kError));
        discardDocument(document);
        return false;
    case CPeptideDoc::LoadOutcome::Truncated:
        core::ui::ShowMessage(ToQString(core::msg::kTruncatedFile), ToQString(core::msg::kError));
        discardDocument(document);
        return false;
    case CPeptideDoc::LoadOutcome::Utf16Text:
        core::ui::ShowMessage(ToQString(core::msg::kUtf16Text), ToQString(core::msg::kError));
        discardDocument(document);
        return false;
    case CPeptideDoc::LoadOutcome::MalformedEntry:
        core::ui::ShowMessage(shownPath + QStringLiteral(": ") + document->OpenError(),
                              ToQString(core::msg::kError));
        discardDocument(document);
        return false;
    case CPeptideDoc::LoadOutcome::CannotOpen:
        core::ui::ShowMessage(ToQString(core::msg::CannotOpenFile(
                                  shownPath.toStdString(), document->OpenError().toStdString())),
                              ToQString(core::msg::kProgramTitle));
        if (fromRecentList) {
            m_app.RemoveFromRecentFiles(path);
        }
        discardDocument(document);
        return false;
    }
    document->SetOpen(true);
    document->SetModifiedFlag(false);
    document->SetPathName(path, document->SavesInPlace());
    if (document->FromUniProtEntry()) {
        sketchEntryFeatures(*document);
        hasSketch = true;
    }
    openEditor(*document);
    if (hasSketch && FindWindowFactory(WindowKind::Sketch) != nullptr) {
        // Without a window the document keeps the sketch it read for Save.
        if (ChildFrame* sketch = OpenWindow(WindowKind::Sketch, *document)) {
            AdoptSketchFrame(*sketch, *document);
        }
    }
    document->UpdateAllViews();
    updateTitle();
    return true;
}

void CMainFrame::ImportText()
{
    core::ui::FileDialogRequest request;
    request.mode = core::ui::FileDialogRequest::Mode::Open;
    request.title = QStringLiteral("Import");
    request.fileName = QStringLiteral("*.txt");
    request.filters = {QStringLiteral("All (*)"), QStringLiteral("Text (*.txt)")};
    request.directory = m_app.WorkingDirectory();
    // As Open: the dialog first, so that Cancel changes nothing.
    const auto path = core::ui::AskFileName(request);
    if (!path || !CloseSequenceDocument()) {
        return;
    }
    CPeptideDoc* document = createDocument();
    document->OnNewDocument();
    openEditor(*document);

    const auto bytes = core::ReadSequenceFile(std::filesystem::path(path->toStdString()));
    if (!bytes) {
        core::ui::ShowMessage(ToQString(core::msg::CannotOpenFile(
                                  QDir::toNativeSeparators(*path).toStdString(), bytes.Error())),
                              ToQString(core::msg::kProgramTitle));
        return;
    }
    if (core::IsUtf16Text(*bytes)) {
        core::ui::ShowMessage(ToQString(core::msg::kUtf16Text), ToQString(core::msg::kError));
        return;
    }
    const std::string text = core::ImportedText(*bytes);
    bool entry = false;
    if (core::IsUniProtText(text)) {
        const core::UniProtReadResult read = core::ReadUniProtEntry(text);
        if (!read.entry) {
            core::ui::ShowMessage(QDir::toNativeSeparators(*path) + QStringLiteral(": ") +
                                      ToQString(read.problem),
                                  ToQString(core::msg::kError));
        } else {
            core::TakeUniProtEntry(*read.entry, document->Record());
            sketchEntryFeatures(*document);
            entry = true;
        }
    } else if (core::ParseSequenceText(document->Record(), text) == 0) {
        core::ui::ShowMessage(ToQString(core::msg::kFileNotFound),
                              ToQString(core::msg::kProgramTitle), core::ui::MessageIcon::None);
    }
    if (entry && FindWindowFactory(WindowKind::Sketch) != nullptr) {
        if (ChildFrame* sketch = OpenWindow(WindowKind::Sketch, *document)) {
            AdoptSketchFrame(*sketch, *document);
        }
    }
    document->UpdateAllViews();
    document->SetOpen(true);
    document->SetModifiedFlag(true);
    // The text file names the document, but Save will not write the binary
    // format over it: it asks for a .pep name instead.
    document->SetPathName(*path, false);
    updateTitle();
}

void CMainFrame::updateTitle()
{
    if (m_closingDown) {
        return;
    }
    const CPeptideDoc* document = m_app.CurrentDocument();
    const QString program = ToQString(core::msg::kProgramTitle);
    setWindowTitle(document ? program + QStringLiteral(" - ") + document->Title() : program);
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    CPeptideDoc* document = m_app.CurrentDocument();
    if (document != nullptr && !document->SaveModified()) {
        event->ignore();
        return;
    }
    if (document != nullptr) {
        closeDocumentWindows(document);
    }
    m_app.WriteRecentFiles();
    if (m_help) {
        m_help->close();
    }
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    const QMimeData* mime = event->mimeData();
    if (mime->hasUrls() && !mime->urls().isEmpty() && mime->urls().constFirst().isLocalFile()) {
        event->acceptProposedAction();
    }
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.constFirst().isLocalFile()) {
        return;
    }
    event->acceptProposedAction();
    const QString path = urls.constFirst().toLocalFile();
    // Opening shows message boxes; let the drag finish first.
    QTimer::singleShot(0, this, [this, path] { OpenDocumentFile(path); });
}

} // namespace quorin::shell::ui
