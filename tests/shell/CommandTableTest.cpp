#include "shell/CommandTable.h"

#include "core/CommandIds.h"
#include "plots/Wheel.h"
#include "shell/WindowKinds.h"
#include "shell/ui/WindowFactories.h"

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

[[maybe_unused]] const bool kKindsRegistered = (ui::RegisterWindowKinds(), true);

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
        "Search for Sequence &Motifs... | Scan with P&ROSITE File... | --- | &Helical Wheel... | "
        "H&ydropathy Plot... | Plot of "
        "&Amphipathy Moment... | &Display Domain Structure... | &Titration Curve... | --- | "
        "Entry &Features... |",
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
                        "Sequence &Motifs... | Scan with P&ROSITE File... | --- | &Helical "
                        "Wheel... | H&ydropathy Plot... | "
                        "Plot of &Amphipathy Moment... | &Display Domain Structure... | "
                        "&Titration Curve... | --- | Entry &Features... |");
    EXPECT_EQ(lines[0], flatten(WindowKind::SequenceEditor)[0]);
}

TEST(CommandTableTest, EveryMenuCommandHasAPromptRowAndNoMenuHasLooseSeparators)
{
    for (const WindowKindInfo& info : AllWindowKinds()) {
        SCOPED_TRACE(static_cast<int>(info.kind));
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
        SCOPED_TRACE(static_cast<int>(kind));
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
        SCOPED_TRACE(static_cast<int>(info.kind));
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
    for (const auto& [id, tip] : tips) {
        SCOPED_TRACE(id);
        EXPECT_EQ(TooltipOf(id), tip);
    }
    // Other ids get no text.
    EXPECT_EQ(TooltipOf(cmd::kModFinder), "");
    EXPECT_EQ(TooltipOf(cmd::kTitration), "");
    for (const int id : layout) {
        if (id != kSeparator) {
            EXPECT_NE(TooltipOf(id), "") << id;
        }
    }
}

TEST(CommandTableTest, EveryKindIsRegisteredOnceAndOwnsItsCommands)
{
    std::set<WindowKind> kinds;
    for (const WindowKindInfo& info : AllWindowKinds()) {
        SCOPED_TRACE(static_cast<int>(info.kind));
        EXPECT_TRUE(kinds.insert(info.kind).second);
        EXPECT_FALSE(info.title.empty());
        EXPECT_FALSE(info.HelpTopic().empty());
        EXPECT_GE(info.atMost, 1);
        // A command is known once: the row found for it is the kind's own,
        // not one of the table's or of a kind registered before.
        for (const CommandInfo& command : info.commands) {
            EXPECT_EQ(FindCommand(command.id), &command) << command.id;
        }
        if (info.analyze.command.id != 0) {
            EXPECT_EQ(FindCommand(info.analyze.command.id), &info.analyze.command);
            EXPECT_NE(info.analyze.enabled, nullptr);
        }
    }
    EXPECT_EQ(kinds.size(), 13u);
    EXPECT_EQ(InfoOf(WindowKind::PhysChem).title, "Physico-chemical Properties");
    EXPECT_EQ(InfoOf(WindowKind::Empty).HelpTopic(), "QUORIN");
    EXPECT_EQ(InfoOf(WindowKind::SequenceEditor).HelpTopic(), "CONTENT");
}

TEST(CommandTableTest, AKindsOwnAnalyzeCommandIsListedWhereSeveralMayOpen)
{
    for (const WindowKindInfo& info : AllWindowKinds()) {
        if (info.analyze.command.id == 0) {
            continue;
        }
        SCOPED_TRACE(static_cast<int>(info.kind));
        bool listed = false;
        for (const Menu& menu : MenusOf(info.kind)) {
            for (const MenuItem& item : menu.items) {
                listed = listed || item.id == info.analyze.command.id;
            }
        }
        EXPECT_EQ(listed, info.atMost > 1);
    }
    EXPECT_EQ(InfoOf(WindowKind::Wheel).atMost, plots::kMaxWheels);
}

} // namespace
} // namespace quorin::shell
