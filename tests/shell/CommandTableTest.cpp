#include "shell/CommandTable.h"

#include "core/CommandIds.h"
#include "shell/WindowKinds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorin::shell {
namespace {

namespace cmd = core::cmd;

/// A menu bar as lines: "Title: item | item | ---", blocks as <recent> and <windows>.
std::vector<std::string> flatten(WindowKind kind)
{
    std::vector<std::string> lines;
    for (const Menu& menu : MenusOf(kind)) {
        std::string line = std::string(menu.title) + ":";
        for (const MenuItem& item : menu.items) {
            line += " ";
            if (item.id == kSeparator) {
                line += "---";
            } else if (item.id == kRecentFilesBlock) {
                line += "<recent>";
            } else if (item.id == kWindowListBlock) {
                line += "<windows>";
            } else {
                line += std::string(item.text);
            }
            line += " |";
        }
        lines.push_back(line);
    }
    return lines;
}

TEST(CommandTableTest, TheEmptyFrameOffersOnlyWhatNeedsNoDocument)
{
    const std::vector<std::string> expected = {
        "&File: &New\tCtrl+N | &Open...\tCtrl+O | --- | &Import...\tCtrl+I | &Download "
        "Sequence...\tCtrl+D | --- | &Batch analysis... | &Terminate Batch analysis... | --- | "
        "P&rint Setup... | --- | <recent> | --- | E&xit |",
        "&Options: &Preferences... |",
        "&Help: &Content\tF1 | &Contents | &Using Help | --- | &About... |",
    };
    EXPECT_EQ(flatten(WindowKind::Empty), expected);
}

TEST(CommandTableTest, TheSequenceEditorHasTheEditCommandsAndTheWholeAnalyzeMenu)
{
    const std::vector<std::string> expected = {
        "&File: &New\tCtrl+N | &Open...\tCtrl+O | &Close | &Save\tCtrl+S | Save &As...\tAlt-S | "
        "--- | &Import...\tCtrl+I | &Download Sequence...\tCtrl+D | &Export... | --- | &Batch "
        "analysis... | --- | P&rint Setup... | &Print...\tCtrl+P | --- | <recent> | --- | "
        "E&xit\tAlt-F4 |",
        "&Edit: &Undo\tCtrl+Z | &Redo\tCtrl+Shift+Z | --- | Cu&t\tCtrl+X | &Copy\tCtrl+C | "
        "&Paste\tCtrl+V | --- | Select &All\tCtrl+A | C&opy All | --- | &Select from... to... | "
        "&Go to... |",
        "&Analyze: &Physico-Chemical Properties | &Sequence-Specific Cleavage... | &Modfinder... | "
        "Search for Sequence &Motifs... | --- | &Helical Wheel... | H&ydropathy Plot... | Plot of "
        "&Amphipathy Moment... | &Display Domain Structure... | &Titration Curve... |",
        "&Options: &Preferences... |",
        "&Window: &Cascade | &Tile | &Arrange Icons | --- | <windows> |",
        "&Help: &Contents | &Help on Help | --- | &About... |",
    };
    EXPECT_EQ(flatten(WindowKind::SequenceEditor), expected);
}

TEST(CommandTableTest, ThePropertiesWindowLeavesOutItsOwnLauncher)
{
    const auto lines = flatten(WindowKind::PhysChem);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[1], "&Edit: &Copy\tCtrl+C |");
    EXPECT_EQ(lines[2], "&Analyze: &Sequence-Specific Cleavage... | &Modfinder... | Search for "
                        "Sequence &Motifs... | --- | &Helical Wheel... | H&ydropathy Plot... | "
                        "Plot of &Amphipathy Moment... | &Display Domain Structure... | "
                        "&Titration Curve... |");
    EXPECT_EQ(lines[0], flatten(WindowKind::SequenceEditor)[0]);
}

/// Which kinds' menus hold a command, as letters of the kinds.
std::string kindsHolding(int id, std::string_view text = {})
{
    std::string letters;
    for (const WindowKindInfo& info : AllWindowKinds()) {
        for (const Menu& menu : MenusOf(info.kind)) {
            bool found = false;
            for (const MenuItem& item : menu.items) {
                found = found || (item.id == id && (text.empty() || item.text == text));
            }
            if (found) {
                letters += info.letter;
                break;
            }
        }
    }
    return letters;
}

