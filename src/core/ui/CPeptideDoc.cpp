#include "core/ui/CPeptideDoc.h"

#include "core/CommandIds.h"
#include "core/FileIo.h"
#include "core/MessageTexts.h"
#include "core/PepFile.h"
#include "core/Settings.h"
#include "core/ui/Application.h"
#include "core/ui/FileDialogs.h"
#include "core/ui/Messages.h"
#include "core/ui/QtText.h"

#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include <filesystem>

namespace quorin::core::ui {
namespace {

/// The wait cursor while a file is written.
class WaitCursor
{
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

int g_untitledCount = 0;

std::filesystem::path toPath(const QString& path)
{
    return std::filesystem::path(path.toStdString());
}

} // namespace

CPeptideDoc::CPeptideDoc(QObject* parent) : QObject(parent)
{
    Application& app = Application::Instance();
    app.SetCurrentDocument(this);
    SetActiveRecord(&m_record);
    app.ReportRefusedSettings(ReadRecordSettings(app.SettingsFile(), m_record));
}

CPeptideDoc::~CPeptideDoc()
{
    if (ActiveRecord() == &m_record) {
        SetActiveRecord(nullptr);
    }
}

void CPeptideDoc::emptySequenceData()
{
    m_record.SetName("");
    m_record.SetSequence("");
    m_record.remarks.clear();
    m_record.sketch = SketchData{};
    m_record.features.clear();
    m_hasSketch = false;
    m_record.plots.pathy.marks.clear();
    m_record.plots.pathy.texts.clear();
    m_analyses.digestComputed = false;
}

void CPeptideDoc::OnNewDocument()
{
    emptySequenceData();
    m_title = ToQString(msg::kProgramTitle) + QString::number(++g_untitledCount);
    m_pathName.clear();
    m_savesInPlace = false;
    SetOpen(true);
    emit titleChanged(m_title);
    AnalysesChanged();
    UpdateAllViews();
}

CPeptideDoc::LoadOutcome CPeptideDoc::OnOpenDocument(const QString& path, bool* hasSketch)
{
    emptySequenceData();
    m_openError.clear();
    m_fromUniProtEntry = false;
    const ReadResult bytes = ReadSequenceFile(toPath(path));
    if (!bytes) {
        m_openError = ToQString(bytes.Error());
        return LoadOutcome::CannotOpen;
    }
    const PepLoadResult result = LoadSequenceBytes(*bytes, m_record);
    switch (result.status) {
    case PepLoadStatus::NotQuorinFormat:
        return LoadOutcome::NotQuorinFormat;
    case PepLoadStatus::Truncated:
        return LoadOutcome::Truncated;
    case PepLoadStatus::Utf16Text:
        return LoadOutcome::Utf16Text;
    case PepLoadStatus::MalformedEntry:
        m_openError = ToQString(result.problem);
        return LoadOutcome::MalformedEntry;
    case PepLoadStatus::Ok:
        break;
    }
    if (hasSketch != nullptr) {
        *hasSketch = result.hasSketch;
    }
    // A file saved again keeps its domains, with or without a sketch window.
    m_hasSketch = result.hasSketch;
    // A FASTA text or an entry is read, never written back: Save asks for a
    // .pep name.
    m_fromUniProtEntry = result.uniProtEntry;
    m_savesInPlace = (bytes->empty() || bytes->front() != '>') && !result.uniProtEntry;
    AnalysesChanged();
    UpdateAllViews();
    return LoadOutcome::Loaded;
}

bool CPeptideDoc::SaveModified()
{
    if (!m_modified) {
        return true;
    }
    const MessageAnswer answer = ShowMessage(
        ToQString(msg::SaveChangesQuestion(ToStdString(m_title))), ToQString(msg::kProgramTitle),
        MessageIcon::Exclamation, MessageButtons::YesNoCancel);
    if (answer == MessageAnswer::Cancel) {
        return false;
    }
    // A save that was cancelled or failed keeps the document open: closing it
    // now would throw the changes away.
    if (answer == MessageAnswer::Yes && !DoFileSave()) {
        return false;
    }
    SetModifiedFlag(false);
    return true;
}

bool CPeptideDoc::DoFileSave()
{
    if (m_pathName.isEmpty() || !m_savesInPlace) {
        return DoSaveAs();
    }
    return SaveTo(m_pathName);
}

QString CPeptideDoc::proposedSaveName() const
{
    const QFileInfo current(m_pathName);
    const QString directory =
        m_pathName.isEmpty() ? Application::Instance().WorkingDirectory() : current.absolutePath();
    const QString base = m_pathName.isEmpty() ? m_title : current.completeBaseName();
    return QDir(directory).filePath(base + ToQString(".pep"));
}

bool CPeptideDoc::DoSaveAs()
{
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Save;
    request.title = tr("Save As");
    request.filters = {QStringLiteral("PEP Type (*.pep)")};
    const QString proposed = proposedSaveName();
    request.directory = QFileInfo(proposed).absolutePath();
    request.fileName = proposed;
    request.defaultSuffix = QStringLiteral("pep");
    const auto path = AskFileName(request);
    if (!path) {
        return false;
    }
    return SaveTo(*path);
}

bool CPeptideDoc::SaveTo(const QString& path)
{
    FileStatus written;
    {
        WaitCursor wait;
        written =
            SaveSequenceFile(toPath(path), m_record, m_hasSketch || !m_analyses.sketch.isNull());
    }
    if (!written) {
        ShowMessage(ToQString(msg::CannotSaveFile(ToStdString(QDir::toNativeSeparators(path)),
                                                  written.Error())),
                    ToQString(msg::kProgramTitle), MessageIcon::Exclamation);
        return false;
    }
    SetModifiedFlag(false);
    if (path != m_pathName || !m_savesInPlace) {
        SetPathName(path, true);
    }
    UpdateAllViews();
    return true;
}

bool CPeptideDoc::ExportFasta()
{
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Save;
    request.title = QStringLiteral("Export sequence");
    request.filters = {QStringLiteral("FASTA (*)")};
    request.directory = Application::Instance().WorkingDirectory();
    request.fileName = QStringLiteral("*.txt");
    request.confirmOverwrite = false;
    const auto path = AskFileName(request);
    if (!path) {
        return false;
    }
    FileStatus written;
    {
        WaitCursor wait;
        written = WriteFileAtomically(toPath(*path), FastaExportBytes(m_record));
    }
    if (!written) {
        ShowMessage(ToQString(msg::CannotSaveFile(ToStdString(QDir::toNativeSeparators(*path)),
                                                  written.Error())),
                    ToQString(msg::kProgramTitle), MessageIcon::Exclamation);
        return false;
    }
    UpdateAllViews();
    return true;
}

void CPeptideDoc::SetOpen(bool open)
{
    if (m_open != open) {
        m_open = open;
        emit stateChanged();
    }
}

void CPeptideDoc::SetModifiedFlag(bool modified)
{
    if (m_modified != modified) {
        m_modified = modified;
        emit modifiedChanged(modified);
    }
}

void CPeptideDoc::SetPathName(const QString& path, bool savesInPlace)
{
    m_pathName = QFileInfo(path).absoluteFilePath();
    m_savesInPlace = savesInPlace;
    m_title = QFileInfo(path).fileName();
    Application::Instance().AddToRecentFiles(m_pathName);
    emit titleChanged(m_title);
}

void CPeptideDoc::UpdateAllViews()
{
    emit viewsNeedUpdate();
}

void CPeptideDoc::AnalysesChanged()
{
    emit stateChanged();
}

std::optional<CommandState> CPeptideDoc::CommandStateOf(int id)
{
    switch (id) {
    case cmd::kSave:
    case cmd::kSaveAs:
        return CommandState{m_open};
    case cmd::kExport:
        return CommandState{};
    default:
        return std::nullopt;
    }
}

bool CPeptideDoc::OnCommand(int id)
{
    switch (id) {
    case cmd::kSave:
        DoFileSave();
        return true;
    case cmd::kSaveAs:
        DoSaveAs();
        return true;
    case cmd::kExport:
        ExportFasta();
        return true;
    default:
        return false;
    }
}

} // namespace quorin::core::ui
