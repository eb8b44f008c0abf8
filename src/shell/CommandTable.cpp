#include "shell/CommandTable.h"

#include "core/CommandIds.h"

#include <algorithm>
#include <array>
#include <optional>

namespace quorin::shell {
namespace {

namespace cmd = core::cmd;

/// The commands of the program and of several window kinds; each kind
/// registers the commands only its own menus hold.
constexpr std::array kCommands = {
    CommandInfo{cmd::kNew, "Create a new document", "New"},
    CommandInfo{cmd::kOpen, "Open a sequence file", "Open"},
    CommandInfo{cmd::kClose, "Close the document of the active window", ""},
    CommandInfo{cmd::kSave, "Save the sequence", "Save"},
    CommandInfo{cmd::kSaveAs, "Save the sequence under a new name", ""},
    CommandInfo{cmd::kSaveMetafile, "Save the page as an enhanced metafile", ""},
    CommandInfo{cmd::kImport, "Import sequence data", ""},
    CommandInfo{cmd::kDownload, "Download sequence from NCBI web server", "Download"},
    CommandInfo{cmd::kExport, "Export sequence data", ""},
    CommandInfo{cmd::kBatch, "Reads and analyses multiple sequences", "Batch analysis"},
    CommandInfo{cmd::kTerminateBatch, "Terminate batch analysis", ""},
    CommandInfo{cmd::kPrintSetup, "Choose the paper, its orientation and the margins for printing",
                ""},
    CommandInfo{cmd::kPrint, "Print the active window", "Print"},
    CommandInfo{cmd::kExit, "Quit Quorin", ""},
    CommandInfo{cmd::kCopy, "Copy to the clipboard", "Copy"},
    CommandInfo{cmd::kPaste, "Paste text from the clipboard", "Paste"},
    CommandInfo{cmd::kSelectAll, "Select the whole text", ""},
    CommandInfo{cmd::kCopyAll, "Copy the entire document", ""},
    CommandInfo{cmd::kPreferences, "Change user preferences", ""},
    CommandInfo{cmd::kCompleteDigest, "Show only the fragments of the complete digest", ""},
    CommandInfo{cmd::kNumbersOrLabels, "Switch the numbering of residues on/off", ""},
    CommandInfo{cmd::kResizeTo100, "Show the page at its original size", ""},
    CommandInfo{cmd::kMarkPositions, "Mark individual residues with an arrow", ""},
    CommandInfo{cmd::kDeleteAllMarks, "Delete all marks", ""},
    CommandInfo{cmd::kSelectObject, "Change to the standard select/move editing mode", ""},
    CommandInfo{cmd::kInsertText, "Place text on the page", ""},
    CommandInfo{cmd::kSelectionAsWheel, "Display the selected stretch as helical wheel", ""},
    CommandInfo{cmd::kDeleteSketchItem, "Delete the selected item", ""},
    CommandInfo{cmd::kBold, "Bold text", "Bold"},
    CommandInfo{cmd::kItalic, "Italic text", "Italic"},
    CommandInfo{cmd::kUnderline, "Underlined text", "Underlined"},
    CommandInfo{cmd::kCascade, "Arrange the windows so that they overlap", ""},
    CommandInfo{cmd::kTile, "Arrange the windows side by side", ""},
    CommandInfo{cmd::kArrangeIcons, "Arrange the icons of minimized windows", ""},
    CommandInfo{cmd::kHelp, "Show the help topic of the active window", "Help"},
    CommandInfo{cmd::kHelpContents, "List the help topics", ""},
    CommandInfo{cmd::kHelpUsing, "How to use the help window", ""},
    CommandInfo{cmd::kAbout, "Show the program's name, version and platform", ""},
};

/// A menu under construction: separators at either end or next to each
/// other are left out.
class MenuBuilder
{
public:
    explicit MenuBuilder(std::string_view title) : m_menu{title, {}} {}

