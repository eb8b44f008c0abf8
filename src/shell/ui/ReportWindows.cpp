#include "shell/ui/ReportWindows.h"

#include "analysis/Digest.h"
#include "analysis/ModFinder.h"
#include "analysis/ui/CDigView.h"
#include "analysis/ui/CDigestDialog.h"
#include "analysis/ui/CModFinderDialog.h"
#include "analysis/ui/CModView.h"
#include "analysis/ui/CMotView.h"
#include "analysis/ui/CMotifDialog.h"
#include "analysis/ui/CPhysChemView.h"
#include "analysis/ui/DigestJobs.h"
#include "core/CommandIds.h"
#include "core/MessageTexts.h"
#include "core/ui/Application.h"
#include "core/ui/CPeptideDoc.h"
#include "core/ui/Messages.h"
#include "core/ui/QtText.h"
#include "shell/CommandTable.h"
#include "shell/EnablingRules.h"
#include "shell/ui/ChildFrame.h"
#include "shell/ui/WindowFactories.h"
#include "shell/ui/WindowHost.h"

#include <QSize>
#include <QStyle>

#include <cstdint>
#include <memory>

namespace quorin::shell::ui {
namespace {

namespace cmd = core::cmd;

/// Grows a report's frame to show its view's whole content (the view's size
/// hint) where the workspace has room below and right of it; it never gets
/// smaller than the analysis windows' own size.
void fitReport(ChildFrame& frame, const WindowHost& host)
{
    if (frame.isMaximized() || frame.widget() == nullptr) {
        return;
    }
    const QSize chrome = frame.size() - frame.widget()->size();
    const QSize room = host.WorkspaceSize() - QSize(frame.x(), frame.y());
    QSize wanted = frame.widget()->sizeHint() + chrome;
    // A report cut in one direction gets a scroll bar that takes room from
    // the other.
    const int bar = frame.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    if (wanted.height() > room.height()) {
        wanted.rwidth() += bar;
    }
    if (wanted.width() > room.width()) {
        wanted.rheight() += bar;
    }
    frame.resize(wanted.boundedTo(room).expandedTo(frame.size()));
}

/// Opens a result window of the document at the next cascade position, as
/// large as its report where there is room (restored when asked to be), or
/// says that it could not.
ChildFrame* openAnalysisWindow(LaunchContext& context, WindowKind kind, bool restored = false)
{
    ChildFrame* frame = context.host.OpenWindow(kind, context.document);
    if (frame == nullptr) {
        core::ui::ShowMessage(core::ui::ToQString(core::msg::kCouldNotCreateWindow),
                              core::ui::ToQString(core::msg::kError));
        return nullptr;
    }
    if (restored) {
        frame->showNormal();
    }
    fitReport(*frame, context.host);
    return frame;
}

} // namespace

void LaunchPhysChem(LaunchContext& context)
{
    openAnalysisWindow(context, WindowKind::PhysChem);
}

void LaunchCleavage(LaunchContext& context)
{
    using core::ui::ToQString;
    core::PropertyRecord& record = context.document.Record();
    if (!analysis::CleavingAgentsDefined(record.agents)) {
        core::ui::ShowMessage(ToQString(core::msg::kNoCleavingAgents), ToQString(core::msg::kNote));
        return;
    }
    analysis::ui::CDigestDialog dialog(record.agents, &context.host.Window());
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    // Known from the sites alone: a digest beyond the ceiling is refused
    // before any fragment is made, and the sequence keeps what it had.
    const std::uint64_t fragments = analysis::PredictFragmentCount(record, dialog.Specificity());
    const std::uint64_t ceiling = analysis::FragmentCeiling();
    if (fragments > ceiling) {
        core::ui::ShowMessage(ToQString(core::msg::TooManyFragments(fragments, ceiling)),
                              ToQString(core::msg::kError));
        return;
    }
    record.digest.selectedAgents = dialog.SelectedAgents();
    record.digest.lineWidth = core::ui::Application::Instance().Settings().charsPerLine;
    // The document's own record, even while a batch run has made its record
    // the active one: the window shows this document's digest.
    analysis::ui::DigestJobs::Of(context.document).StartDigest(dialog.Specificity());
    context.document.Analyses().digestComputed = true;
    context.document.AnalysesChanged();
    ChildFrame* frame = openAnalysisWindow(context, WindowKind::Digest, true);
    auto* view =
        frame != nullptr ? qobject_cast<analysis::ui::CDigView*>(frame->widget()) : nullptr;
    if (view == nullptr || !view->Busy()) {
        return;
    }
    // The report's size is known once it is made: the window grows to it
    // then, unless the user has sized it meanwhile.
    const QSize opened = frame->size();
    auto once = std::make_shared<QMetaObject::Connection>();
    *once = QObject::connect(view, &analysis::ui::CDigView::idle, frame,
                             [once, frame, opened, &host = context.host] {
                                 QObject::disconnect(*once);
                                 if (frame->size() == opened) {
                                     fitReport(*frame, host);
                                 }
                             });
}

void LaunchMotifs(LaunchContext& context)
{
    // The document's own record, as the digest takes it: the window shows
    // this document's search even while a batch run holds the active record.
    analysis::ui::CMotifDialog dialog(context.document.Record(), &context.host.Window());
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    openAnalysisWindow(context, WindowKind::Motif);
}

void LaunchModFinder(LaunchContext& context)
{
    using core::ui::ToQString;
    // While a digest or a re-sort runs, its job holds the fragments.
    if (!context.document.Analyses().digestComputed ||
        analysis::ui::DigestJobs::BusyFor(context.document)) {
        return;
    }
    core::PropertyRecord& record = context.document.Record();
    if (!analysis::ModificationsDefined(record.modifications)) {
        core::ui::ShowMessage(ToQString(core::msg::kNoModifications), ToQString(core::msg::kNote));
        return;
    }
    analysis::ui::CModFinderDialog dialog(record, &context.host.Window());
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    openAnalysisWindow(context, WindowKind::ModFinder);
}

void RegisterPhysChemWindow()
{
    static constexpr HelpPage help[] = {{"PHYSICO-CHEMICAL PROPERTIES WINDOW", "physchem.html"}};
    static constexpr MenuItem edit[] = {kCopyItem};
    WindowKindInfo info{WindowKind::PhysChem, "Physico-chemical Properties",
                        DocumentFamily::Sequence, help};
    info.analyze = {
        {cmd::kPhysChem, "Display basic physico-chemical traits", "Physico-chemical properties"},
        "&Physico-Chemical Properties...",
        "&Physico-Chemical Properties",
        [](const AnalyzeState& state, WindowKind) {
            return state.OpenOf(WindowKind::PhysChem) == 0;
        }};
    info.editMenu = edit;
    RegisterWindowKind(info, LaunchPhysChem, ViewOn<analysis::ui::CPhysChemView>);
}

void RegisterDigestWindow()
{
    static constexpr HelpPage help[] = {{"SEQUENCE-SPECIFIC CLEAVAGE WINDOW", "digest.html"},
                                        {"SELECT CLEAVAGE ^ BOX", "cleavage-dialog.html"}};
    static constexpr CommandInfo commands[] = {
        {cmd::kSortByStart, "Sort the fragments by their start position"},
        {cmd::kSortByLength, "Sort the fragments by their length"},
        {cmd::kSortByWeight, "Sort the fragments by their weight"},
        {cmd::kDigestOptions,
         "Choose the fragments the digest keeps, their masses and m/z columns"},
        {cmd::kExportDigestCsv, "Save the fragments as comma-separated values"},
    };
    static constexpr MenuItem file[] = {{cmd::kExportDigestCsv, "Export as CS&V..."}};
    static constexpr MenuItem edit[] = {kCopyItem,
                                        {kSeparator, ""},
                                        {cmd::kSelectAll, "Select &All\tCtrl+A"},
                                        {cmd::kCopyAll, "C&opy All"}};
    static constexpr MenuItem view[] = {
        {cmd::kSortByStart, "Sort fragments by &start"},
        {cmd::kSortByLength, "Sort fragments by &length"},
        {cmd::kSortByWeight, "Sort fragments by &weight"},
        {kSeparator, ""},
        {cmd::kCompleteDigest, "&Complete digest"},
        {kSeparator, ""},
        {cmd::kDigestOptions, "Digest &Options..."},
    };
    WindowKindInfo info{WindowKind::Digest, "Sequence specific cleavage", DocumentFamily::Sequence,
                        help};
    // A digest once computed keeps the command disabled in the plots.
    info.analyze = {
        {cmd::kCleavage, "Generate pattern of site-specific cleavage", "Proteolytic digest"},
        "&Sequence-Specific Cleavage...",
        {},
        [](const AnalyzeState& state, WindowKind active) {
            return InPlot(active) ? !state.digestComputed : !state.digestViewExists;
        }};
    info.commands = commands;
    info.fileItems = file;
    info.editMenu = edit;
    info.viewMenu = view;
    RegisterWindowKind(info, LaunchCleavage, ViewOn<analysis::ui::CDigView>);
}

void RegisterModFinderWindow()
{
    static constexpr HelpPage help[] = {
        {"POSTTRANSLATIONAL MODIFICATIONS WINDOW", "modfinder.html"},
        {"MODFINDER DIALOG", "modfinder-dialog.html"}};
    static constexpr MenuItem edit[] = {kCopyItem};
    static constexpr MenuItem view[] = {{cmd::kCompleteDigest, "&Complete digest"}};
    // It shows the digest's fragments: no new digest from here.
    static constexpr int leftOut[] = {cmd::kCleavage};
    WindowKindInfo info{WindowKind::ModFinder, "ModFinder", DocumentFamily::Sequence, help};
    info.analyzeLeftOut = leftOut;
    info.analyze = {{cmd::kModFinder, "Identify post-translational modifications"},
                    "&Modfinder...",
                    {},
                    [](const AnalyzeState& state, WindowKind) {
                        return state.digestComputed && !state.digestBusy &&
                               state.OpenOf(WindowKind::ModFinder) == 0;
                    }};
    info.editMenu = edit;
    info.viewMenu = view;
    RegisterWindowKind(info, LaunchModFinder, ViewOn<analysis::ui::CModView>);
}

void RegisterMotifWindow()
{
    static constexpr HelpPage help[] = {{"Sequence Motif Search Window", "motifs.html"},
                                        {"SEQUENCE MOTIF SEARCH", "motif-dialog.html"}};
    static constexpr CommandInfo commands[] = {
        {cmd::kSortByPosition, "Sort the list by sequence position"},
        {cmd::kSortByMotif, "Sort the list by motif"},
    };
    static constexpr MenuItem edit[] = {kCopyItem};
    static constexpr MenuItem view[] = {{cmd::kSortByPosition, "Sort List by Sequence &Position"},
                                        {cmd::kSortByMotif, "Sort List by &Motif"}};
    WindowKindInfo info{WindowKind::Motif, "Motif Search", DocumentFamily::Sequence, help};
    info.analyze = {
        {cmd::kMotifs, "Search for sequence motifs", "Find motifs"},
        "Search for Sequence &Motifs...",
        {},
        [](const AnalyzeState& state, WindowKind) { return state.OpenOf(WindowKind::Motif) == 0; }};
    info.commands = commands;
    info.editMenu = edit;
    info.viewMenu = view;
    RegisterWindowKind(info, LaunchMotifs, ViewOn<analysis::ui::CMotView>);
}

} // namespace quorin::shell::ui
