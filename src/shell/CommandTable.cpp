#include "shell/CommandTable.h"

#include "core/CommandIds.h"

#include <algorithm>
#include <array>

namespace quorin::shell {
namespace {

namespace cmd = core::cmd;

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
    CommandInfo{cmd::kExportHydropathy, "Export the values of the hydropathy curve", ""},
    CommandInfo{cmd::kBatch, "Reads and analyses multiple sequences", "Batch analysis"},
    CommandInfo{cmd::kTerminateBatch, "Terminate batch analysis", ""},
    CommandInfo{cmd::kPrintSetup, "Choose the paper, its orientation and the margins for printing",
                ""},
    CommandInfo{cmd::kPrint, "Print the active window", "Print"},
    CommandInfo{cmd::kExit, "Quit Quorin", ""},
    CommandInfo{cmd::kUndo, "Undo the last change of the sequence", ""},
    CommandInfo{cmd::kRedo, "Redo the change of the sequence undone last", ""},
    CommandInfo{cmd::kCut, "Cut the selection to the clipboard", ""},
    CommandInfo{cmd::kCopy, "Copy to the clipboard", "Copy"},
    CommandInfo{cmd::kPaste, "Paste text from the clipboard", "Paste"},
    CommandInfo{cmd::kSelectAll, "Select the whole text", ""},
    CommandInfo{cmd::kCopyAll, "Copy the entire document", ""},
    CommandInfo{cmd::kSelectRange, "Select sequence range", ""},
    CommandInfo{cmd::kGoTo, "Postion cursor in sequence", ""},
    CommandInfo{cmd::kPhysChem, "Display basic physico-chemical traits",
                "Physico-chemical properties"},
    CommandInfo{cmd::kCleavage, "Generate pattern of site-specific cleavage", "Proteolytic digest"},
    CommandInfo{cmd::kModFinder, "Identify post-translational modifications", ""},
    CommandInfo{cmd::kMotifs, "Search for sequence motifs", "Find motifs"},
    CommandInfo{cmd::kHelicalWheel, "Display part of the sequence as helical wheel",
                "Helical wheel"},
    CommandInfo{cmd::kHydropathy, "Display hydropathy plot", "Hydropathy plot"},
    CommandInfo{cmd::kAmphipathy, "Display plot of amphipathy moment", ""},
    CommandInfo{cmd::kDomainSketch, "Display sketch of domain structure", "Domaine structure"},
    CommandInfo{cmd::kTitration, "Display the net charge from pH 0 to 14", ""},
    CommandInfo{cmd::kPreferences, "Change user preferences", ""},
    CommandInfo{cmd::kSortByStart, "Sort the fragments by their start position", ""},
    CommandInfo{cmd::kSortByLength, "Sort the fragments by their length", ""},
    CommandInfo{cmd::kSortByWeight, "Sort the fragments by their weight", ""},
    CommandInfo{cmd::kCompleteDigest, "Show only the fragments of the complete digest", ""},
    CommandInfo{cmd::kDigestOptions,
                "Choose the fragments the digest keeps, their masses and m/z columns", ""},
    CommandInfo{cmd::kExportDigestCsv, "Save the fragments as comma-separated values", ""},
    CommandInfo{cmd::kSortByPosition, "Sort the list by sequence position", ""},
    CommandInfo{cmd::kSortByMotif, "Sort the list by motif", ""},
    CommandInfo{cmd::kZoomIn, "Enlarge the display", ""},
    CommandInfo{cmd::kZoomOut, "Reduce the display", ""},
    CommandInfo{cmd::kWheelColours, "Switch the color code for residues on/off", ""},
    CommandInfo{cmd::kNumbersOrLabels, "Switch the numbering of residues on/off", ""},
    CommandInfo{cmd::kWheelRange, "Change the extend of the displayed part of the sequence", ""},
    CommandInfo{cmd::kHydropathyRange,
                "Change the extend of the displayed part of the sequence and the window size", ""},
    CommandInfo{cmd::kAmphipathyRange,
                "Change the extend of the displayed part of the sequence and the window size", ""},
    CommandInfo{cmd::kCopyTable, "Copy the table of net charges as text", ""},
    CommandInfo{cmd::kTitrationSet, "Draw the curve with another set of pK values", ""},
    CommandInfo{cmd::kWheelAmphipathy, "Calculate the amphipathy of this helix", ""},
    CommandInfo{cmd::kResizeTo100, "Show the page at its original size", ""},
    CommandInfo{cmd::kMarkPositions, "Mark individual residues with an arrow", ""},
    CommandInfo{cmd::kDeleteAllMarks, "Delete all marks", ""},
    CommandInfo{cmd::kTransmembrane, "Show the predicted transmembrane helices", ""},
    CommandInfo{cmd::kSelectObject, "Change to the standard select/move editing mode", ""},
    CommandInfo{cmd::kInsertText, "Place text on the page", ""},
    CommandInfo{cmd::kSelectionAsWheel, "Display the selected stretch as helical wheel", ""},
    CommandInfo{cmd::kModifySketch, "Change the scale and the domains of the sketch", ""},
    CommandInfo{cmd::kAddDomain, "Add a domain to the sketch", ""},
    CommandInfo{cmd::kDomainProperties, "Change the selected domain", ""},
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

/// One row of the menu tables: the item appears in the menus of the kinds
/// whose letters `where` holds.
struct MenuRow
{
    int id;
    std::string_view text;
    std::string_view where;
};

/// Every kind with a document.
constexpr std::string_view kAll = "SPDWHMAKFT";
constexpr std::string_view kAllAndEmpty = "SPDWHMAKFTE";
constexpr std::string_view kPlots = "WHAKT";

constexpr std::array kFileMenu = {
    MenuRow{cmd::kNew, "&New\tCtrl+N", kAllAndEmpty},
    MenuRow{cmd::kOpen, "&Open...\tCtrl+O", kAllAndEmpty},
    MenuRow{cmd::kClose, "&Close", kAll},
    MenuRow{cmd::kSave, "&Save\tCtrl+S", kAll},
    MenuRow{cmd::kSaveAs, "Save &As...\tAlt-S", kAll},
    MenuRow{cmd::kSaveMetafile, "Save Metafile...", kPlots},
    MenuRow{kSeparator, "", kAllAndEmpty},
    MenuRow{cmd::kImport, "&Import...\tCtrl+I", kAllAndEmpty},
    MenuRow{cmd::kDownload, "&Download Sequence...\tCtrl+D", kAllAndEmpty},
    MenuRow{cmd::kExport, "&Export...", kAll},
    MenuRow{cmd::kExportHydropathy, "&Export hydropathy data...", "H"},
    MenuRow{cmd::kExportDigestCsv, "Export as CS&V...", "D"},
    MenuRow{kSeparator, "", kAllAndEmpty},
    MenuRow{cmd::kBatch, "&Batch analysis...", kAllAndEmpty},
    MenuRow{cmd::kTerminateBatch, "&Terminate Batch analysis...", "E"},
    MenuRow{kSeparator, "", kAllAndEmpty},
    MenuRow{cmd::kPrintSetup, "P&rint Setup...", kAllAndEmpty},
    MenuRow{cmd::kPrint, "&Print...\tCtrl+P", kAll},
    MenuRow{kSeparator, "", kAllAndEmpty},
    MenuRow{kRecentFilesBlock, "", kAllAndEmpty},
    MenuRow{kSeparator, "", kAllAndEmpty},
    MenuRow{cmd::kExit, "E&xit", "E"},
    MenuRow{cmd::kExit, "E&xit\tAlt-F4", kAll},
};

constexpr std::array kEditMenu = {
    MenuRow{cmd::kUndo, "&Undo\tCtrl+Z", "S"},
    MenuRow{cmd::kRedo, "&Redo\tCtrl+Shift+Z", "S"},
    MenuRow{kSeparator, "", "S"},
    MenuRow{cmd::kCut, "Cu&t\tCtrl+X", "S"},
    MenuRow{cmd::kCopy, "&Copy\tCtrl+C", "SPDWHMAFT"},
    MenuRow{cmd::kCopyTable, "Copy &Table", "T"},
    MenuRow{cmd::kCopy, "&Copy All\tCtrl+C", "K"},
    MenuRow{cmd::kPaste, "&Paste\tCtrl+V", "S"},
    MenuRow{kSeparator, "", "SD"},
    MenuRow{cmd::kSelectAll, "Select &All\tCtrl+A", "SD"},
    MenuRow{cmd::kCopyAll, "C&opy All", "SD"},
    MenuRow{kSeparator, "", "S"},
    MenuRow{cmd::kSelectRange, "&Select from... to...", "S"},
    MenuRow{cmd::kGoTo, "&Go to...", "S"},
};

constexpr std::array kViewMenu = {
    MenuRow{cmd::kSortByStart, "Sort fragments by &start", "D"},
    MenuRow{cmd::kSortByLength, "Sort fragments by &length", "D"},
    MenuRow{cmd::kSortByWeight, "Sort fragments by &weight", "D"},
    MenuRow{kSeparator, "", "D"},
    MenuRow{cmd::kCompleteDigest, "&Complete digest", "DF"},
    MenuRow{kSeparator, "", "D"},
    MenuRow{cmd::kDigestOptions, "Digest &Options...", "D"},
    MenuRow{cmd::kSortByPosition, "Sort List by Sequence &Position", "M"},
    MenuRow{cmd::kSortByMotif, "Sort List by &Motif", "M"},
    MenuRow{cmd::kZoomIn, "Zoom &In", "W"},
    MenuRow{cmd::kZoomOut, "Zoom &Out", "W"},
    MenuRow{kSeparator, "", "W"},
    MenuRow{cmd::kWheelColours, "&Color", "W"},
    MenuRow{cmd::kNumbersOrLabels, "&Numbers", "W"},
    MenuRow{kSeparator, "", "W"},
    MenuRow{cmd::kWheelRange, "&Modify displayed part of sequence...", "W"},
    MenuRow{cmd::kWheelAmphipathy, "&Amphipathy Moment", "W"},
    MenuRow{cmd::kHydropathyRange, "&Modify displayed part of sequence...", "H"},
    MenuRow{cmd::kAmphipathyRange, "&Modify displayed part of sequence...", "A"},
    MenuRow{cmd::kModifySketch, "&Modify domain structure...", "K"},
    MenuRow{cmd::kAddDomain, "&Add Domain...", "K"},
    MenuRow{cmd::kDomainProperties, "Domain &Properties...", "K"},
    MenuRow{cmd::kDeleteSketchItem, "&Delete Domain", "K"},
    MenuRow{kSeparator, "", "HK"},
    MenuRow{cmd::kMarkPositions, "&Mark positions...", "HK"},
    MenuRow{cmd::kDeleteAllMarks, "&Delete all marks", "HK"},
    MenuRow{cmd::kNumbersOrLabels, "&Label marks", "HK"},
    MenuRow{kSeparator, "", "H"},
    MenuRow{cmd::kTransmembrane, "&Transmembrane prediction", "H"},
    MenuRow{kSeparator, "", "HAK"},
    MenuRow{cmd::kSelectObject, "&Select object", "HAK"},
    MenuRow{cmd::kInsertText, "&Insert text...", "HK"},
    MenuRow{cmd::kSelectionAsWheel, "Display selection as helical &wheel", "HA"},
    MenuRow{cmd::kTitrationSet, "&Modify pK set...", "T"},
};

constexpr std::array kAnalyzeMenu = {
    MenuRow{cmd::kPhysChem, "&Physico-Chemical Properties", "S"},
    MenuRow{cmd::kPhysChem, "&Physico-Chemical Properties...", "DWHMAKFT"},
    MenuRow{cmd::kCleavage, "&Sequence-Specific Cleavage...", "SPWHMAKT"},
    MenuRow{cmd::kModFinder, "&Modfinder...", "SPDWHMAKT"},
    MenuRow{cmd::kMotifs, "Search for Sequence &Motifs...", "SPDWHAKFT"},
    MenuRow{kSeparator, "", kAll},
    MenuRow{cmd::kHelicalWheel, "&Helical Wheel...", kAll},
    MenuRow{cmd::kHydropathy, "H&ydropathy Plot...", "SPDWMAKFT"},
    MenuRow{cmd::kAmphipathy, "Plot of &Amphipathy Moment...", "SPDWHMKFT"},
    MenuRow{cmd::kDomainSketch, "&Display Domain Structure...", "SPDWHMAFT"},
    MenuRow{cmd::kTitration, "&Titration Curve...", kAll},
};

constexpr std::array kOptionsMenu = {
    MenuRow{cmd::kPreferences, "&Preferences...", kAllAndEmpty},
};

constexpr std::array kWindowMenu = {
    MenuRow{cmd::kCascade, "&Cascade", kAll},
    MenuRow{cmd::kTile, "&Tile", kAll},
    MenuRow{cmd::kArrangeIcons, "&Arrange Icons", kAll},
    MenuRow{kSeparator, "", kAll},
    MenuRow{kWindowListBlock, "", kAll},
};

constexpr std::array kHelpMenu = {
    MenuRow{cmd::kHelp, "&Content\tF1", "E"},
    MenuRow{cmd::kHelpContents, "&Contents", kAllAndEmpty},
    MenuRow{cmd::kHelpUsing, "&Using Help", "E"},
    MenuRow{cmd::kHelpUsing, "&Help on Help", kAll},
    MenuRow{kSeparator, "", kAllAndEmpty},
    MenuRow{cmd::kAbout, "&About...", kAllAndEmpty},
};

template <std::size_t N>
Menu buildMenu(std::string_view title, const std::array<MenuRow, N>& rows, char letter)
{
    Menu menu{title, {}};
    for (const MenuRow& row : rows) {
        if (row.where.find(letter) == std::string_view::npos) {
            continue;
        }
        if (row.id == kSeparator && (menu.items.empty() || menu.items.back().id == kSeparator)) {
            continue;
        }
        menu.items.push_back(MenuItem{row.id, row.text});
    }
    if (!menu.items.empty() && menu.items.back().id == kSeparator) {
        menu.items.pop_back();
    }
    return menu;
}

constexpr std::array kToolbar = {
    cmd::kNew,    cmd::kOpen,         cmd::kSave,       kSeparator,         cmd::kPrint,
    cmd::kCopy,   cmd::kPaste,        kSeparator,       cmd::kPhysChem,     cmd::kCleavage,
    cmd::kMotifs, cmd::kHelicalWheel, cmd::kHydropathy, cmd::kDomainSketch, kSeparator,
    cmd::kBatch,  kSeparator,         cmd::kHelp,
};

} // namespace

std::span<const CommandInfo> AllCommands()
{
    return kCommands;
}

const CommandInfo* FindCommand(int id)
{
    for (const CommandInfo& command : kCommands) {
        if (command.id == id) {
            return &command;
        }
    }
    return nullptr;
}

std::vector<Menu> MenusOf(WindowKind kind)
{
    const char letter = InfoOf(kind).letter;
    std::vector<Menu> menus = {
        buildMenu("&File", kFileMenu, letter),       buildMenu("&Edit", kEditMenu, letter),
        buildMenu("&View", kViewMenu, letter),       buildMenu("&Analyze", kAnalyzeMenu, letter),
        buildMenu("&Options", kOptionsMenu, letter), buildMenu("&Window", kWindowMenu, letter),
        buildMenu("&Help", kHelpMenu, letter),
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
    if (kind != WindowKind::Empty) {
        keys.push_back({"Ctrl+S", cmd::kSave});
        keys.push_back({"Alt+S", cmd::kSaveAs});
        keys.push_back({"Ctrl+P", cmd::kPrint});
    }
    if (kind == WindowKind::SequenceEditor) {
        keys.push_back({"Ctrl+A", cmd::kSelectAll});
        keys.push_back({"Ctrl+Z", cmd::kUndo});
        keys.push_back({"Ctrl+Shift+Z", cmd::kRedo});
    }
    // The tables alone leave keys out that the menus show: Download's Ctrl+D
    // everywhere, Copy's Ctrl+C in the text windows, Select All's Ctrl+A in the
    // digest, Cut and Paste in the editor (its edit fields take their own keys
    // first while they have the focus).
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
