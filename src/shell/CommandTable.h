#pragma once

#include "core/CommandIds.h"
#include "shell/WindowKinds.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quorin::shell {

/// The command's row (the table's or a registered window kind's), or nullptr
/// for an id none knows.
const CommandInfo* FindCommand(int id);

/// Menu item ids with a special meaning.
inline constexpr int kSeparator = 0;
/// Where the recent-file entries are listed.
inline constexpr int kRecentFilesBlock = -1;
/// Where the list of open windows is listed.
inline constexpr int kWindowListBlock = -2;

/// Copy as most windows' Edit menus show it.
inline constexpr MenuItem kCopyItem{core::cmd::kCopy, "&Copy\tCtrl+C"};

struct Menu
{
    std::string_view title;
    std::vector<MenuItem> items;
};

/// The menu bar of a window kind, menus left to right: the program's own
/// items with those the kind registered (WindowKindInfo) and the registered
/// kinds' Analyze commands. Menus without items are left out, and so are
/// separators at either end or next to each other.
std::vector<Menu> MenusOf(WindowKind kind);

/// A key binding: keys in the portable form of QKeySequence ("Ctrl+N").
struct Accelerator
{
    std::string keys;
    int id;
};

/// The accelerator table of a window kind: the keys of its table (F1 for help
/// everywhere, Ctrl+S, Alt+S and Ctrl+P wherever there is a document) and
/// every shortcut its menus show, bound to the item that shows it, so
/// that a key a user reads in a menu always works in that window. No key is
/// bound twice.
std::vector<Accelerator> AcceleratorsOf(WindowKind kind);

/// The shortcut a menu text shows after its "\t", in the portable form of
/// QKeySequence ("Save &As...\tAlt-S" gives "Alt+S"); empty when it shows none.
std::string ShortcutShown(std::string_view menuText);

/// The toolbar, left to right; kSeparator marks a gap.
std::span<const int> ToolbarLayout();

/// The tooltip of a toolbar button: the command's, empty for ids without one.
std::string_view TooltipOf(int id);

/// The idle text of the status bar's message pane.
inline constexpr std::string_view kIdlePrompt = "Ready";

} // namespace quorin::shell
