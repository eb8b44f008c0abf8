#include "shell/SequenceEditor.h"

#include <gtest/gtest.h>

namespace quorin::shell {
namespace {

TEST(DisplayTextTest, BlocksOfTenAndFullLinesEndWithABlankBeforeTheBreak)
{
    const std::string residues(25, 'A');
    EXPECT_EQ(BuildDisplayText(residues, 0, -1, 10, 6), "AAAAAAAAAA AAAAAAAAAA AAAAA");
    EXPECT_EQ(BuildDisplayText(std::string(20, 'K'), 0, -1, 10, 1),
              "KKKKKKKKKK \r\nKKKKKKKKKK \r\n");
    EXPECT_EQ(BuildDisplayText("MKVLA", 1, 3, 2, 6), "K V");
    EXPECT_EQ(BuildDisplayText("MKV", 0, 99, 10, 6), "MKV");
    EXPECT_EQ(BuildDisplayText("", 0, -1, 10, 6), "");
    // A layout of zero or less falls back to blocks of ten, six to a line.
    EXPECT_EQ(BuildDisplayText(std::string(61, 'A'), 0, -1, 0, -2),
              BuildDisplayText(std::string(61, 'A'), 0, -1, 10, 6));
}

TEST(DisplayTextTest, ResidueOffsetsSkipBlanksAndLineBreaks)
{
    const std::string display = "AAAAAAAAAA \r\nCC";
    EXPECT_EQ(ResidueOffset(display, 0), 0);
    EXPECT_EQ(ResidueOffset(display, 10), 10);
    EXPECT_EQ(ResidueOffset(display, 13), 10);
    EXPECT_EQ(ResidueOffset(display, 14), 11);
    EXPECT_EQ(ResidueOffset(display, 99), 12);
    EXPECT_EQ(ResidueOffset(display, -4), 0);
}

/// Replays one edit of the control: text is what the control holds after the
/// keystroke, caret where the control put it.
class SequenceEditorTest : public ::testing::Test
{
protected:
    SequenceEditorTest() : editor(record) { record.ResetCurrentTables(); }

    void show(const std::string& sequence)
    {
        record.SetSequence(sequence);
        editor.Refresh(60);
    }

    /// Inserts text at caret as the control would and hands the result over.
    EditResult type(int caret, const std::string& text)
    {
        std::string control = editor.ControlText();
        control.insert(static_cast<std::size_t>(caret), text);
        return editor.ApplyControlText(control, caret + static_cast<int>(text.size()));
    }

    /// Removes count characters before caret (Backspace) as the control would.
    EditResult backspace(int caret, int count = 1)
    {
        std::string control = editor.ControlText();
        control.erase(static_cast<std::size_t>(caret - count), static_cast<std::size_t>(count));
        return editor.ApplyControlText(control, caret - count);
    }

