#include "shell/SequenceEditor.h"

#include "core/Residue.h"
#include "core/TextPages.h"

#include <algorithm>
#include <utility>

namespace quorin::shell {
namespace {

constexpr std::string_view kEol = "\r\n";

/// Blanks and line breaks: every code below "!".
bool isLayoutCharacter(char c)
{
    return static_cast<unsigned char>(c) < '!';
}

int countLayout(std::string_view display, int offset)
{
    const auto end = display.begin() + std::clamp<std::ptrdiff_t>(offset, 0, std::ssize(display));
    return static_cast<int>(std::count_if(display.begin(), end, isLayoutCharacter));
}

/// Characters of UTF-8 text: the bytes that do not continue a character.
std::size_t characterCount(std::string_view text)
{
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

/// A display text as a text control holds it: each CR LF one "\n".
std::string controlForm(std::string_view display)
{
    std::string text;
    text.reserve(display.size());
    for (std::size_t i = 0; i < display.size(); ++i) {
        if (display[i] == '\r' && i + 1 < display.size() && display[i + 1] == '\n') {
            continue;
        }
        text.push_back(display[i]);
    }
    return text;
}

/// The lengths of the longest common beginning and, in what is left, the
/// longest common end of two texts: what lies between changed.
std::pair<std::size_t, std::size_t> commonEnds(std::string_view before, std::string_view after)
{
    const std::size_t shorter = std::min(before.size(), after.size());
    std::size_t prefix = 0;
    while (prefix < shorter && before[prefix] == after[prefix]) {
        ++prefix;
    }
    std::size_t suffix = 0;
    while (suffix < shorter - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
        ++suffix;
    }
    return {prefix, suffix};
}

/// Whether after differs from before by at most one character taken out and
/// one put in at the same place (a key, or a key over a one-character
/// selection).
bool isOneCharacterEdit(std::string_view before, std::string_view after)
{
    const auto [prefix, suffix] = commonEnds(before, after);
    return before.size() - prefix - suffix <= 1 && after.size() - prefix - suffix <= 1;
}

/// Adds text to lines, word-wrapped at the editor's break characters.
void wrapParagraph(std::string_view text, std::size_t width, std::vector<std::string>& lines)
{
    for (std::string& row :
         core::WrapText(text, static_cast<int>(width), core::kBreakAfterPunctuation)) {
        lines.push_back(std::move(row));
    }
}

} // namespace

std::string BuildDisplayText(std::string_view residues, int from, int to, int blockSize,
                             int blocksPerLine)
{
    const int length = static_cast<int>(residues.size());
    if (to < 0 || to > length) {
        to = length;
    }
    from = std::max(from, 0);
    if (blockSize <= 0) {
        blockSize = 10;
    }
    if (blocksPerLine <= 0) {
        blocksPerLine = 6;
    }
    const int lineSize = blockSize * blocksPerLine;
    std::string text;
    text.reserve(static_cast<std::size_t>(std::max(to - from, 0)) * 12 / 10 + 4);
    for (int i = from; i < to; ++i) {
        text.push_back(residues[static_cast<std::size_t>(i)]);
        const int k = i + 1;
        if (k % blockSize == 0) {
            text.push_back(' ');
            if (k % lineSize == 0) {
                text += kEol;
            }
        }
    }
    return text;
}

int ResidueOffset(std::string_view display, int offset)
{
    offset = std::clamp(offset, 0, static_cast<int>(display.size()));
    return offset - countLayout(display, offset);
}

const std::string& SequenceEditor::Refresh(int charsPerLine)
{
    if (m_record.Name().empty()) {
        m_record.SetName("untitled");
    }
    m_blocksPerLine = charsPerLine / kBlockSize > 0 ? charsPerLine / kBlockSize : 6;
    if (m_record.CleanSequence() != m_shown) {
        // Undo steps of another sequence would cut into this one.
        m_undo.clear();
        m_redo.clear();
    }
    // Rebuilt even for an empty sequence, so that no earlier text is left on show.
    rebuild();
    return m_display;
}

void SequenceEditor::rebuild()
{
    m_display = BuildDisplayText(m_record.CleanSequence(), 0, -1, kBlockSize, m_blocksPerLine);
    m_control = controlForm(m_display);
    m_shown = m_record.CleanSequence();
}

EditResult SequenceEditor::ApplyControlText(std::string_view controlText, int caret)
{
    EditResult result;
    const ResidueSelection before = m_selection;
    std::string previous;
    // The cleaned length, X and O included: they stay in the text, so a typed X
    // must move the caret like any other residue.
    const auto oldLength = static_cast<int>(m_record.CleanSequence().size());
    const bool oneCharacter = isOneCharacterEdit(m_control, controlText);
    const int rawCaret = std::clamp(caret, 0, static_cast<int>(controlText.size()));
    const auto residuesBeforeCaret = static_cast<int>(
        std::count_if(controlText.begin(), controlText.begin() + rawCaret, core::IsResidueLetter));
    if (controlText != m_control) {
        previous = m_record.CleanSequence();
        m_record.SetSequence(controlText);
        rebuild();
        result.textReplaced = true;
    }
    const auto newLength = static_cast<int>(m_record.CleanSequence().size());
    const int displayLength = static_cast<int>(m_control.size());

    caret = std::clamp(caret, 0, displayLength);
    const int blanks = countLayout(m_control, caret);

    const int d = newLength - oldLength;
    if (d == 0) {
        if (displayLength > caret) {
            --caret;
        }
        if ((caret - blanks) % kBlockSize == 0) {
            --caret;
        }
    } else if ((caret - blanks) % kBlockSize == 0) {
        caret += d > 0 ? 1 : -1;
    }
    // The correction above knows one typed or deleted character. A paste also
    // drops what is no residue (blanks, digits, line breaks of a copied
    // sequence), and a dragged stretch takes its blanks along; the control's
    // caret counted those: keep the caret between the same two residues it was
    // between in the control's text, or the next typed residue would land
    // elsewhere.
    if (d != 0 || !oneCharacter) {
        const auto [lowest, highest] = caretRange(residuesBeforeCaret);
        caret = std::clamp(caret, lowest, highest);
    }
    result.caret = std::clamp(caret, 0, displayLength);
    // The header shows where the caret really is after the correction.
    m_selection.start = m_selection.end = ResidueOffset(m_control, result.caret);

    if (result.textReplaced && previous != m_record.CleanSequence()) {
        const std::string& now = m_record.CleanSequence();
        const auto [prefix, suffix] = commonEnds(previous, now);
        Change change;
        change.start = static_cast<int>(prefix);
        change.removed = previous.substr(prefix, previous.size() - prefix - suffix);
        change.inserted = now.substr(prefix, now.size() - prefix - suffix);
        change.caretBefore = before.start;
        change.caretAfter = m_selection.start;
        record(std::move(change));
    }
    return result;
}

void SequenceEditor::record(Change change)
{
    m_redo.clear();
    // Residues typed one after the other are taken back together.
    const bool typed = change.removed.empty() && change.inserted.size() == 1;
    if (typed && !m_undo.empty()) {
        Change& last = m_undo.back();
        if (last.typing && last.caretAfter == change.caretBefore &&
            last.start + static_cast<int>(last.inserted.size()) == change.start) {
            last.inserted += change.inserted;
            last.caretAfter = change.caretAfter;
            return;
        }
    }
    change.typing = typed;
    m_undo.push_back(std::move(change));
    if (m_undo.size() > kUndoDepth) {
        m_undo.pop_front();
    }
}

EditResult SequenceEditor::replaceResidues(int start, std::size_t count, const std::string& by,
                                           int caret)
{
    std::string sequence = m_record.CleanSequence();
    const auto at = std::min(static_cast<std::size_t>(std::max(start, 0)), sequence.size());
    sequence.replace(at, std::min(count, sequence.size() - at), by);
    m_record.SetSequence(sequence);
    rebuild();
    caret = std::clamp(caret, 0, static_cast<int>(sequence.size()));
    m_selection = {caret, caret};
    return {true, CaretOffset(caret)};
}

EditResult SequenceEditor::Undo()
{
    if (m_undo.empty()) {
        return {false, CaretOffset(m_selection.start)};
    }
    Change change = std::move(m_undo.back());
    m_undo.pop_back();
    const EditResult result =
        replaceResidues(change.start, change.inserted.size(), change.removed, change.caretBefore);
    m_redo.push_back(std::move(change));
    return result;
}

EditResult SequenceEditor::Redo()
{
    if (m_redo.empty()) {
        return {false, CaretOffset(m_selection.start)};
    }
    Change change = std::move(m_redo.back());
    m_redo.pop_back();
    const EditResult result =
        replaceResidues(change.start, change.removed.size(), change.inserted, change.caretAfter);
    m_undo.push_back(std::move(change));
    return result;
}

std::pair<int, int> SequenceEditor::caretRange(int residues) const
{
    const auto size = static_cast<int>(m_control.size());
    int offset = 0;
    for (int passed = 0; offset < size && passed < residues; ++offset) {
        if (!isLayoutCharacter(m_control[static_cast<std::size_t>(offset)])) {
            ++passed;
        }
    }
    int next = offset;
    while (next < size && isLayoutCharacter(m_control[static_cast<std::size_t>(next)])) {
        ++next;
    }
    return {offset, next};
}

ResidueSelection SequenceEditor::TrackSelection(int startOffset, int endOffset)
{
    m_selection.start = ResidueOffset(m_control, std::min(startOffset, endOffset));
    m_selection.end = ResidueOffset(m_control, std::max(startOffset, endOffset));
    return m_selection;
}

std::pair<int, int> SequenceEditor::RangeOffsets(int first, int last) const
{
    const int length = static_cast<int>(m_record.CleanSequence().size());
    first = std::min(first, length);
    last = std::clamp(last, 0, length);
    const auto offsetAfter = [&](int residues) {
        int passed = 0;
        int offset = 0;
        const int size = static_cast<int>(m_control.size());
        while (offset < size && passed < residues) {
            if (core::IsResidueLetter(m_control[static_cast<std::size_t>(offset)])) {
                ++passed;
            }
            ++offset;
        }
        return offset;
    };
    const int start = first <= 0 ? 0 : offsetAfter(first - 1);
    const int end = std::max(offsetAfter(last), start);
    return {start, end};
}

int SequenceEditor::CaretOffset(int residue) const
{
    const int length = static_cast<int>(m_record.CleanSequence().size());
    if (residue >= length) {
        return static_cast<int>(m_control.size());
    }
    residue = std::max(residue, 0);
    // The residues before it, a blank after each full block and a line break
    // after each full line.
    return residue + residue / kBlockSize + residue / ResiduesPerLine();
}

std::string SequenceEditor::PositionText() const
{
    std::string text = std::to_string(m_selection.start + 1);
    if (m_selection.start + 1 < m_selection.end) {
        text += " - " + std::to_string(m_selection.end);
    }
    return text;
}

std::string SequenceEditor::CopyAllText() const
{
    const std::string& name = m_record.Name();
    std::string text;
    text.reserve(m_display.size() + name.size() * 2 + m_record.remarks.size() + 64);
    text += name;
    text += kEol;
    text += std::string(characterCount(name), '*');
    text += kEol;
    text += kEol;
    text += "Length: " + std::to_string(m_record.ResidueLength());
    text += kEol;
    text += kEol;
    text += "Remarks: " + m_record.remarks;
    text += kEol;
    text += kEol;
    text += "Sequence: ";
    text += kEol;
    text += m_display;
    text += kEol;
    return text;
}

std::vector<std::string> SequenceEditor::PrintLines(int charsPerLine) const
{
    const auto width = static_cast<std::size_t>(std::clamp(charsPerLine, 1, 254));
    std::vector<std::string> lines;
    const std::string& name = m_record.Name();
    wrapParagraph(name, width, lines);
    wrapParagraph(std::string(characterCount(name), '*'), width, lines);
    wrapParagraph("Length: " + std::to_string(m_record.ResidueLength()), width, lines);

    // A carriage return in the remarks starts a new line; its line feed is no text.
    const std::string remarks = "Remarks: " + m_record.remarks;
    std::size_t begin = 0;
    while (true) {
        const std::size_t brk = remarks.find_first_of("\r\n", begin);
        wrapParagraph(std::string_view(remarks).substr(begin, brk - begin), width, lines);
        if (brk == std::string::npos) {
            break;
        }
        begin = brk + 1;
        if (remarks[brk] == '\r' && begin < remarks.size() && remarks[begin] == '\n') {
            ++begin;
        }
    }

    std::string_view display = m_display;
    while (!display.empty()) {
        const std::size_t brk = display.find(kEol);
        std::string_view line = display.substr(0, brk);
        while (line.size() > width) {
            lines.emplace_back(line.substr(0, width));
            line.remove_prefix(width);
        }
        lines.emplace_back(line);
        if (brk == std::string_view::npos) {
            break;
        }
        display.remove_prefix(brk + kEol.size());
    }
    return lines;
}

} // namespace quorin::shell
