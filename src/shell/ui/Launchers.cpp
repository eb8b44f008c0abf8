#include "shell/ui/Launchers.h"

#include "core/CommandIds.h"
#include "shell/ui/COptionsPropSheet.h"
#include "shell/ui/WindowFactories.h"

#include <map>

namespace quorin::shell::ui {
namespace {

namespace cmd = core::cmd;

std::map<int, Launcher>& launchers()
{
    static std::map<int, Launcher> table;
    return table;
}

/// The application's own commands beyond the main window's (New, Open,
/// Import, Download, Exit, help, windows). A new one adds its line here.
std::map<int, ApplicationCommand>& applicationCommands()
{
    static std::map<int, ApplicationCommand> table = {
        {cmd::kPreferences, {[] { return core::ui::CommandState{}; }, ShowPreferences}},
    };
    return table;
}

} // namespace

const Launcher* FindLauncher(int id)
{
    RegisterWindowKinds();
    const auto it = launchers().find(id);
    return it == launchers().end() ? nullptr : &it->second;
}

void SetLauncher(int id, Launcher launcher)
{
    RegisterWindowKinds();
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

} // namespace quorin::shell::ui
