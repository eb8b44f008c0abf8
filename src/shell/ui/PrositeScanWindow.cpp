#include "shell/ui/PrositeScanWindow.h"

#include "analysis/Prosite.h"
#include "analysis/ui/CScanView.h"
#include "core/CommandIds.h"
#include "core/FileIo.h"
#include "core/MessageTexts.h"
#include "core/ui/Application.h"
#include "core/ui/CPeptideDoc.h"
#include "core/ui/FileDialogs.h"
#include "core/ui/Messages.h"
#include "core/ui/QtText.h"
#include "plots/SketchPage.h"
#include "plots/ui/PageDocument.h"
#include "shell/CommandTable.h"
#include "shell/ui/CPepEditView.h"
#include "shell/ui/WindowHost.h"

#include <QFileInfo>

#include <algorithm>
#include <iterator>
#include <memory>

namespace quorin::shell::ui {
namespace {

using analysis::ui::PrositeLibrary;
using core::ui::ToQString;

/// The file the dialog proposes: the last one scanned, else the working
/// directory.
core::ui::FileDialogRequest libraryRequest()
{
    core::ui::Application& app = core::ui::Application::Instance();
    core::ui::FileDialogRequest request;
    request.title = QStringLiteral("Scan with PROSITE File");
    request.filters = {QStringLiteral("PROSITE data (*.dat)"), QStringLiteral("All files (*)")};
    const auto last = app.SettingsFile().Lookup(kPrositeSection, kPrositeLibraryKey);
    if (last && !last->empty()) {
        const QFileInfo file(ToQString(*last));
        request.directory = file.absolutePath();
        request.fileName = file.fileName();
    } else {
        request.directory = ToQString(app.Settings().workingDirectory);
    }
    return request;
}

/// Colour-blind-safe fills (Okabe and Ito), one per accession in the order
/// the rows name them.
constexpr core::COLORREF kDomainFills[] = {0x009FE6, 0xE9B456, 0x739E00, 0x42E4F0,
                                           0xB27200, 0x005ED5, 0xA779CC};

/// Appends the rows to the document's domain sketch as domains named by
/// their entry's id, starting a sketch where the document has none; an
/// open sketch window shows them at once.
void addToSketch(core::ui::CPeptideDoc& document,
                 const std::vector<analysis::ui::CScanView::Row>& rows)
{
    if (rows.empty()) {
        return;
    }
    core::PropertyRecord& record = document.Record();
    if (!document.HasSketch() && document.Analyses().sketch.isNull()) {
        plots::StartDomainSketch(record);
    }
    std::vector<QString> accessions;
    for (const analysis::ui::CScanView::Row& row : rows) {
        auto known = std::find(accessions.begin(), accessions.end(), row.accession);
        if (known == accessions.end()) {
            known = accessions.insert(accessions.end(), row.accession);
        }
        const auto fill =
            static_cast<std::size_t>(known - accessions.begin()) % std::size(kDomainFills);
        record.sketch.domains.push_back(
            plots::ShownDomain(row.start, row.end, row.id.toStdString(), kDomainFills[fill]));
    }
    document.KeepSketch();
    document.SetModifiedFlag(true);
    if (auto* sketch = qobject_cast<plots::ui::PageDocument*>(document.Analyses().sketch)) {
        sketch->Changed();
    }
}

} // namespace

void LaunchPrositeScan(LaunchContext& context)
{
    const std::optional<QString> path = core::ui::AskFileName(libraryRequest());
    if (!path) {
        return;
    }
    const core::ReadResult text = core::ReadWholeFile(path->toStdString());
    if (!text) {
        core::ui::ShowMessage(
            QStringLiteral("Cannot read %1: %2").arg(*path, ToQString(text.Error())),
            ToQString(core::msg::kError));
        return;
    }
    auto library = std::make_shared<PrositeLibrary>();
    library->path = *path;
    library->entries = analysis::ReadPrositeEntries(*text);
    if (library->entries.empty()) {
        core::ui::ShowMessage(QStringLiteral("%1 holds no PROSITE pattern.").arg(*path),
                              ToQString(core::msg::kNote));
        return;
    }
    core::ui::Application::Instance().SettingsFile().WriteString(
        kPrositeSection, kPrositeLibraryKey, path->toStdString());
    if (context.host.OpenWindow(WindowKind::PrositeScan, context.document,
                                std::shared_ptr<const PrositeLibrary>(library)) == nullptr) {
        core::ui::ShowMessage(ToQString(core::msg::kCouldNotCreateWindow),
                              ToQString(core::msg::kError));
    }
}

WindowContent MakePrositeScanWindow(core::ui::CPeptideDoc& document, const std::any& request)
{
    auto library = RequestOr<std::shared_ptr<const PrositeLibrary>>(request);
    if (!library) {
        library = std::make_shared<const PrositeLibrary>();
    }
    auto* view = new analysis::ui::CScanView(document, library);
    QObject::connect(view, &analysis::ui::CScanView::stretchChosen, view,
                     [&document](int first, int last) {
                         CPepEditView* editor = CPepEditView::Current();
                         if (editor != nullptr && editor->Document() == &document) {
                             editor->SelectResidues(first, last);
                         }
                     });
    QObject::connect(view, &analysis::ui::CScanView::addToSketch, view,
                     [&document](const std::vector<analysis::ui::CScanView::Row>& rows) {
                         addToSketch(document, rows);
                     });
    return WindowContent{view, view, nullptr, nullptr};
}

void RegisterPrositeScanWindow()
{
    namespace cmd = core::cmd;
    static constexpr HelpPage help[] = {{"PROSITE SCAN", "prosite-scan.html"}};
    static constexpr CommandInfo commands[] = {
        {cmd::kAddToSketch, "Add the selected matches to the domain sketch as domains"},
    };
    static constexpr MenuItem edit[] = {
        kCopyItem, {kSeparator, ""}, {cmd::kAddToSketch, "Add to Domain &Sketch"}};
    // One window per library a user compares; each names its file.
    WindowKindInfo info{WindowKind::PrositeScan, "PROSITE Scan", DocumentFamily::Sequence, help, 4};
    info.analyze = {
        {cmd::kPrositeScan, "Scan the sequence with every pattern of a PROSITE data file"},
        "Scan with P&ROSITE File...",
        {},
        [](const AnalyzeState&, WindowKind) { return true; }};
    info.commands = commands;
    info.editMenu = edit;
    RegisterWindowKind(info, LaunchPrositeScan, MakePrositeScanWindow);
}

} // namespace quorin::shell::ui
