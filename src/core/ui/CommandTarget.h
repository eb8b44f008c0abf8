#pragma once

#include <optional>

namespace quorin::core::ui {

/// How a command shows in menus and on the toolbar.
struct CommandState
{
    bool enabled = true;
    bool checkable = false; ///< the item carries a check mark when checked
    bool checked = false;
};

/// Something on the command route: a view, a document or the application.
/// The main window asks the active view first, then its document, then the
/// application; the first that knows a command decides its state and runs it.
/// A command that nobody knows is disabled.
class CommandTarget
{
public:
    virtual ~CommandTarget() = default;

    /// The state of a command this target handles; nothing passes it on.
    virtual std::optional<CommandState> CommandStateOf(int id) = 0;

    /// Runs a command this target handles (the caller checked that it is
    /// enabled); false passes it on.
    virtual bool OnCommand(int id) = 0;
};

} // namespace quorin::core::ui
