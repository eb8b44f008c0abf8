#pragma once

#include "core/PropertyRecord.h"

#include <string>
#include <string_view>
#include <vector>

namespace quorin::shell {

/// The residues from..to-1 laid out in blocks: a blank after every blockSize
/// residues and a CR LF after every blockSize x blocksPerLine (so a full line
/// ends with a blank before its line break). to < 0 or past the end means the
/// end.
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
    bool textReplaced = false; ///< the control must show DisplayText() again
    int caret = 0;             ///< character offset for an empty selection
};

/// The sequence editor's model: the display text of a record's sequence, the
/// caret correction after typing, selections in residues and the texts the
/// editor copies and prints. The Qt views only move text and offsets between
/// this model and their widgets.
class SequenceEditor
{
public:
    static constexpr int kBlockSize = 10;

    explicit SequenceEditor(core::PropertyRecord& record) : m_record(record) {}

    /// Shows the record: an empty name becomes "untitled"; the display text is
    /// rebuilt in blocks of ten, charsPerLine / 10 blocks to a line (6 when
    /// that is 0).
    const std::string& Refresh(int charsPerLine);

    const std::string& DisplayText() const { return m_display; }

    /// Takes the control's text and caret after a typed character, Delete, Cut
    /// or Paste: re-parses a changed text into the record, re-formats it and
    /// corrects the caret so that it stays after the typed residue and skips
    /// the block blanks. Returns whether the record changed in the result's
    /// textReplaced; the caller marks the document modified then.
    EditResult ApplyControlText(std::string_view controlText, int caret);

    /// Selection in residues of a control selection (character offsets).
    ResidueSelection TrackSelection(int startOffset, int endOffset);

    /// Character offsets that select residues first..last (1-based, both
    /// inclusive, clamped to the length; first <= 0 selects from the start).
    std::pair<int, int> RangeOffsets(int first, int last) const;

    const ResidueSelection& Selection() const { return m_selection; }

    /// The header's position text: "5", or "3 - 7" for a selection of 3 to 7.
    std::string PositionText() const;

    /// The text of Copy All: name, underline, length, remarks, the display text.
    std::string CopyAllText() const;

    /// The printed lines: name, underline, length, the remarks word-wrapped at
    /// the break characters " ,.;:-", then the display text, no line longer
    /// than charsPerLine (and never longer than 254).
    std::vector<std::string> PrintLines(int charsPerLine) const;

private:
    void rebuild();

    core::PropertyRecord& m_record;
    std::string m_display;
    int m_blocksPerLine = 6;
    ResidueSelection m_selection;
};

/// Splits lines into pages of at most linesPerPage lines (at least one line a
/// page), for the page header the caller draws on each.
std::vector<std::vector<std::string>> Paginate(const std::vector<std::string>& lines,
                                               int linesPerPage);

} // namespace quorin::shell
