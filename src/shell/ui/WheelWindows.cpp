#include "shell/ui/WheelWindows.h"

#include "core/CommandIds.h"
#include "core/MessageTexts.h"
#include "core/ui/Application.h"
#include "core/ui/CPeptideDoc.h"
#include "core/ui/Messages.h"
#include "core/ui/QtText.h"
#include "plots/Hydropathy.h"
#include "plots/Wheel.h"
#include "plots/ui/CWheelDialog.h"
#include "plots/ui/CWheelView.h"
#include "plots/ui/PlotDialogs.h"
#include "shell/CommandTable.h"
#include "shell/EnablingRules.h"
#include "shell/ui/WindowHost.h"

#include <QPointer>

#include <algorithm>

namespace quorin::shell::ui {
namespace {

using core::ui::ToQString;
using plots::ui::CWheelDoc;

int openWheels(const core::ui::CPeptideDoc& document)
{
    const auto& wheels = document.Analyses().wheels;
    return static_cast<int>(
        std::count_if(wheels.begin(), wheels.end(), [](const auto& wheel) { return !!wheel; }));
}

/// A closing wheel leaves the sequence's list: its record entry goes, the
/// wheels opened after it move up by one place and one index.
void forgetWheel(core::ui::CPeptideDoc& document, CWheelDoc* closing)
{
    auto& wheels = document.Analyses().wheels;
    const auto gone = std::find_if(wheels.begin(), wheels.end(), [closing](const auto& wheel) {
        return wheel.data() == closing;
    });
    if (gone == wheels.end()) {
        return;
    }
    plots::RemoveWheel(document.Record(), closing->Index());
    for (auto later = gone + 1; later != wheels.end(); ++later) {
        if (auto* wheel = qobject_cast<CWheelDoc*>(later->data())) {
            wheel->SetIndex(wheel->Index() - 1);
        }
    }
    std::rotate(gone, gone + 1, wheels.end());
    wheels.back() = nullptr;
    document.AnalysesChanged();
}

} // namespace

void LaunchHelicalWheel(LaunchContext& context)
{
    core::ui::CPeptideDoc& document = context.document;
    if (context.host.WindowCount(WindowKind::Wheel, &document) >= plots::kMaxWheels) {
        core::ui::ShowMessage(ToQString(core::msg::kWheelLimit), ToQString(core::msg::kNote),
                              core::ui::MessageIcon::Information);
        return;
    }
    plots::ui::CWheelDialog dialog(document.Record(), 0, 0, &context.host.Window());
    if (plots::ui::Choosers().run(dialog) != QDialog::Accepted) {
        return;
    }
    const plots::PendingPlotRequest stretch{dialog.From(), dialog.To()};
    if (context.host.OpenWindow(WindowKind::Wheel, document, stretch) == nullptr) {
        core::ui::ShowMessage(ToQString(core::msg::kCouldNotCreateWindow),
                              ToQString(core::msg::kError));
    }
}

WindowContent MakeWheelWindow(core::ui::CPeptideDoc& document, const std::any& request)
{
    const plots::PendingPlotRequest stretch = RequestOr<plots::PendingPlotRequest>(request);
    const int open = openWheels(document);
    if (stretch.from == 0 || open >= plots::kMaxWheels) {
        return {};
    }
    core::PropertyRecord& record = document.Record();
    auto& analyses = document.Analyses();
    core::ui::Application& app = core::ui::Application::Instance();
    plots::TakeWheelOptions(record, app.Settings());
    const int index = plots::AddWheel(record, stretch.from, stretch.to);
    auto* wheel = new CWheelDoc(record, index, ++analyses.wheelSerial);
    // The options just taken hold for the wheels already open too.
    for (const auto& other : analyses.wheels) {
        if (auto* shown = qobject_cast<plots::ui::PageDocument*>(other.data())) {
            shown->Changed();
        }
    }
    analyses.wheels[static_cast<std::size_t>(open)] = wheel;
    QObject::connect(&document, &core::ui::CPeptideDoc::viewsNeedUpdate, wheel,
                     &plots::ui::PageDocument::Changed);
    // Confirmed wheel options reach the wheels of every sequence, not only
    // those of the sequence the Preferences sheet was opened on.
    QObject::connect(&app, &core::ui::Application::wheelOptionsChanged, wheel,
                     [wheel, &record, &app] {
                         plots::TakeWheelOptions(record, app.Settings());
                         wheel->Changed();
                     });
    QObject::connect(wheel, &CWheelDoc::closing, &document,
                     [sequence = &document, wheel] { forgetWheel(*sequence, wheel); });
    document.AnalysesChanged();
    auto* view = new plots::ui::CWheelView(*wheel);
    return WindowContent{view, view, wheel, nullptr};
}

void RegisterWheelWindow()
{
    namespace cmd = core::cmd;
    static constexpr HelpPage help[] = {{"HELICAL WHEEL WINDOW", "wheel.html"},
                                        {"HELICAL WHEEL PROPERTIES BOX", "wheel-dialog.html"}};
    static constexpr CommandInfo commands[] = {
        {cmd::kZoomIn, "Enlarge the display"},
        {cmd::kZoomOut, "Reduce the display"},
        {cmd::kWheelColours, "Switch the color code for residues on/off"},
        {cmd::kWheelRange, "Change the extend of the displayed part of the sequence"},
        {cmd::kWheelAmphipathy, "Calculate the amphipathy of this helix"},
    };
    static constexpr MenuItem edit[] = {kCopyItem};
    static constexpr MenuItem view[] = {
        {cmd::kZoomIn, "Zoom &In"},
        {cmd::kZoomOut, "Zoom &Out"},
        {kSeparator, ""},
        {cmd::kWheelColours, "&Color"},
        {cmd::kNumbersOrLabels, "&Numbers"},
        {kSeparator, ""},
        {cmd::kWheelRange, "&Modify displayed part of sequence..."},
        {cmd::kWheelAmphipathy, "&Amphipathy Moment"},
    };
    WindowKindInfo info{WindowKind::Wheel, "Display of Helical Wheel", DocumentFamily::Plot, help,
                        plots::kMaxWheels};
    // In a wheel window the launcher says why no more may open.
    info.analyze = {
        {cmd::kHelicalWheel, "Display part of the sequence as helical wheel", "Helical wheel"},
        "&Helical Wheel...",
        {},
        [](const AnalyzeState& state, WindowKind active) {
            return active == WindowKind::Wheel ||
                   state.OpenOf(WindowKind::Wheel) < plots::kMaxWheels;
        }};
    info.commands = commands;
    info.editMenu = edit;
    info.viewMenu = view;
    RegisterWindowKind(info, LaunchHelicalWheel, MakeWheelWindow);
}

} // namespace quorin::shell::ui