    core::PropertyRecord record;
    SequenceEditor editor;
};

TEST_F(SequenceEditorTest, TypedLowerCaseLetterIsShownUpperCaseWithTheCaretAfterIt)
{
    show("");
    const EditResult result = type(0, "a");
    EXPECT_TRUE(result.textReplaced);
    EXPECT_EQ(editor.DisplayText(), "A");
    EXPECT_EQ(result.caret, 1);
    EXPECT_EQ(record.CleanSequence(), "A");
}

TEST_F(SequenceEditorTest, RejectedCharactersChangeNothing)
{
    show("MKVLA");
    const struct
    {
        int caret;
        std::string typed;
        int expectedCaret;
    } rows[] = {
        {5, "1", 5}, // a digit after the last residue: caret stays at the end
        {2, "b", 2}, // B vanishes; the caret goes back before it
        {2, " ", 2}, // blanks are layout only
        {0, "-", 0}, // never below 0
        {3, "Z", 3},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.typed + " at " + std::to_string(row.caret));
        const EditResult result = type(row.caret, row.typed);
        EXPECT_EQ(editor.DisplayText(), "MKVLA");
        EXPECT_EQ(result.caret, row.expectedCaret);
    }
    EXPECT_EQ(record.CleanSequence(), "MKVLA");
}

TEST_F(SequenceEditorTest, DigitAfterAFullBlockLeavesTheCaretBeforeItsBlank)
{
    show("ACDEFGHIKL");
    ASSERT_EQ(editor.DisplayText(), "ACDEFGHIKL ");
    EXPECT_EQ(type(11, "7").caret, 10);
}

TEST_F(SequenceEditorTest, TheTenthResidueOfABlockMovesTheCaretPastTheNewBlank)
{
    show("ACDEFGHIK");
    const EditResult result = type(9, "L");
    EXPECT_EQ(editor.DisplayText(), "ACDEFGHIKL ");
    EXPECT_EQ(result.caret, 11);
    EXPECT_EQ(editor.Selection().start, 10);
}

TEST_F(SequenceEditorTest, XAndOStayAndMoveTheCaretLikeResidues)
{
    show("ACDEFGHI");
    EXPECT_EQ(type(8, "x").caret, 9);
    EXPECT_EQ(type(9, "o").caret, 11);
    EXPECT_EQ(editor.DisplayText(), "ACDEFGHIXO ");
    EXPECT_EQ(record.CleanSequence(), "ACDEFGHIXO");
    EXPECT_EQ(record.ResidueLength(), 8);
}

TEST_F(SequenceEditorTest, DeletionAtABlockStart)
{
    show("ACDEFGHIKLMN");
    ASSERT_EQ(editor.DisplayText(), "ACDEFGHIKL MN");
    // Backspace before M removes the blank only: the text re-formats to the
    // same residues and the caret steps back into the block.
    EditResult result = backspace(11);
    EXPECT_EQ(editor.DisplayText(), "ACDEFGHIKL MN");
    EXPECT_EQ(result.caret, 9);
    // Backspace after M deletes it; its position 10 starts a block, so the
    // caret goes back over the blank.
    result = backspace(12);
    EXPECT_EQ(editor.DisplayText(), "ACDEFGHIKL N");
    EXPECT_EQ(result.caret, 10);
    EXPECT_EQ(record.CleanSequence(), "ACDEFGHIKLN");
}

TEST_F(SequenceEditorTest, PasteKeepsOnlyResidueLettersUpperCasedInBlocks)
{
    show("MK");
    const EditResult result = type(2, "v la-1\r\n2 gb jwu zxo\n");
    EXPECT_EQ(record.CleanSequence(), "MKVLAGWXO");
    EXPECT_EQ(editor.DisplayText(), "MKVLAGWXO");
    EXPECT_TRUE(result.textReplaced);
    EXPECT_LE(result.caret, static_cast<int>(editor.DisplayText().size()));
}

TEST_F(SequenceEditorTest, APasteLeavesTheCaretAfterItsLastResidue)
{
    // What the pasted text held besides residues (numbers and blanks of a
    // copied database entry) must not push the caret further on.
    const struct
    {
        const char* name;
        std::string before;
        int at;
        std::string pasted;
        std::string after;
        int caret;
    } rows[] = {
        {"blank between two residues", "MKVLAGWXO", 2, "g g", "MKGGVLAGWX O", 4},
        {"numbered lines", "MKVLA", 2, "1 wy\n61 cc", "MKWYCCVLA", 6},
        {"ends a block", "MKVLA", 2, "12345 ggggg ggg", "MKGGGGGGGG VLA", 11},
        {"no residue at all", "MKVLA", 2, "1 2 3", "MKVLA", 2},
        {"lower bound", "MKVLA", 0, "99 w", "WMKVLA", 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        show(row.before);
        const EditResult result = type(row.at, row.pasted);
        EXPECT_EQ(editor.ControlText(), row.after);
        EXPECT_EQ(result.caret, row.caret);
    }

    // C and D dragged behind H: the caret ends after the dropped D.
    show("ACDEFGHIKL");
    const EditResult moved = editor.ApplyControlText("AEFGHCDIKL ", 7);
    EXPECT_EQ(record.CleanSequence(), "AEFGHCDIKL");
    EXPECT_EQ(moved.caret, 7);
}

TEST_F(SequenceEditorTest, ARejectedCharacterTypedOverASelectionLeavesTheCaretWhereItWas)
{
    show("MKVLA");
    // K and V selected, then 7 typed over them.
    const EditResult result = editor.ApplyControlText("M7LA", 2);
    EXPECT_EQ(editor.ControlText(), "MLA");
    EXPECT_EQ(result.caret, 1);
    EXPECT_EQ(editor.Selection().start, 1);
}

TEST_F(SequenceEditorTest, TypingBeforeTheLastBlankOfAFullLineKeepsTheResiduesInOrder)
{
    show(std::string(70, 'A'));
    // The caret right after the 60th residue, before the blank that ends the line.
    EditResult result = type(65, "w");
    EXPECT_EQ(result.caret, 68);
    result = type(result.caret, "y");
    EXPECT_EQ(record.CleanSequence().substr(58, 5), "AAWYA");
}

TEST_F(SequenceEditorTest, CaretIsClampedToTheDisplayText)
{
    show("MKV");
    const EditResult result = editor.ApplyControlText("MKV", 40);
    EXPECT_FALSE(result.textReplaced);
    EXPECT_EQ(result.caret, 3);
}

TEST_F(SequenceEditorTest, SelectionsAndThePositionText)
{
    show(std::string(25, 'A'));
    EXPECT_EQ(editor.TrackSelection(4, 4).start, 4);
    EXPECT_EQ(editor.PositionText(), "5");
    const auto [start, end] = editor.RangeOffsets(3, 7);
    editor.TrackSelection(end, start);
    EXPECT_EQ(editor.PositionText(), "3 - 7");
    editor.TrackSelection(12, 15);
    EXPECT_EQ(editor.Selection().start, 11);
    EXPECT_EQ(editor.Selection().end, 14);
}

TEST_F(SequenceEditorTest, RangeSelectionsAreClampedAndIncludeTheBlankBeforeABlock)
{
    show(std::string(25, 'A'));
    const std::string& display = editor.DisplayText();
    EXPECT_EQ(editor.RangeOffsets(11, 12), std::make_pair(10, 13));
    EXPECT_EQ(editor.RangeOffsets(20, 99), std::make_pair(20, static_cast<int>(display.size())));
    EXPECT_EQ(editor.RangeOffsets(0, 0), std::make_pair(0, 0));
    EXPECT_EQ(editor.RangeOffsets(-3, 2), std::make_pair(0, 2));
}

TEST_F(SequenceEditorTest, EmptyNameBecomesUntitledInCopyAllAndPrint)
{
    record.remarks = "kinase";
    show("MKVLA");
    EXPECT_EQ(record.Name(), "untitled");
    EXPECT_EQ(editor.CopyAllText(), "untitled\r\n********\r\n\r\nLength: 5\r\n\r\n"
                                    "Remarks: kinase\r\n\r\nSequence: \r\nMKVLA\r\n");
}

TEST_F(SequenceEditorTest, PrintLinesWrapRemarksAtBreakCharactersAndLongLinesHard)
{
    record.SetName("P1");
    record.remarks = "one two,three\r\nfour";
    show(std::string(25, 'A'));
    const std::vector<std::string> lines = editor.PrintLines(12);
    const std::vector<std::string> expected = {
        "P1",    "**",   "Length: 25",   "Remarks: ",    "one two,",
        "three", "four", "AAAAAAAAAA A", "AAAAAAAAA AA", "AAA"};
    EXPECT_EQ(lines, expected);
}

TEST_F(SequenceEditorTest, TheControlTextHoldsEachLineBreakAsOneCharacter)
{
    show(std::string(61, 'G'));
    const std::string block = "GGGGGGGGGG ";
    const std::string line = block + block + block + block + block + block;
    EXPECT_EQ(editor.DisplayText(), line + "\r\nG");
    EXPECT_EQ(editor.ControlText(), line + "\nG");
    EXPECT_EQ(editor.CaretOffset(60), 67);
    EXPECT_EQ(editor.CaretOffset(61), 68);
    EXPECT_EQ(editor.CaretOffset(10), 11);
    EXPECT_EQ(editor.RangeOffsets(61, 61), std::make_pair(65, 68));
    EXPECT_EQ(editor.LineStartNumber(1), 61);
}

TEST_F(SequenceEditorTest, TypingAtTheEndOfAFullLineKeepsTheResiduesInOrder)
{
    show(std::string(70, 'A'));
    // The caret at the end of the first line, after its last blank.
    EditResult result = type(66, "w");
    EXPECT_EQ(result.caret, 68);
    result = type(result.caret, "y");
    EXPECT_EQ(result.caret, 69);
    EXPECT_EQ(record.CleanSequence().substr(58, 5), "AAWYA");
}

TEST_F(SequenceEditorTest, UndoAndRedoRestoreTheResiduesAndTheCaret)
{
    show("MKVLAGIVG");
    editor.TrackSelection(3, 3);
    // Typed residues join into one step; the blank of the new block is skipped.
    EditResult result = type(3, "W");
    result = type(result.caret, "W");
    EXPECT_EQ(record.CleanSequence(), "MKVWWLAGIVG");
    EXPECT_EQ(result.caret, 5);
    editor.TrackSelection(12, 12);
    result = backspace(12);
    EXPECT_EQ(record.CleanSequence(), "MKVWWLAGIV");
    ASSERT_TRUE(editor.CanUndo());

    result = editor.Undo();
    EXPECT_TRUE(result.textReplaced);
    EXPECT_EQ(record.CleanSequence(), "MKVWWLAGIVG");
    EXPECT_EQ(editor.ControlText(), "MKVWWLAGIV G");
    EXPECT_EQ(result.caret, 12);
    result = editor.Undo();
    EXPECT_EQ(record.CleanSequence(), "MKVLAGIVG");
    EXPECT_EQ(result.caret, 3);
    EXPECT_EQ(editor.Selection().start, 3);
    EXPECT_FALSE(editor.CanUndo());
    EXPECT_FALSE(editor.Undo().textReplaced);

    result = editor.Redo();
    EXPECT_EQ(record.CleanSequence(), "MKVWWLAGIVG");
    EXPECT_EQ(result.caret, 5);
    EXPECT_EQ(editor.PositionText(), "6");
    // A new change forgets what was undone.
    type(0, "c");
    EXPECT_FALSE(editor.CanRedo());
    EXPECT_EQ(record.CleanSequence(), "CMKVWWLAGIVG");
}

TEST_F(SequenceEditorTest, APasteIsOneUndoStepAndRejectedCharactersNone)
{
    show("MKV");
    editor.TrackSelection(3, 3);
    type(3, "a 1-c\r\nd");
    EXPECT_EQ(record.CleanSequence(), "MKVACD");
    type(2, "7");
    editor.Undo();
    EXPECT_EQ(record.CleanSequence(), "MKV");
    EXPECT_FALSE(editor.CanUndo());
}

TEST_F(SequenceEditorTest, AnotherSequenceStartsANewHistory)
{
    show("MKV");
    type(3, "L");
    ASSERT_TRUE(editor.CanUndo());
    show("GGG");
    EXPECT_FALSE(editor.CanUndo());
    EXPECT_FALSE(editor.Undo().textReplaced);
    EXPECT_EQ(record.CleanSequence(), "GGG");
}

TEST_F(SequenceEditorTest, TheUnderlineHasOneStarPerCharacterOfTheName)
{
    record.SetName("\xc3\x84pfel");
    show("MK");
    EXPECT_EQ(editor.CopyAllText().substr(0, 17), "\xc3\x84pfel\r\n*****\r\n\r\n");
    EXPECT_EQ(editor.PrintLines(40)[1], "*****");
}

} // namespace
} // namespace quorin::shell
