#include "shell/ui/Launchers.h"

#include "core/CommandIds.h"
#include "core/MessageTexts.h"
#include "core/ui/CPeptideDoc.h"
#include "core/ui/Messages.h"
#include "core/ui/QtText.h"
#include "shell/ui/CMainFrame.h"
#include "shell/ui/PlotWindows.h"

#include <map>

namespace quorin::shell::ui {
namespace {

namespace cmd = core::cmd;

/// The Analyze commands' launchers. A new analysis adds its line here.
std::map<int, Launcher>& launchers()
{
    static std::map<int, Launcher> table = {
        {cmd::kPhysChem, LaunchPhysChem},
        {cmd::kHydropathy, LaunchHydropathy},
    };
    return table;
}

/// The application's own commands beyond the main window's (New, Open,
/// Import, Exit, help, windows). A new one adds its line here.
std::map<int, ApplicationCommand>& applicationCommands()
{
    static std::map<int, ApplicationCommand> table;
    return table;
}

} // namespace

const Launcher* FindLauncher(int id)
{
    const auto it = launchers().find(id);
    return it == launchers().end() ? nullptr : &it->second;
}

void SetLauncher(int id, Launcher launcher)
{
    if (launcher) {
        launchers()[id] = std::move(launcher);
    } else {
        launchers().erase(id);
    }
}

const ApplicationCommand* FindApplicationCommand(int id)
{
    const auto it = applicationCommands().find(id);
    return it == applicationCommands().end() ? nullptr : &it->second;
}

void SetApplicationCommand(int id, ApplicationCommand command)
{
    if (command.run) {
        applicationCommands()[id] = std::move(command);
    } else {
        applicationCommands().erase(id);
    }
}

void LaunchPhysChem(LaunchContext& context)
{
    if (context.mainFrame.OpenWindow(WindowKind::PhysChem, context.document) == nullptr) {
        core::ui::ShowMessage(core::ui::ToQString(core::msg::kCouldNotCreateWindow),
                              core::ui::ToQString(core::msg::kError));
        return;
    }
    context.document.Analyses().physChemView = true;
    context.document.AnalysesChanged();
}

} // namespace quorin::shell::ui
