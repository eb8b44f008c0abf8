#include "shell/EnablingRules.h"

#include "core/CommandIds.h"
#include "shell/ui/WindowFactories.h"

#include <gtest/gtest.h>

#include <string>

namespace quorin::shell {
namespace {

namespace cmd = core::cmd;
using enum WindowKind;

[[maybe_unused]] const bool kKindsRegistered = (ui::RegisterWindowKinds(), true);

AnalyzeState withSequence()
{
    AnalyzeState state;
    state.residueLength = 120;
    return state;
}

TEST(EnablingRulesTest, AnEmptySequenceDisablesEveryAnalysisEverywhere)
{
    const AnalyzeState empty;
    for (const WindowKind kind : {SequenceEditor, PhysChem, Digest, Wheel, Hydropathy, Motif,
                                  Amphipathy, Sketch, ModFinder}) {
        for (const int id :
             {cmd::kPhysChem, cmd::kCleavage, cmd::kModFinder, cmd::kMotifs, cmd::kHelicalWheel,
              cmd::kHydropathy, cmd::kAmphipathy, cmd::kDomainSketch}) {
            SCOPED_TRACE(std::to_string(id));
            EXPECT_FALSE(AnalyzeCommandEnabled(id, kind, empty));
        }
    }
}

TEST(EnablingRulesTest, EachRuleFollowsItsWindowOrFlag)
{
    struct Row
    {
        const char* name;
        int id;
        WindowKind kind;
        void (*set)(AnalyzeState&);
        bool enabled;
    };
    const Row rows[] = {
        {"R1 nothing open", cmd::kPhysChem, SequenceEditor, [](AnalyzeState&) {}, true},
        {"R1 view open", cmd::kPhysChem, SequenceEditor,
         [](AnalyzeState& s) { s.windowsOpen[PhysChem] = 1; }, false},
        {"R1 view open, plot window", cmd::kPhysChem, Hydropathy,
         [](AnalyzeState& s) { s.windowsOpen[PhysChem] = 1; }, false},
        {"R2 digest window open", cmd::kCleavage, PhysChem,
         [](AnalyzeState& s) { s.digestViewExists = true; }, false},
        {"R2 digest closed again, editor", cmd::kCleavage, SequenceEditor,
         [](AnalyzeState& s) { s.digestComputed = true; }, true},
        {"R2 digest closed again, plot", cmd::kCleavage, Wheel,
         [](AnalyzeState& s) { s.digestComputed = true; }, false},
        {"R2 digest window open, plot without digest", cmd::kCleavage, Sketch,
         [](AnalyzeState& s) { s.digestViewExists = true; }, true},
        {"R3 no digest", cmd::kModFinder, SequenceEditor, [](AnalyzeState&) {}, false},
        {"R3 digest", cmd::kModFinder, Digest, [](AnalyzeState& s) { s.digestComputed = true; },
         true},
        {"R3 digest and ModFinder open", cmd::kModFinder, Digest,
         [](AnalyzeState& s) {
             s.digestComputed = true;
             s.windowsOpen[ModFinder] = 1;
         },
         false},
        {"R3 digest job still running", cmd::kModFinder, Digest,
         [](AnalyzeState& s) {
             s.digestComputed = true;
             s.digestBusy = true;
         },
         false},
        {"R4 motif open", cmd::kMotifs, ModFinder,
         [](AnalyzeState& s) { s.windowsOpen[Motif] = 1; }, false},
        {"R5 four wheels", cmd::kHelicalWheel, SequenceEditor,
         [](AnalyzeState& s) { s.windowsOpen[Wheel] = 4; }, true},
        {"R5 five wheels", cmd::kHelicalWheel, Hydropathy,
         [](AnalyzeState& s) { s.windowsOpen[Wheel] = 5; }, false},
        {"R5 five wheels, from a wheel", cmd::kHelicalWheel, Wheel,
         [](AnalyzeState& s) { s.windowsOpen[Wheel] = 5; }, true},
        {"R6 plot open", cmd::kHydropathy, Wheel, [](AnalyzeState& s) { s.hydropathyOpen = true; },
         false},
        {"R6 plot open, from amphipathy", cmd::kHydropathy, Amphipathy,
         [](AnalyzeState& s) { s.hydropathyOpen = true; }, true},
        {"R7 plot open, text window", cmd::kAmphipathy, Motif,
         [](AnalyzeState& s) { s.amphipathyOpen = true; }, false},
        {"R7 plot open, from a wheel", cmd::kAmphipathy, Wheel,
         [](AnalyzeState& s) { s.amphipathyOpen = true; }, true},
        {"R7 plot open, from the sketch", cmd::kAmphipathy, Sketch,
         [](AnalyzeState& s) { s.amphipathyOpen = true; }, true},
        {"R8 sketch open", cmd::kDomainSketch, Amphipathy,
         [](AnalyzeState& s) { s.sketchOpen = true; }, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        AnalyzeState state = withSequence();
        row.set(state);
        EXPECT_EQ(AnalyzeCommandEnabled(row.id, row.kind, state), row.enabled);
    }
}

TEST(EnablingRulesTest, OnlyTheEightAnalyzeCommandsAreAnalyzeCommands)
{
    EXPECT_TRUE(IsAnalyzeCommand(cmd::kDomainSketch));
    EXPECT_TRUE(IsAnalyzeCommand(cmd::kModFinder));
    EXPECT_FALSE(IsAnalyzeCommand(cmd::kSave));
    EXPECT_FALSE(IsAnalyzeCommand(cmd::kPreferences));
}

TEST(EnablingRulesTest, EditorCommandsNeedTheClipboardOrAHistoryOnlyWhereTheyUseIt)
{
    const EditorState nothing;
    for (const int id : {cmd::kCut, cmd::kCopy, cmd::kSelectAll, cmd::kCopyAll, cmd::kSelectRange,
                         cmd::kGoTo, cmd::kPrint}) {
        SCOPED_TRACE(std::to_string(id));
        ASSERT_TRUE(IsEditorCommand(id));
        EXPECT_TRUE(EditorCommandEnabled(id, nothing));
    }
    EXPECT_FALSE(EditorCommandEnabled(cmd::kPaste, nothing));
    EXPECT_FALSE(EditorCommandEnabled(cmd::kUndo, nothing));
    EXPECT_FALSE(EditorCommandEnabled(cmd::kRedo, nothing));
    EXPECT_TRUE(EditorCommandEnabled(cmd::kPaste, {true, false, false}));
    EXPECT_TRUE(EditorCommandEnabled(cmd::kUndo, {false, true, false}));
    EXPECT_TRUE(EditorCommandEnabled(cmd::kRedo, {false, false, true}));
    EXPECT_FALSE(IsEditorCommand(cmd::kPhysChem));
    EXPECT_FALSE(IsEditorCommand(cmd::kSave));
}

} // namespace
} // namespace quorin::shell