    MenuBuilder& add(int id, std::string_view text = {})
    {
        if (id != kSeparator || (!m_menu.items.empty() && m_menu.items.back().id != kSeparator)) {
            m_menu.items.push_back(MenuItem{id, text});
        }
        return *this;
    }
    MenuBuilder& add(std::span<const MenuItem> items)
    {
        for (const MenuItem& item : items) {
            add(item.id, item.text);
        }
        return *this;
    }
    MenuBuilder& separator() { return add(kSeparator); }

    Menu done()
    {
        if (!m_menu.items.empty() && m_menu.items.back().id == kSeparator) {
            m_menu.items.pop_back();
        }
        return std::move(m_menu);
    }

private:
    Menu m_menu;
};

Menu fileMenu(const WindowKindInfo& info)
{
    const bool document = info.family != DocumentFamily::None;
    MenuBuilder menu("&File");
    menu.add(cmd::kNew, "&New\tCtrl+N").add(cmd::kOpen, "&Open...\tCtrl+O");
    if (document) {
        menu.add(cmd::kClose, "&Close")
            .add(cmd::kSave, "&Save\tCtrl+S")
            .add(cmd::kSaveAs, "Save &As...\tAlt-S");
    }
    if (info.family == DocumentFamily::Plot) {
        menu.add(cmd::kSaveMetafile, "Save Metafile...");
    }
    menu.separator()
        .add(cmd::kImport, "&Import...\tCtrl+I")
        .add(cmd::kDownload, "&Download Sequence...\tCtrl+D");
    if (document) {
        menu.add(cmd::kExport, "&Export...");
    }
    menu.add(info.fileItems).separator().add(cmd::kBatch, "&Batch analysis...");
    if (!document) {
        menu.add(cmd::kTerminateBatch, "&Terminate Batch analysis...");
    }
    menu.separator().add(cmd::kPrintSetup, "P&rint Setup...");
    if (document) {
        menu.add(cmd::kPrint, "&Print...\tCtrl+P");
    }
    menu.separator().add(kRecentFilesBlock).separator();
    menu.add(cmd::kExit, document ? "E&xit\tAlt-F4" : "E&xit");
    return menu.done();
}

/// The registered kinds' Analyze commands, the text windows' before the
/// plots'. A kind of which only one window may be open leaves its own out.
Menu analyzeMenu(const WindowKindInfo& info)
{
    MenuBuilder menu("&Analyze");
    if (info.family == DocumentFamily::None) {
        return menu.done();
    }
    std::optional<DocumentFamily> last;
    for (const WindowKindInfo& other : AllWindowKinds()) {
        const AnalyzeEntry& entry = other.analyze;
        const bool leftOut =
            std::ranges::find(info.analyzeLeftOut, entry.command.id) != info.analyzeLeftOut.end();
        if (entry.command.id == 0 || leftOut || (other.kind == info.kind && other.atMost == 1)) {
            continue;
        }
        if (last && *last != other.family) {
            menu.separator();
        }
        last = other.family;
        const bool inEditor = info.kind == WindowKind::SequenceEditor && !entry.editorText.empty();
        menu.add(entry.command.id, inEditor ? entry.editorText : entry.text);
    }
    return menu.done();
}

Menu windowMenu(const WindowKindInfo& info)
{
    MenuBuilder menu("&Window");
    if (info.family != DocumentFamily::None) {
        menu.add(cmd::kCascade, "&Cascade")
            .add(cmd::kTile, "&Tile")
            .add(cmd::kArrangeIcons, "&Arrange Icons")
            .separator()
            .add(kWindowListBlock);
    }
    return menu.done();
}

Menu helpMenu(const WindowKindInfo& info)
{
    MenuBuilder menu("&Help");
    if (info.family == DocumentFamily::None) {
        menu.add(cmd::kHelp, "&Content\tF1")
            .add(cmd::kHelpContents, "&Contents")
            .add(cmd::kHelpUsing, "&Using Help");
    } else {
        menu.add(cmd::kHelpContents, "&Contents").add(cmd::kHelpUsing, "&Help on Help");
    }
    return menu.separator().add(cmd::kAbout, "&About...").done();
}

constexpr std::array kToolbar = {
    cmd::kNew,    cmd::kOpen,         cmd::kSave,       kSeparator,         cmd::kPrint,
    cmd::kCopy,   cmd::kPaste,        kSeparator,       cmd::kPhysChem,     cmd::kCleavage,
    cmd::kMotifs, cmd::kHelicalWheel, cmd::kHydropathy, cmd::kDomainSketch, kSeparator,
    cmd::kBatch,  kSeparator,         cmd::kHelp,
};

} // namespace

const CommandInfo* FindCommand(int id)
{
    if (id <= 0) {
        return nullptr; // separators, blocks and kinds without an Analyze command
    }
    for (const CommandInfo& command : kCommands) {
        if (command.id == id) {
            return &command;
        }
    }
    for (const WindowKindInfo& info : AllWindowKinds()) {
        if (info.analyze.command.id == id) {
            return &info.analyze.command;
        }
        for (const CommandInfo& command : info.commands) {
            if (command.id == id) {
                return &command;
            }
        }
    }
    return nullptr;
}

std::vector<Menu> MenusOf(WindowKind kind)
{
    const WindowKindInfo& info = InfoOf(kind);
    std::vector<Menu> menus = {
        fileMenu(info),
        MenuBuilder("&Edit").add(info.editMenu).done(),
        MenuBuilder("&View").add(info.viewMenu).done(),
        analyzeMenu(info),
        MenuBuilder("&Options").add(cmd::kPreferences, "&Preferences...").done(),
        windowMenu(info),
        helpMenu(info),
    };
    std::erase_if(menus, [](const Menu& menu) { return menu.items.empty(); });
    return menus;
}

std::vector<Accelerator> AcceleratorsOf(WindowKind kind)
{
    std::vector<Accelerator> keys = {
        {"Alt+F4", cmd::kExit}, {"F1", cmd::kHelp},       {"Ctrl+N", cmd::kNew},
        {"Ctrl+O", cmd::kOpen}, {"Ctrl+I", cmd::kImport},
    };
    if (InfoOf(kind).family != DocumentFamily::None) {
        keys.push_back({"Ctrl+S", cmd::kSave});
        keys.push_back({"Alt+S", cmd::kSaveAs});
        keys.push_back({"Ctrl+P", cmd::kPrint});
    }
    // The rest are the keys the menus show: Download's Ctrl+D everywhere,
    // Copy's Ctrl+C in the text windows, Select All's Ctrl+A in the digest and
    // the editor, the editor's history and its Cut and Paste (its edit fields
    // take their own keys first while they have the focus).
    for (const Menu& menu : MenusOf(kind)) {
        for (const MenuItem& item : menu.items) {
            std::string shown = ShortcutShown(item.text);
            const bool bound = std::any_of(keys.begin(), keys.end(), [&](const Accelerator& key) {
                return key.keys == shown;
            });
            if (!shown.empty() && !bound) {
                keys.push_back({std::move(shown), item.id});
            }
        }
    }
    return keys;
}

std::string ShortcutShown(std::string_view menuText)
{
    const std::size_t tab = menuText.find('\t');
    if (tab == std::string_view::npos) {
        return {};
    }
    // "Alt-S" is how the menus write Alt+S.
    std::string keys(menuText.substr(tab + 1));
    for (std::size_t i = 0; i + 1 < keys.size(); ++i) {
        if (keys[i] == '-') {
            keys[i] = '+';
        }
    }
    return keys;
}

std::span<const int> ToolbarLayout()
{
    return kToolbar;
}

std::string_view TooltipOf(int id)
{
    const CommandInfo* command = FindCommand(id);
    return command ? command->tooltip : std::string_view{};
}

} // namespace quorin::shell
