#include "shell/ui/TitrationWindow.h"

#include "analysis/Titration.h"
#include "core/CommandIds.h"
#include "core/MessageTexts.h"
#include "core/ui/Application.h"
#include "core/ui/CPeptideDoc.h"
#include "core/ui/Messages.h"
#include "core/ui/QtText.h"
#include "plots/ui/CTitrationDialog.h"
#include "plots/ui/CTitrationView.h"
#include "plots/ui/PlotDialogs.h"
#include "shell/CommandTable.h"
#include "shell/EnablingRules.h"
#include "shell/ui/ChildFrame.h"
#include "shell/ui/WindowHost.h"

namespace quorin::shell::ui {
namespace {

using analysis::PKaSet;

/// The frame of the sequence's curves under sets, if one is open.
ChildFrame* openCurve(WindowHost& host, const core::ui::CPeptideDoc& document,
                      const std::vector<PKaSet>& sets)
{
    for (ChildFrame* frame : host.Frames()) {
        if (frame->Kind() != WindowKind::Titration || frame->SequenceDocument() != &document) {
            continue;
        }
        const auto* plot = qobject_cast<const plots::ui::CTitrationDoc*>(frame->PlotDocument());
        if (plot != nullptr && plot->Sets() == sets) {
            return frame;
        }
    }
    return nullptr;
}

} // namespace

void LaunchTitration(LaunchContext& context)
{
    plots::ui::CTitrationDialog dialog(PKaSet::Settings, &context.host.Window());
    if (plots::ui::Choosers().run(dialog) != QDialog::Accepted) {
        return;
    }
    const std::vector<PKaSet> sets = dialog.Sets();
    if (ChildFrame* open = openCurve(context.host, context.document, sets)) {
        context.host.Activate(*open);
        return;
    }
    if (context.host.OpenWindow(WindowKind::Titration, context.document, sets) == nullptr) {
        core::ui::ShowMessage(core::ui::ToQString(core::msg::kCouldNotCreateWindow),
                              core::ui::ToQString(core::msg::kError));
    }
}

WindowContent MakeTitrationWindow(core::ui::CPeptideDoc& document, const std::any& request)
{
    core::ui::Application& app = core::ui::Application::Instance();
    // The request is the sets the dialog chose, or one set.
    const auto sets = RequestOr<std::vector<PKaSet>>(request);
    auto* plot = new plots::ui::CTitrationDoc(
        document.Record(), sets.empty() ? RequestOr(request, PKaSet::Settings) : sets.front(),
        app.Settings().plotLineWidth);
    plot->SetSets(sets);
    QObject::connect(&app, &core::ui::Application::settingsChanged, plot,
                     [plot, &app] { plot->SetLineWidth(app.Settings().plotLineWidth); });
    auto* view = new plots::ui::CTitrationView(*plot);
    QObject::connect(&document, &core::ui::CPeptideDoc::viewsNeedUpdate, plot,
                     &plots::ui::PageDocument::Changed);
    return WindowContent{view, view, plot, nullptr};
}

void RegisterTitrationWindow()
{
    namespace cmd = core::cmd;
    static constexpr HelpPage help[] = {{"TITRATION CURVE", "titration.html"}};
    static constexpr CommandInfo commands[] = {
        {cmd::kCopyTable, "Copy the table of net charges as text"},
        {cmd::kTitrationSet, "Draw the curve with another set of pK values"},
    };
    static constexpr MenuItem edit[] = {kCopyItem, {cmd::kCopyTable, "Copy &Table"}};
    static constexpr MenuItem view[] = {{cmd::kTitrationSet, "&Modify pK set..."}};
    // One curve per set: the settings' table and the named sets.
    constexpr int kCurvesPerSequence = static_cast<int>(analysis::kPKaSets.size());
    WindowKindInfo info{WindowKind::Titration, "Titration Curve", DocumentFamily::Plot, help,
                        kCurvesPerSequence};
    // Its launcher shows the curve of a set that is open already.
    info.analyze = {{cmd::kTitration, "Display the net charge from pH 0 to 14"},
                    "&Titration Curve...",
                    {},
                    [](const AnalyzeState&, WindowKind) { return true; }};
    info.commands = commands;
    info.editMenu = edit;
    info.viewMenu = view;
    RegisterWindowKind(info, LaunchTitration, MakeTitrationWindow);
}

} // namespace quorin::shell::ui
