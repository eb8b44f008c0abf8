#include "shell/CommandTable.h"

#include "core/CommandIds.h"
#include "shell/WindowKinds.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
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
        "&Amphipathy Moment... | &Display Domain Structure... |",
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
                        "Plot of &Amphipathy Moment... | &Display Domain Structure... |");
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

TEST(CommandTableTest, EachCommandIsInTheMenusOfTheKindsThatOfferIt)
{
    struct Row
    {
        int id;
        std::string_view text;
        std::string_view kinds; // in the order of AllWindowKinds
    };
    const Row rows[] = {
        {cmd::kNew, "", "ESPDWHMAKF"},
        {cmd::kSave, "", "SPDWHMAKF"},
        {cmd::kSaveMetafile, "", "WHAK"},
        {cmd::kExportHydropathy, "", "H"},
        {cmd::kTerminateBatch, "", "E"},
        {cmd::kCut, "", "S"},
        {cmd::kCopy, "&Copy\tCtrl+C", "SPDWHMAF"},
        {cmd::kCopy, "&Copy All\tCtrl+C", "K"},
        {cmd::kCopyAll, "", "SD"},
        {cmd::kSelectAll, "", "SD"},
        {cmd::kPhysChem, "&Physico-Chemical Properties", "S"},
        {cmd::kPhysChem, "&Physico-Chemical Properties...", "DWHMAKF"},
        {cmd::kCleavage, "", "SPWHMAK"},
        {cmd::kModFinder, "", "SPDWHMAK"},
        {cmd::kMotifs, "", "SPDWHAKF"},
        {cmd::kHelicalWheel, "", "SPDWHMAKF"},
        {cmd::kHydropathy, "", "SPDWMAKF"},
        {cmd::kAmphipathy, "", "SPDWHMKF"},
        {cmd::kDomainSketch, "", "SPDWHMAF"},
        {cmd::kCompleteDigest, "", "DF"},
        {cmd::kNumbersOrLabels, "&Numbers", "W"},
        {cmd::kNumbersOrLabels, "&Label marks", "HK"},
        {cmd::kSelectObject, "", "HAK"},
        {cmd::kSelectionAsWheel, "", "HA"},
        {cmd::kHelp, "", "E"},
        {cmd::kHelpUsing, "&Using Help", "E"},
        {cmd::kHelpUsing, "&Help on Help", "SPDWHMAKF"},
        {cmd::kCascade, "", "SPDWHMAKF"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.id) + " " + std::string(row.text));
        EXPECT_EQ(kindsHolding(row.id, row.text), row.kinds);
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
    EXPECT_EQ(FindCommand(cmd::kNew)->prompt, "Create a new document");
    EXPECT_EQ(FindCommand(cmd::kGoTo)->prompt, "Postion cursor in sequence");
    EXPECT_EQ(FindCommand(cmd::kDownload)->prompt, "Download sequence from NCBI web server");
    EXPECT_EQ(FindCommand(cmd::kPhysChem)->prompt, "Display basic physico-chemical traits");
    EXPECT_EQ(FindCommand(cmd::kWheelRange)->prompt,
              "Change the extend of the displayed part of the sequence");
    EXPECT_EQ(FindCommand(12345), nullptr);
}

TEST(CommandTableTest, AcceleratorsBindOnlyWhatTheirTablesHold)
{
    const auto keysOf = [](WindowKind kind) {
        std::set<std::string> keys;
        for (const Accelerator& accelerator : AcceleratorsOf(kind)) {
            keys.insert(std::string(accelerator.keys) + "=" + std::to_string(accelerator.id));
        }
        return keys;
    };
    const std::set<std::string> empty = {"Alt+F4=57665", "F1=57669", "Ctrl+N=57600", "Ctrl+O=57601",
                                         "Ctrl+I=105"};
    EXPECT_EQ(keysOf(WindowKind::Empty), empty);

    std::set<std::string> document = empty;
    document.insert({"Ctrl+S=57603", "Alt+S=57604", "Ctrl+P=57607"});
    EXPECT_EQ(keysOf(WindowKind::PhysChem), document);
    EXPECT_EQ(keysOf(WindowKind::Motif), document);

    std::set<std::string> editor = document;
    editor.insert({"Ctrl+A=57642", "Ctrl+Z=57643", "Ctrl+Shift+Z=57644"});
    EXPECT_EQ(keysOf(WindowKind::SequenceEditor), editor);

    for (const WindowKind plot :
         {WindowKind::Wheel, WindowKind::Hydropathy, WindowKind::Amphipathy, WindowKind::Sketch}) {
        std::set<std::string> withCopy = document;
        withCopy.insert("Ctrl+C=57634");
        EXPECT_EQ(keysOf(plot), withCopy);
    }
    // The Download item shows Ctrl+D, and no table binds it.
    for (const WindowKindInfo& info : AllWindowKinds()) {
        for (const Accelerator& accelerator : AcceleratorsOf(info.kind)) {
            EXPECT_NE(accelerator.keys, "Ctrl+D");
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
    EXPECT_EQ(TooltipOf(cmd::kDomainSketch), "Domaine structure");
    EXPECT_EQ(TooltipOf(cmd::kCleavage), "Proteolytic digest");
    EXPECT_EQ(TooltipOf(cmd::kUnderline), "Underlined");
    EXPECT_EQ(TooltipOf(cmd::kModFinder), "");
    for (const int id : layout) {
        if (id != kSeparator) {
            EXPECT_NE(TooltipOf(id), "") << id;
        }
    }
}

TEST(CommandTableTest, WindowKindsAndTemplatesInRegistrationOrder)
{
    EXPECT_EQ(AllWindowKinds().size(), 10u);
    std::vector<int> resources;
    for (const DocumentTemplate& entry : DocumentTemplates()) {
        resources.push_back(entry.resourceId);
    }
    EXPECT_EQ(resources, (std::vector<int>{201, 201, 201, 202, 203, 218, 210, 204, 207, 213, 211}));
    EXPECT_EQ(DocumentTemplates()[2].viewClass, "CPepEditView");
    EXPECT_EQ(InfoOf(WindowKind::Wheel).atMost, 5);
    EXPECT_EQ(InfoOf(WindowKind::PhysChem).title, "Physico-chemical Properties");
    EXPECT_EQ(InfoOf(WindowKind::Empty).helpTopic, "QUORIN");
    EXPECT_EQ(InfoOf(WindowKind::SequenceEditor).helpTopic, "CONTENT");
}

} // namespace
} // namespace quorin::shell
