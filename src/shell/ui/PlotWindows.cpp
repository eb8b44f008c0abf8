#include "shell/ui/PlotWindows.h"

#include "core/CommandIds.h"
#include "core/MessageTexts.h"
#include "core/ui/Application.h"
#include "core/ui/CPeptideDoc.h"
#include "core/ui/Messages.h"
#include "core/ui/QtText.h"
#include "plots/Hydropathy.h"
#include "plots/ui/CAmphyDialog.h"
#include "plots/ui/CAmphyView.h"
#include "plots/ui/CPathyDialog.h"
#include "plots/ui/CPathyView.h"
#include "plots/ui/PlotDialogs.h"
#include "shell/CommandTable.h"
#include "shell/EnablingRules.h"
#include "shell/ui/ChildFrame.h"
#include "shell/ui/WindowHost.h"

#include <QPointer>

namespace quorin::shell::ui {
namespace {

using core::ui::ToQString;

/// The threshold a new hydropathy plot proposes.
constexpr double kDefaultThreshold = 1.6;

/// Whether the sequence may start a plot: not without a hydropathy scale
/// (said so), and not while its plot of that kind is open.
bool mayStartPlot(core::ui::CPeptideDoc& document, const QPointer<QObject>& open)
{
    if (document.Record().scales.empty()) {
        core::ui::ShowMessage(ToQString(core::msg::kNoHydropathyScale), ToQString(core::msg::kNote),
                              core::ui::MessageIcon::Information);
        return false;
    }
    return open.isNull();
}

/// Opens the plot window of a kind for the dialog's request, at the size of
/// its whole page, and registers its document with the sequence in slot.
void openPlotWindow(LaunchContext& context, WindowKind kind,
                    const plots::PendingPlotRequest& request, QPointer<QObject>& slot)
{
    core::ui::CPeptideDoc& document = context.document;
    ChildFrame* frame = context.host.OpenWindow(kind, document, request);
    if (frame == nullptr) {
        core::ui::ShowMessage(ToQString(core::msg::kCouldNotCreateWindow),
                              ToQString(core::msg::kError));
        return;
    }
    RegisterPlot(*frame, document, slot);
}

/// What a plot's wheel mode needs: the count of the sequence's open wheels
/// and the opening of one, both through the main window that holds view.
plots::ui::PageView::WheelHooks wheelHooks(core::ui::CPeptideDoc& document,
                                           plots::ui::PageView* view)
{
    const QPointer<core::ui::CPeptideDoc> sequence(&document);
    return {
        [sequence, view] {
            auto* host = dynamic_cast<WindowHost*>(view->window());
            return sequence && host != nullptr ? host->WindowCount(WindowKind::Wheel, sequence) : 0;
        },
        [sequence, view](int from, int to) {
            auto* host = dynamic_cast<WindowHost*>(view->window());
            if (sequence && host != nullptr) {
                host->OpenWindow(WindowKind::Wheel, *sequence, plots::PendingPlotRequest{from, to});
            }
        }};
}

} // namespace

void RegisterPlot(ChildFrame& frame, core::ui::CPeptideDoc& document, QPointer<QObject>& slot)
{
    QObject* plot = frame.PlotDocument();
    slot = plot;
    QObject::connect(plot, &QObject::destroyed, &document, [sequence = QPointer(&document)] {
        if (sequence) {
            sequence->AnalysesChanged();
        }
    });
    document.AnalysesChanged();
}

void LaunchHydropathy(LaunchContext& context)
{
    core::ui::CPeptideDoc& document = context.document;
    if (!mayStartPlot(document, document.Analyses().hydropathy)) {
        return;
    }
    plots::ui::CPathyDialog dialog(document.Record(),
                                   plots::PendingPlotRequest{0, 0, 0, kDefaultThreshold},
                                   &context.host.Window());
    if (plots::ui::Choosers().run(dialog) != QDialog::Accepted) {
        return;
    }
    openPlotWindow(context, WindowKind::Hydropathy, dialog.Request(),
                   document.Analyses().hydropathy);
}

WindowContent MakeHydropathyWindow(core::ui::CPeptideDoc& document, const std::any& request)
{
    core::ui::Application& app = core::ui::Application::Instance();
    auto* plot =
        new plots::ui::CPathyDoc(document.Record(), RequestOr<plots::PendingPlotRequest>(request),
                                 app.Settings().plotLineWidth);
    QObject::connect(&app, &core::ui::Application::settingsChanged, plot,
                     [plot, &app] { plot->SetLineWidth(app.Settings().plotLineWidth); });
    auto* view = new plots::ui::CPathyView(*plot);
    QObject::connect(&document, &core::ui::CPeptideDoc::viewsNeedUpdate, plot,
                     &plots::ui::PageDocument::Changed);
    view->SetWheelHooks(wheelHooks(document, view));
    return WindowContent{view, view, plot, nullptr};
}

void LaunchAmphipathy(LaunchContext& context)
{
    core::ui::CPeptideDoc& document = context.document;
    if (!mayStartPlot(document, document.Analyses().amphipathy)) {
        return;
    }
    plots::ui::CAmphyDialog dialog(document.Record(), {}, &context.host.Window());
    if (plots::ui::Choosers().run(dialog) != QDialog::Accepted) {
        return;
    }
    openPlotWindow(context, WindowKind::Amphipathy, dialog.Request(),
                   document.Analyses().amphipathy);
}

WindowContent MakeAmphipathyWindow(core::ui::CPeptideDoc& document, const std::any& request)
{
    core::ui::Application& app = core::ui::Application::Instance();
    auto* plot =
        new plots::ui::CAmphyDoc(document.Record(), RequestOr<plots::PendingPlotRequest>(request),
                                 app.Settings().plotLineWidth);
    QObject::connect(&app, &core::ui::Application::settingsChanged, plot,
                     [plot, &app] { plot->SetLineWidth(app.Settings().plotLineWidth); });
    auto* view = new plots::ui::CAmphyView(*plot);
    QObject::connect(&document, &core::ui::CPeptideDoc::viewsNeedUpdate, plot,
                     &plots::ui::PageDocument::Changed);
    view->SetWheelHooks(wheelHooks(document, view));
    return WindowContent{view, view, plot, nullptr};
}

void RegisterHydropathyWindow()
{
    namespace cmd = core::cmd;
    static constexpr HelpPage help[] = {{"HYDROPATHY PLOT", "hydropathy.html"}};
    static constexpr CommandInfo commands[] = {
        {cmd::kExportHydropathy, "Export the values of the hydropathy curve"},
        {cmd::kHydropathyRange,
         "Change the extend of the displayed part of the sequence and the window size"},
        {cmd::kTransmembrane, "Show the predicted transmembrane helices"},
    };
    static constexpr MenuItem file[] = {{cmd::kExportHydropathy, "&Export hydropathy data..."}};
    static constexpr MenuItem edit[] = {kCopyItem};
    static constexpr MenuItem view[] = {
        {cmd::kHydropathyRange, "&Modify displayed part of sequence..."},
        {kSeparator, ""},
        {cmd::kMarkPositions, "&Mark positions..."},
        {cmd::kDeleteAllMarks, "&Delete all marks"},
        {cmd::kNumbersOrLabels, "&Label marks"},
        {kSeparator, ""},
        {cmd::kTransmembrane, "&Transmembrane prediction"},
        {kSeparator, ""},
        {cmd::kSelectObject, "&Select object"},
        {cmd::kInsertText, "&Insert text..."},
        {cmd::kSelectionAsWheel, "Display selection as helical &wheel"},
    };
    WindowKindInfo info{WindowKind::Hydropathy, "Hydropathy Plot", DocumentFamily::Plot, help};
    // The amphipathy window leaves it to the launcher.
    info.analyze = {{cmd::kHydropathy, "Display hydropathy plot", "Hydropathy plot"},
                    "H&ydropathy Plot...",
                    {},
                    [](const AnalyzeState& state, WindowKind active) {
                        return active == WindowKind::Amphipathy || !state.hydropathyOpen;
                    }};
    info.commands = commands;
    info.fileItems = file;
    info.editMenu = edit;
    info.viewMenu = view;
    RegisterWindowKind(info, LaunchHydropathy, MakeHydropathyWindow);
}

void RegisterAmphipathyWindow()
{
    namespace cmd = core::cmd;
    static constexpr HelpPage help[] = {
        {"AMPHYPATHIC HELICAL MOMENT PROPERTIES", "amphipathy.html"}};
    static constexpr CommandInfo commands[] = {
        {cmd::kAmphipathyRange,
         "Change the extend of the displayed part of the sequence and the window size"},
    };
    static constexpr MenuItem edit[] = {kCopyItem};
    static constexpr MenuItem view[] = {
        {cmd::kAmphipathyRange, "&Modify displayed part of sequence..."},
        {kSeparator, ""},
        {cmd::kSelectObject, "&Select object"},
        {cmd::kSelectionAsWheel, "Display selection as helical &wheel"},
    };
    WindowKindInfo info{WindowKind::Amphipathy, "Plot of Amphipathy Moment", DocumentFamily::Plot,
                        help};
    // The plot windows leave it to the launcher.
    info.analyze = {{cmd::kAmphipathy, "Display plot of amphipathy moment"},
                    "Plot of &Amphipathy Moment...",
                    {},
                    [](const AnalyzeState& state, WindowKind active) {
                        return InPlot(active) || !state.amphipathyOpen;
                    }};
    info.commands = commands;
    info.editMenu = edit;
    info.viewMenu = view;
    RegisterWindowKind(info, LaunchAmphipathy, MakeAmphipathyWindow);
}

} // namespace quorin::shell::ui