/// One menu item as the program shows it and the kinds whose menus hold it.
struct MenuRowExpectation
{
    int id;
    std::string_view text;
    std::string_view kinds; // in the order of AllWindowKinds: E S P D W H M A K F T
};

constexpr std::string_view kEvery = "ESPDWHMAKFT";
constexpr std::string_view kDocuments = "SPDWHMAKFT";

/// Every item of the command table with its text, "&" and shortcut as shown.
constexpr MenuRowExpectation kMenuRows[] = {
    {cmd::kNew, "&New\tCtrl+N", kEvery},
    {cmd::kOpen, "&Open...\tCtrl+O", kEvery},
    {cmd::kSave, "&Save\tCtrl+S", kDocuments},
    {cmd::kSaveAs, "Save &As...\tAlt-S", kDocuments},
    {cmd::kSaveMetafile, "Save Metafile...", "WHAKT"},
    {cmd::kImport, "&Import...\tCtrl+I", kEvery},
    {cmd::kDownload, "&Download Sequence...\tCtrl+D", kEvery},
    {cmd::kExport, "&Export...", kDocuments},
    {cmd::kExportHydropathy, "&Export hydropathy data...", "H"},
    {cmd::kExportDigestCsv, "Export as CS&V...", "D"},
    {cmd::kClose, "&Close", kDocuments},
    {cmd::kBatch, "&Batch analysis...", kEvery},
    {cmd::kTerminateBatch, "&Terminate Batch analysis...", "E"},
    {cmd::kPrintSetup, "P&rint Setup...", kEvery},
    {cmd::kPrint, "&Print...\tCtrl+P", kDocuments},
    {cmd::kExit, "E&xit", "E"},
    {cmd::kExit, "E&xit\tAlt-F4", kDocuments},
    {cmd::kCut, "Cu&t\tCtrl+X", "S"},
    {cmd::kCopy, "&Copy\tCtrl+C", "SPDWHMAFT"},
    {cmd::kCopyTable, "Copy &Table", "T"},
    {cmd::kCopy, "&Copy All\tCtrl+C", "K"},
    {cmd::kCopyAll, "C&opy All", "SD"},
    {cmd::kPaste, "&Paste\tCtrl+V", "S"},
    {cmd::kSelectAll, "Select &All\tCtrl+A", "SD"},
    {cmd::kSelectRange, "&Select from... to...", "S"},
    {cmd::kGoTo, "&Go to...", "S"},
    {cmd::kPhysChem, "&Physico-Chemical Properties", "S"},
    {cmd::kPhysChem, "&Physico-Chemical Properties...", "DWHMAKFT"},
    {cmd::kCleavage, "&Sequence-Specific Cleavage...", "SPWHMAKT"},
    {cmd::kModFinder, "&Modfinder...", "SPDWHMAKT"},
    {cmd::kMotifs, "Search for Sequence &Motifs...", "SPDWHAKFT"},
    {cmd::kHelicalWheel, "&Helical Wheel...", kDocuments},
    {cmd::kHydropathy, "H&ydropathy Plot...", "SPDWMAKFT"},
    {cmd::kAmphipathy, "Plot of &Amphipathy Moment...", "SPDWHMKFT"},
    {cmd::kDomainSketch, "&Display Domain Structure...", "SPDWHMAFT"},
    {cmd::kTitration, "&Titration Curve...", kDocuments},
    {cmd::kPreferences, "&Preferences...", kEvery},
    {cmd::kSortByStart, "Sort fragments by &start", "D"},
    {cmd::kSortByLength, "Sort fragments by &length", "D"},
    {cmd::kSortByWeight, "Sort fragments by &weight", "D"},
    {cmd::kCompleteDigest, "&Complete digest", "DF"},
    {cmd::kDigestOptions, "Digest &Options...", "D"},
    {cmd::kSortByPosition, "Sort List by Sequence &Position", "M"},
    {cmd::kSortByMotif, "Sort List by &Motif", "M"},
    {cmd::kZoomIn, "Zoom &In", "W"},
    {cmd::kZoomOut, "Zoom &Out", "W"},
    {cmd::kWheelColours, "&Color", "W"},
    {cmd::kNumbersOrLabels, "&Numbers", "W"},
    {cmd::kNumbersOrLabels, "&Label marks", "HK"},
    {cmd::kWheelRange, "&Modify displayed part of sequence...", "W"},
    {cmd::kHydropathyRange, "&Modify displayed part of sequence...", "H"},
    {cmd::kAmphipathyRange, "&Modify displayed part of sequence...", "A"},
    {cmd::kWheelAmphipathy, "&Amphipathy Moment", "W"},
    {cmd::kMarkPositions, "&Mark positions...", "HK"},
    {cmd::kDeleteAllMarks, "&Delete all marks", "HK"},
    {cmd::kTransmembrane, "&Transmembrane prediction", "H"},
    {cmd::kSelectObject, "&Select object", "HAK"},
    {cmd::kInsertText, "&Insert text...", "HK"},
    {cmd::kSelectionAsWheel, "Display selection as helical &wheel", "HA"},
    {cmd::kCascade, "&Cascade", kDocuments},
    {cmd::kTile, "&Tile", kDocuments},
    {cmd::kArrangeIcons, "&Arrange Icons", kDocuments},
    {cmd::kHelp, "&Content\tF1", "E"},
    {cmd::kHelpContents, "&Contents", kEvery},
    {cmd::kHelpUsing, "&Using Help", "E"},
    {cmd::kHelpUsing, "&Help on Help", kDocuments},
    {cmd::kAbout, "&About...", kEvery},
    // The editor's history and the sketch's own commands.
    {cmd::kUndo, "&Undo\tCtrl+Z", "S"},
    {cmd::kRedo, "&Redo\tCtrl+Shift+Z", "S"},
    {cmd::kModifySketch, "&Modify domain structure...", "K"},
    {cmd::kAddDomain, "&Add Domain...", "K"},
    {cmd::kDomainProperties, "Domain &Properties...", "K"},
    {cmd::kDeleteSketchItem, "&Delete Domain", "K"},
    {cmd::kTitrationSet, "&Modify pK set...", "T"},
};

