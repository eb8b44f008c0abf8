#include "shell/ui/SketchWindow.h"

#include "core/CommandIds.h"
#include "core/MessageTexts.h"
#include "core/ui/Application.h"
#include "core/ui/CPeptideDoc.h"
#include "core/ui/Messages.h"
#include "core/ui/QtText.h"
#include "plots/Hydropathy.h"
#include "plots/SketchPage.h"
#include "plots/ui/CSchemeView.h"
#include "plots/ui/CSketchDialog.h"
#include "plots/ui/PlotDialogs.h"
#include "shell/CommandTable.h"
#include "shell/EnablingRules.h"
#include "shell/ui/ChildFrame.h"
#include "shell/ui/PlotWindows.h"
#include "shell/ui/WindowHost.h"

#include <QPointer>

#include <memory>

namespace quorin::shell::ui {

using core::ui::ToQString;

namespace {

bool openSketchWindow(LaunchContext& context)
{
    ChildFrame* frame = context.host.OpenWindow(WindowKind::Sketch, context.document);
    if (frame == nullptr) {
        core::ui::ShowMessage(ToQString(core::msg::kCouldNotCreateWindow),
                              ToQString(core::msg::kError));
        return false;
    }
    AdoptSketchFrame(*frame, context.document);
    return true;
}

} // namespace

void LaunchDomainSketch(LaunchContext& context)
{
    core::ui::CPeptideDoc& document = context.document;
    if (!document.Analyses().sketch.isNull()) {
        return;
    }
    core::PropertyRecord& record = document.Record();
    if (document.HasSketch()) {
        // The sketch outlived its window: show it again as it was left.
        openSketchWindow(context);
        return;
    }
    plots::StartDomainSketch(record);
    plots::ui::CSketchDialog dialog(record.sketch.domains, record.sketch.scale,
                                    plots::PositionCount(record), &context.host.Window(),
                                    record.CleanSequence());
    if (plots::ui::Choosers().run(dialog) != QDialog::Accepted) {
        return;
    }
    record.sketch.scale = dialog.Scale();
    if (openSketchWindow(context)) {
        // The new sketch is part of the document now: closing asks to save it.
        document.SetModifiedFlag(true);
    }
}

WindowContent MakeSketchWindow(core::ui::CPeptideDoc& document, const std::any&)
{
    core::ui::Application& app = core::ui::Application::Instance();
    auto* plot = new plots::ui::CSchemeDoc(document.Record(), app.Settings().plotLineWidth);
    QObject::connect(&app, &core::ui::Application::settingsChanged, plot,
                     [plot, &app] { plot->SetLineWidth(app.Settings().plotLineWidth); });
    auto* view = new plots::ui::CSchemeView(*plot);
    QObject::connect(&document, &core::ui::CPeptideDoc::viewsNeedUpdate, plot,
                     &plots::ui::PageDocument::Changed);
    // The sketch is saved with the sequence, so changing it changes the
    // document; a click that only selects does not.
    auto shown = std::make_shared<core::SketchData>(document.Record().sketch);
    QObject::connect(plot, &plots::ui::PageDocument::changed, &document,
                     [shown, sequence = &document] {
                         const core::SketchData& now = sequence->Record().sketch;
                         if (!plots::SameSketchContent(*shown, now)) {
                             *shown = now;
                             sequence->SetModifiedFlag(true);
                         }
                     });
    return WindowContent{view, view, plot, nullptr};
}

void AdoptSketchFrame(ChildFrame& frame, core::ui::CPeptideDoc& document)
{
    document.KeepSketch();
    RegisterPlot(frame, document, document.Analyses().sketch);
}

void RegisterSketchWindow()
{
    namespace cmd = core::cmd;
    static constexpr HelpPage help[] = {{"DOMAIN STRUCTURE SKETCH", "sketch.html"}};
    static constexpr CommandInfo commands[] = {
        {cmd::kModifySketch, "Change the scale and the domains of the sketch"},
        {cmd::kAddDomain, "Add a domain to the sketch"},
        {cmd::kDomainProperties, "Change the selected domain"},
    };
    static constexpr MenuItem edit[] = {{cmd::kCopy, "&Copy All\tCtrl+C"}};
    static constexpr MenuItem view[] = {
        {cmd::kModifySketch, "&Modify domain structure..."},
        {cmd::kAddDomain, "&Add Domain..."},
        {cmd::kDomainProperties, "Domain &Properties..."},
        {cmd::kDeleteSketchItem, "&Delete Domain"},
        {kSeparator, ""},
        {cmd::kMarkPositions, "&Mark positions..."},
        {cmd::kDeleteAllMarks, "&Delete all marks"},
        {cmd::kNumbersOrLabels, "&Label marks"},
        {kSeparator, ""},
        {cmd::kSelectObject, "&Select object"},
        {cmd::kInsertText, "&Insert text..."},
    };
    WindowKindInfo info{WindowKind::Sketch, "Sketch of Domain Structure", DocumentFamily::Plot,
                        help};
    info.analyze = {{cmd::kDomainSketch, "Display sketch of domain structure", "Domaine structure"},
                    "&Display Domain Structure...",
                    {},
                    [](const AnalyzeState& state, WindowKind) { return !state.sketchOpen; }};
    info.commands = commands;
    info.editMenu = edit;
    info.viewMenu = view;
    RegisterWindowKind(info, LaunchDomainSketch, MakeSketchWindow);
}

} // namespace quorin::shell::ui
