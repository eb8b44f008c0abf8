#pragma once

#include "core/ui/CommandTarget.h"

#include <functional>

namespace quorin::core::ui {
class CPeptideDoc;
}

namespace quorin::shell::ui {

class WindowHost;

/// What a launcher works with.
struct LaunchContext
{
    WindowHost& host;
    core::ui::CPeptideDoc& document;
};

/// Opens an analysis for an Analyze command: checks its preconditions, shows
/// its dialog, computes into the record and opens the window
/// (WindowHost::OpenWindow), registering it in the document's OpenAnalyses.
using Launcher = std::function<void(LaunchContext&)>;

/// The launcher of an Analyze command, or nullptr while it has none (the
/// command then stays disabled). Each window kind registers its launcher
/// (RegisterWindowKind).
const Launcher* FindLauncher(int id);
void SetLauncher(int id, Launcher launcher);

/// A command of the application itself (Batch analysis, Preferences, ...):
/// its state and what it does. Registered in Launchers.cpp; the batch's
/// commands by batch::ui::RegisterBatchCommands.
struct ApplicationCommand
{
    std::function<core::ui::CommandState()> state;
    std::function<void(WindowHost&)> run;
};

const ApplicationCommand* FindApplicationCommand(int id);
void SetApplicationCommand(int id, ApplicationCommand command);

} // namespace quorin::shell::ui