TEST(CommandTableTest, EachCommandIsInTheMenusOfTheKindsThatOfferIt)
{
    for (const MenuRowExpectation& row : kMenuRows) {
        SCOPED_TRACE(std::to_string(row.id) + " " + std::string(row.text));
        EXPECT_EQ(kindsHolding(row.id, row.text), row.kinds);
    }
}

TEST(CommandTableTest, NoMenuHoldsAnItemOutsideTheTable)
{
    for (const WindowKindInfo& info : AllWindowKinds()) {
        for (const Menu& menu : MenusOf(info.kind)) {
            for (const MenuItem& item : menu.items) {
                if (item.id <= 0) {
                    continue; // separators and the recent-file and window lists
                }
                SCOPED_TRACE(std::string(1, info.letter) + " " + std::string(item.text));
                bool known = false;
                for (const MenuRowExpectation& row : kMenuRows) {
                    known = known || (row.id == item.id && row.text == item.text &&
                                      row.kinds.find(info.letter) != std::string_view::npos);
                }
                EXPECT_TRUE(known);
            }
        }
    }
}

TEST(CommandTableTest, EveryMenuCommandHasAPromptRowAndNoMenuHasLooseSeparators)
{
    for (const WindowKindInfo& info : AllWindowKinds()) {
        SCOPED_TRACE(std::string(1, info.letter));
        for (const Menu& menu : MenusOf(info.kind)) {
            ASSERT_FALSE(menu.items.empty());
            EXPECT_NE(menu.items.front().id, kSeparator);
            EXPECT_NE(menu.items.back().id, kSeparator);
            for (std::size_t i = 0; i < menu.items.size(); ++i) {
                const int id = menu.items[i].id;
                if (id == kSeparator) {
                    EXPECT_NE(menu.items[i - 1].id, kSeparator);
                } else if (id > 0) {
                    EXPECT_NE(FindCommand(id), nullptr) << id;
                }
            }
        }
    }
}

