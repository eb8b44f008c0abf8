#pragma once

#include "shell/WindowKinds.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quorin::shell {

/// One command: its id (core/CommandIds.h), the prompt the status bar shows
/// while the pointer is on its menu item or button, and the tooltip of its
/// toolbar button (empty when it has none).
struct CommandInfo
{
    int id;
    std::string_view prompt;
    std::string_view tooltip;
};

/// Every command the menus hold, in id order of first appearance.
std::span<const CommandInfo> AllCommands();
/// The command's row, or nullptr for an id the table does not know.
const CommandInfo* FindCommand(int id);

/// Menu item ids with a special meaning.
inline constexpr int kSeparator = 0;
/// Where the recent-file entries are listed.
inline constexpr int kRecentFilesBlock = -1;
/// Where the list of open windows is listed.
inline constexpr int kWindowListBlock = -2;

struct MenuItem
{
    int id;
    std::string_view text; ///< with "&" mnemonics and a "\t" before the shown shortcut
};

struct Menu
{
    std::string_view title;
    std::vector<MenuItem> items;
};

/// The menu bar of a window kind, menus left to right. Menus without items
/// are left out, and so are separators at either end or next to each other.
std::vector<Menu> MenusOf(WindowKind kind);

/// A key binding: keys in the portable form of QKeySequence ("Ctrl+N").
struct Accelerator
{
    std::string keys;
    int id;
};

/// The accelerator table of a window kind: the keys of its table (F1 for help
/// everywhere, Ctrl+S, Alt+S and Ctrl+P wherever there is a document, ...)
/// and every shortcut its menus show, bound to the item that shows it, so
/// that a key a user reads in a menu always works in that window. No key is
/// bound twice.
std::vector<Accelerator> AcceleratorsOf(WindowKind kind);

/// The shortcut a menu text shows after its "\t", in the portable form of
/// QKeySequence ("Save &As...\tAlt-S" gives "Alt+S"); empty when it shows none.
std::string ShortcutShown(std::string_view menuText);

/// The toolbar, left to right; kSeparator marks a gap.
std::span<const int> ToolbarLayout();

/// The tooltip of a toolbar button: the table's text, empty for ids without one.
std::string_view TooltipOf(int id);

/// The idle text of the status bar's message pane.
inline constexpr std::string_view kIdlePrompt = "Ready";

} // namespace quorin::shell
