#include "shell/ui/WindowFactories.h"

#include "shell/ui/FeatureWindow.h"
#include "shell/ui/Launchers.h"
#include "shell/ui/PlotWindows.h"
#include "shell/ui/PrositeScanWindow.h"
#include "shell/ui/ReportWindows.h"
#include "shell/ui/SequenceEditorPanes.h"
#include "shell/ui/SketchWindow.h"
#include "shell/ui/TitrationWindow.h"
#include "shell/ui/WheelWindows.h"

#include <map>

namespace quorin::shell::ui {
namespace {

std::map<WindowKind, WindowFactory>& factories()
{
    static std::map<WindowKind, WindowFactory> table;
    return table;
}

/// The main window without a document: its own menus and help.
constexpr HelpPage kEmptyFrameHelp[] = {{"QUORIN", "quorin.html"}};

} // namespace

void RegisterWindowKind(const WindowKindInfo& info, Launcher launcher, WindowFactory factory)
{
    shell::RegisterWindowKind(info);
    if (info.analyze.command.id != 0) {
        SetLauncher(info.analyze.command.id, std::move(launcher));
    }
    SetWindowFactory(info.kind, std::move(factory));
}

void RegisterWindowKinds()
{
    static bool registered = false;
    if (registered) {
        return;
    }
    registered = true;
    // The Analyze menu lists the kinds' commands in this order.
    RegisterWindowKind(
        WindowKindInfo{WindowKind::Empty, "Quorin", DocumentFamily::None, kEmptyFrameHelp}, {}, {});
    RegisterSequenceEditor();
    RegisterPhysChemWindow();
    RegisterDigestWindow();
    RegisterModFinderWindow();
    RegisterMotifWindow();
    RegisterPrositeScanWindow();
    RegisterWheelWindow();
    RegisterHydropathyWindow();
    RegisterAmphipathyWindow();
    RegisterSketchWindow();
    RegisterTitrationWindow();
    RegisterFeatureWindow();
}

const WindowFactory* FindWindowFactory(WindowKind kind)
{
    RegisterWindowKinds();
    const auto it = factories().find(kind);
    return it == factories().end() ? nullptr : &it->second;
}

void SetWindowFactory(WindowKind kind, WindowFactory factory)
{
    RegisterWindowKinds();
    if (factory) {
        factories()[kind] = std::move(factory);
    } else {
        factories().erase(kind);
    }
}

} // namespace quorin::shell::ui
