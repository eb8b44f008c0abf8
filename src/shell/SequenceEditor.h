#pragma once

#include "core/PropertyRecord.h"

#include <algorithm>
#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorin::shell {

/// The residues from..to-1 laid out in blocks: a blank after every blockSize
/// residues and a CR LF after every blockSize x blocksPerLine (so a full line
/// ends with a blank before its line break). to < 0 or past the end means the
/// end; a block size of 0 or less means 10, blocks per line of 0 or less 6.
std::string BuildDisplayText(std::string_view residues, int from, int to, int blockSize,
                             int blocksPerLine);

/// The residue index of a character offset in a display text: the offset,
/// clamped to the text, minus the blanks and line breaks (codes below "!")
/// before it.
int ResidueOffset(std::string_view display, int offset);

/// A residue selection, 0-based, end exclusive.
struct ResidueSelection
{
    int start = 0;
    int end = 0;
};

/// What the text control must do after an edit was taken into the sequence.
struct EditResult
{
    bool textReplaced = false; ///< the control must show ControlText() again
    int caret = 0;             ///< character offset for an empty selection
};

/// The sequence editor's model: the display text of a record's sequence, the
/// caret correction after typing, selections in residues, the undo history of
/// the sequence and the texts the editor copies and prints. The Qt views only
/// move text and offsets between this model and their widgets.
///
/// Character offsets are those of the control text (ControlText()), in which
/// each line break is one character, as a text control keeps it.
class SequenceEditor
{
public:
    static constexpr int kBlockSize = 10;
    /// Undo steps kept; older ones are forgotten.
    static constexpr std::size_t kUndoDepth = 1000;

    explicit SequenceEditor(core::PropertyRecord& record) : m_record(record) {}

    /// Shows the record: an empty name becomes "untitled"; the display text is
    /// rebuilt in blocks of ten, charsPerLine / 10 blocks to a line (6 when
    /// that is 0). A sequence that changed behind the editor's back (a load, a
    /// download) starts a new undo history.
    const std::string& Refresh(int charsPerLine);

    /// The residues in blocks, lines ending with CR LF (Copy All, printing).
    const std::string& DisplayText() const { return m_display; }
    /// The same text with each line break a single "\n".
    const std::string& ControlText() const { return m_control; }

    /// Takes the control's text and caret after a typed character, Delete, Cut
    /// or Paste: re-parses a changed text into the record, re-formats it and
    /// corrects the caret so that it stays after the typed residue and skips
    /// the block blanks; after a paste it stays after the last pasted residue,
    /// whatever else the pasted text held. Returns whether the text changed in
    /// the result's textReplaced; the caller marks the document modified then.
    /// A change of the residues becomes an undo step.
    EditResult ApplyControlText(std::string_view controlText, int caret);

    /// Selection in residues of a control selection (character offsets).
    ResidueSelection TrackSelection(int startOffset, int endOffset);

    /// Character offsets that select residues first..last (1-based, both
    /// inclusive, clamped to the length; first <= 0 selects from the start).
    std::pair<int, int> RangeOffsets(int first, int last) const;

    /// The caret offset before residue (0-based), at the start of its block;
    /// the end of the text for the length and beyond.
    int CaretOffset(int residue) const;

    const ResidueSelection& Selection() const { return m_selection; }

    /// The header's position text: "5", or "3 - 7" for a selection of 3 to 7.
    std::string PositionText() const;

    /// Residues on a full line of the text.
    int ResiduesPerLine() const { return kBlockSize * m_blocksPerLine; }
    /// The number of the first residue on a line (0-based line, 1-based residue).
    int LineStartNumber(int line) const { return std::max(line, 0) * ResiduesPerLine() + 1; }

    bool CanUndo() const { return !m_undo.empty(); }
    bool CanRedo() const { return !m_redo.empty(); }
    /// Takes back the last change of the residues: the record gets the earlier
    /// sequence and the caret goes where it was before the change. Returns
    /// textReplaced false when there is nothing to undo.
    EditResult Undo();
    /// Makes the change taken back last again, the caret after it.
    EditResult Redo();

    /// The text of Copy All: name, underline, length, remarks, the display text.
    std::string CopyAllText() const;

    /// The printed lines: name, underline, length, the remarks word-wrapped at
    /// the break characters " ,.;:-", then the display text, no line longer
    /// than charsPerLine (and never longer than 254).
    std::vector<std::string> PrintLines(int charsPerLine) const;

private:
    /// One change of the residues: at start, removed gave way to inserted.
    /// Carets are residue positions before and after the change.
    struct Change
    {
        int start = 0;
        std::string removed;
        std::string inserted;
        int caretBefore = 0;
        int caretAfter = 0;
        bool typing = false; ///< typed residues, which the next typed one joins
    };

    void rebuild();
    /// The caret offsets of the control text that lie after the first residues
    /// residues and before the next one: from right after the last of them to
    /// the blanks and line break that follow it.
    std::pair<int, int> caretRange(int residues) const;
    void record(Change change);
    EditResult replaceResidues(int start, std::size_t count, const std::string& by, int caret);

    core::PropertyRecord& m_record;
    std::string m_display;
    std::string m_control;
    /// The residues as the editor last showed them, to notice changes made elsewhere.
    std::string m_shown;
    int m_blocksPerLine = 6;
    ResidueSelection m_selection;
    std::deque<Change> m_undo;
    std::vector<Change> m_redo;
};

} // namespace quorin::shell
