#include "core/MessageTexts.h"
#include "core/PepFile.h"
#include "core/UniProt.h"
#include "core/ui/Application.h"
#include "core/ui/CPeptideDoc.h"
#include "core/ui/Messages.h"
#include "core/ui/Notifications.h"
#include "core/ui/QtText.h"
#include "plots/FeatureSketch.h"
#include "shell/ui/CDownloadDialog.h"
#include "shell/ui/CMainFrame.h"
#include "shell/ui/ChildFrame.h"
#include "shell/ui/SketchWindow.h"
#include "shell/ui/WindowFactories.h"

namespace quorin::shell::ui {

void CMainFrame::DownloadSequence()
{
    if (m_download) {
        return;
    }
    core::ProfileFile& settings = m_app.SettingsFile();
    if (const auto refused = RefusedDownloadTimeout(settings)) {
        core::ui::ShowMessage(core::ui::ToQString(*refused),
                              core::ui::ToQString(core::msg::kProgramTitle));
    }
    // The server is read for each download, so that a change on the
    // Preferences page holds for the next one.
    CDownloadDialog dialog(QString::fromStdString(DownloadServer(settings)),
                           DownloadTimeout(settings), this);
    dialog.SetUniProtServer(QString::fromStdString(UniProtServer(settings)));
    m_download = &dialog;
    const bool retrieved = dialog.exec() == QDialog::Accepted;
    // The slot is free before the completion is posted, so that the next
    // Download may start as soon as this one is on its way.
    m_download = nullptr;
    // The current sequence goes only for a record in hand: Cancel, or a
    // failure, leaves it as it was, and so does Cancel in its save question,
    // which drops the download instead.
    if (!retrieved || !CloseSequenceDocument() || m_app.CurrentDocument() != nullptr) {
        return;
    }
    m_downloaded = dialog.Entry();
    core::ui::PostNotification(core::ui::MSG_PROGRESS, ProgressPanes::kDownloadFinished);
}

void CMainFrame::takeDownload()
{
    std::optional<GenPeptEntry> entry = std::exchange(m_downloaded, std::nullopt);
    if (!entry || m_app.CurrentDocument() != nullptr) {
        return;
    }
    core::ui::CPeptideDoc* document = createDocument();
    document->OnNewDocument();
    core::PropertyRecord& record = document->Record();
    const core::UniProtReadResult uniProt = entry->uniProtText.empty()
                                                ? core::UniProtReadResult{}
                                                : core::ReadUniProtEntry(entry->uniProtText);
    if (uniProt.entry) {
        // As Open reads an entry: its features become the domain sketch.
        core::TakeUniProtEntry(*uniProt.entry, record);
        plots::SketchFeatures(record);
        document->KeepSketch();
    } else {
        record.SetSequence(entry->residues);
        record.SetName(entry->name);
        // The record's own key, for finding it again.
        record.remarks = "Accession " + entry->accession;
    }
    openEditor(*document);
    if (uniProt.entry && FindWindowFactory(WindowKind::Sketch) != nullptr) {
        if (ChildFrame* sketch = OpenWindow(WindowKind::Sketch, *document)) {
            AdoptSketchFrame(*sketch, *document);
        }
    }
    document->UpdateAllViews();
    document->SetOpen(true);
    // Closing asks to save it: the download exists nowhere else.
    document->SetModifiedFlag(true);
    updateTitle();
}

} // namespace quorin::shell::ui