TEST(CommandTableTest, ThePromptsThatUsersSeeAreTheProgramsOwn)
{
    const std::pair<int, std::string_view> prompts[] = {
        {cmd::kNew, "Create a new document"},
        {cmd::kImport, "Import sequence data"},
        {cmd::kDownload, "Download sequence from NCBI web server"},
        {cmd::kExport, "Export sequence data"},
        {cmd::kBatch, "Reads and analyses multiple sequences"},
        {cmd::kTerminateBatch, "Terminate batch analysis"},
        {cmd::kCopyAll, "Copy the entire document"},
        {cmd::kSelectRange, "Select sequence range"},
        {cmd::kGoTo, "Postion cursor in sequence"},
        {cmd::kPhysChem, "Display basic physico-chemical traits"},
        {cmd::kCleavage, "Generate pattern of site-specific cleavage"},
        {cmd::kModFinder, "Identify post-translational modifications"},
        {cmd::kMotifs, "Search for sequence motifs"},
        {cmd::kHelicalWheel, "Display part of the sequence as helical wheel"},
        {cmd::kHydropathy, "Display hydropathy plot"},
        {cmd::kAmphipathy, "Display plot of amphipathy moment"},
        {cmd::kDomainSketch, "Display sketch of domain structure"},
        {cmd::kPreferences, "Change user preferences"},
        {cmd::kZoomIn, "Enlarge the display"},
        {cmd::kZoomOut, "Reduce the display"},
        {cmd::kWheelColours, "Switch the color code for residues on/off"},
        {cmd::kNumbersOrLabels, "Switch the numbering of residues on/off"},
        {cmd::kWheelRange, "Change the extend of the displayed part of the sequence"},
        {cmd::kHydropathyRange,
         "Change the extend of the displayed part of the sequence and the window size"},
        {cmd::kWheelAmphipathy, "Calculate the amphipathy of this helix"},
        {cmd::kMarkPositions, "Mark individual residues with an arrow"},
        {cmd::kDeleteAllMarks, "Delete all marks"},
        {cmd::kSelectObject, "Change to the standard select/move editing mode"},
        {cmd::kInsertText, "Place text on the page"},
    };
    for (const auto& [id, prompt] : prompts) {
        SCOPED_TRACE(id);
        ASSERT_NE(FindCommand(id), nullptr);
        EXPECT_EQ(FindCommand(id)->prompt, prompt);
    }
    EXPECT_EQ(FindCommand(12345), nullptr);
}

TEST(CommandTableTest, AcceleratorsBindTheTablesKeysAndWhatTheMenusShow)
{
    const auto keysOf = [](WindowKind kind) {
        std::set<std::string> keys;
        for (const Accelerator& accelerator : AcceleratorsOf(kind)) {
            keys.insert(accelerator.keys + "=" + std::to_string(accelerator.id));
        }
        return keys;
    };
    // Ctrl+D is bound wherever the Download item shows it.
    const std::set<std::string> empty = {"Alt+F4=57665", "F1=57669",   "Ctrl+N=57600",
                                         "Ctrl+O=57601", "Ctrl+I=105", "Ctrl+D=162"};
    EXPECT_EQ(keysOf(WindowKind::Empty), empty);

    std::set<std::string> document = empty;
    document.insert({"Ctrl+S=57603", "Alt+S=57604", "Ctrl+P=57607", "Ctrl+C=57634"});
    for (const WindowKind kind :
         {WindowKind::PhysChem, WindowKind::Motif, WindowKind::ModFinder, WindowKind::Wheel,
          WindowKind::Hydropathy, WindowKind::Amphipathy, WindowKind::Sketch}) {
        SCOPED_TRACE(std::string(1, InfoOf(kind).letter));
        EXPECT_EQ(keysOf(kind), document);
    }

    std::set<std::string> digest = document;
    digest.insert("Ctrl+A=57642");
    EXPECT_EQ(keysOf(WindowKind::Digest), digest);

    std::set<std::string> editor = digest;
    editor.insert({"Ctrl+Z=57643", "Ctrl+Shift+Z=57644", "Ctrl+X=57635", "Ctrl+V=57637"});
    EXPECT_EQ(keysOf(WindowKind::SequenceEditor), editor);
}

