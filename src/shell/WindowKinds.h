#pragma once

#include <span>
#include <string_view>

namespace quorin::shell {

/// The kinds of window the main window shows. Each has its own menus and
/// accelerators; the menu bar follows the active one.
enum class WindowKind
{
    Empty,          ///< no document open: the main window's own menus
    SequenceEditor, ///< the sequence document's editor frame
    PhysChem,
    Digest,
    Wheel,
    Hydropathy,
    Motif,
    Amphipathy,
    Sketch,
    ModFinder,
    Titration,
    PrositeScan,
    Features, ///< the features of a UniProt entry
};

/// Which document a window shows.
enum class DocumentFamily
{
    None,     ///< the empty frame
    Sequence, ///< a view on the sequence document (editor and text analyses)
    Plot,     ///< a plot document of its own, filled from the sequence document
};

/// One command: its id (core/CommandIds.h), the prompt the status bar shows
/// while the pointer is on its menu item or button, and the tooltip of its
/// toolbar button (empty when it has none).
struct CommandInfo
{
    int id = 0;
    std::string_view prompt;
    std::string_view tooltip;
};

struct MenuItem
{
    int id;
    std::string_view text; ///< with "&" mnemonics and a "\t" before the shown shortcut
};

/// A help keyword and the file of its topic.
struct HelpPage
{
    std::string_view keyword;
    std::string_view file;
};

struct AnalyzeState;

/// The Analyze command that opens a window of the kind.
struct AnalyzeEntry
{
    CommandInfo command; ///< id 0 when the kind has none
    std::string_view text;
    /// The text in the sequence editor's menu, when it differs.
    std::string_view editorText;
    /// Whether the command is enabled in a window of kind active, once the
    /// sequence has a residue.
    bool (*enabled)(const AnalyzeState& state, WindowKind active) = nullptr;
};

/// What the main window knows of a window kind. Each kind registers one,
/// with its launcher and factory (shell/ui/WindowFactories.h).
struct WindowKindInfo
{
    WindowKind kind = WindowKind::Empty;
    std::string_view title; ///< the frame title until the view sets its own
    DocumentFamily family = DocumentFamily::None;
    /// The window's topic (F1) first, then those of its dialogs.
    std::span<const HelpPage> help;
    /// How many such windows may be open on one sequence. A kind of which
    /// several may be open lists its Analyze command in its own menus too.
    int atMost = 1;
    AnalyzeEntry analyze;
    /// The Analyze commands its menus leave out besides its own.
    std::span<const int> analyzeLeftOut;
    /// The commands only this kind's menus hold.
    std::span<const CommandInfo> commands;
    /// The File menu's items of the kind, after "&Export...".
    std::span<const MenuItem> fileItems;
    std::span<const MenuItem> editMenu;
    std::span<const MenuItem> viewMenu;

    /// The help keyword F1 opens in this window.
    std::string_view HelpTopic() const { return help.empty() ? "" : help.front().keyword; }
};

/// Adds a kind, or replaces the registered one of the same WindowKind. The
/// Analyze menu lists the kinds' commands in the order they were registered.
void RegisterWindowKind(const WindowKindInfo& info);

/// Every registered kind, in registration order.
std::span<const WindowKindInfo> AllWindowKinds();
/// The kind's registration; a bare one (its kind only) while it has none.
const WindowKindInfo& InfoOf(WindowKind kind);
/// The kind whose Analyze command id is, or nullptr.
const WindowKindInfo* KindOfAnalyzeCommand(int id);

} // namespace quorin::shell