TEST(CommandTableTest, EveryShortcutAMenuShowsIsBoundToItsItemOnce)
{
    EXPECT_EQ(ShortcutShown("Save &As...\tAlt-S"), "Alt+S");
    EXPECT_EQ(ShortcutShown("&Redo\tCtrl+Shift+Z"), "Ctrl+Shift+Z");
    EXPECT_EQ(ShortcutShown("&Export..."), "");
    for (const WindowKindInfo& info : AllWindowKinds()) {
        SCOPED_TRACE(std::string(1, info.letter));
        const std::vector<Accelerator> keys = AcceleratorsOf(info.kind);
        std::set<std::string> distinct;
        for (const Accelerator& key : keys) {
            EXPECT_TRUE(distinct.insert(key.keys).second) << key.keys << " is bound twice";
        }
        for (const Menu& menu : MenusOf(info.kind)) {
            for (const MenuItem& item : menu.items) {
                const std::string shown = ShortcutShown(item.text);
                if (shown.empty()) {
                    continue;
                }
                SCOPED_TRACE(std::string(item.text));
                const auto bound =
                    std::find_if(keys.begin(), keys.end(),
                                 [&](const Accelerator& key) { return key.keys == shown; });
                ASSERT_NE(bound, keys.end());
                EXPECT_EQ(bound->id, item.id);
            }
        }
    }
}

TEST(CommandTableTest, TheToolbarHasEighteenSlotsWithTheirTooltips)
{
    const std::vector<int> expected = {
        cmd::kNew,    cmd::kOpen,         cmd::kSave,       kSeparator,         cmd::kPrint,
        cmd::kCopy,   cmd::kPaste,        kSeparator,       cmd::kPhysChem,     cmd::kCleavage,
        cmd::kMotifs, cmd::kHelicalWheel, cmd::kHydropathy, cmd::kDomainSketch, kSeparator,
        cmd::kBatch,  kSeparator,         cmd::kHelp};
    const auto layout = ToolbarLayout();
    EXPECT_EQ(std::vector<int>(layout.begin(), layout.end()), expected);
    const std::pair<int, std::string_view> tips[] = {
        {cmd::kNew, "New"},
        {cmd::kDownload, "Download"},
        {cmd::kOpen, "Open"},
        {cmd::kSave, "Save"},
        {cmd::kPrint, "Print"},
        {cmd::kCopy, "Copy"},
        {cmd::kPaste, "Paste"},
        {cmd::kBold, "Bold"},
        {cmd::kItalic, "Italic"},
        {cmd::kUnderline, "Underlined"},
        {cmd::kPhysChem, "Physico-chemical properties"},
        {cmd::kCleavage, "Proteolytic digest"},
        {cmd::kMotifs, "Find motifs"},
        {cmd::kHelicalWheel, "Helical wheel"},
        {cmd::kDomainSketch, "Domaine structure"},
        {cmd::kBatch, "Batch analysis"},
        {cmd::kHydropathy, "Hydropathy plot"},
        {cmd::kHelp, "Help"},
    };
    std::size_t withTips = 0;
    for (const auto& [id, tip] : tips) {
        SCOPED_TRACE(id);
        EXPECT_EQ(TooltipOf(id), tip);
    }
    for (const CommandInfo& command : AllCommands()) {
        withTips += command.tooltip.empty() ? 0 : 1;
    }
    // Other ids get no text.
    EXPECT_EQ(withTips, std::size(tips));
    EXPECT_EQ(TooltipOf(cmd::kModFinder), "");
    for (const int id : layout) {
        if (id != kSeparator) {
            EXPECT_NE(TooltipOf(id), "") << id;
        }
    }
}

TEST(CommandTableTest, WindowKindsAndTemplatesInRegistrationOrder)
{
    EXPECT_EQ(AllWindowKinds().size(), 11u);
    std::vector<int> resources;
    for (const DocumentTemplate& entry : DocumentTemplates()) {
        resources.push_back(entry.resourceId);
    }
    EXPECT_EQ(resources,
              (std::vector<int>{201, 201, 201, 202, 203, 218, 210, 204, 207, 213, 211, 220}));
    EXPECT_EQ(DocumentTemplates()[2].viewClass, "CPepEditView");
    EXPECT_EQ(InfoOf(WindowKind::Wheel).atMost, 5);
    EXPECT_EQ(InfoOf(WindowKind::PhysChem).title, "Physico-chemical Properties");
    EXPECT_EQ(InfoOf(WindowKind::Empty).helpTopic, "QUORIN");
    EXPECT_EQ(InfoOf(WindowKind::SequenceEditor).helpTopic, "CONTENT");
}

} // namespace
} // namespace quorin::shell
