#pragma once

#include "core/PageItems.h"

#include <string>
#include <string_view>
#include <vector>

namespace quorin::plots {

/// The selection and the edits of a page's marks and text items. The lists
/// live in the property record; the selected bytes of their records follow
/// the selection, so that a drawing frames what is selected. At most one mark
/// or one text item is selected at a time.
class PageSelection
{
public:
    PageSelection(std::vector<core::MARK>& marks, std::vector<core::TEXTITEM>& texts);

    int SelectedMark() const { return m_mark; }
    int SelectedText() const { return m_text; }
    bool HasSelection() const { return m_mark >= 0 || m_text >= 0; }

    void ClearSelection();
    /// Selects one item and deselects everything else; an index outside the
    /// list selects nothing.
    void SelectMark(int index);
    void SelectText(int index);

    /// Deletes the selected text item, else the selected mark, and clears the
    /// selection. False when nothing was selected.
    bool DeleteSelected();
    void DeleteAllMarks();

    void AddMark(const core::MARK& mark);
    /// Replaces a mark's position, font and colours; its selection stays.
    void ReplaceMark(int index, const core::MARK& mark);
    /// Appends a text item and returns its index.
    int AddText(const core::TEXTITEM& item);

    /// Moves a text item (screen page units); a moved legend line keeps its
    /// text and place from then on.
    void MoveText(int index, int x, int y);
    /// Replaces a text item's text, font and colour; it is no legend line any
    /// more.
    void EditText(int index, std::string text, const core::LOGFONT& font, core::COLORREF colour);

private:
    void markSelection();

    std::vector<core::MARK>& m_marks;
    std::vector<core::TEXTITEM>& m_texts;
    int m_mark = -1;
    int m_text = -1;
};

/// What a new mark starts with: the font and colours of the last mark, or
/// the default font and black when there is none.
core::MARK NewMarkDefaults(const std::vector<core::MARK>& marks);

/// The position field of the mark dialog: at most 9 characters are read; a
/// non-digit or a position past length (or past the 16 bits a mark stores) is
/// refused with the dialog's message.
/// 0 (also an empty field) is valid and adds no mark.
struct MarkPositionCheck
{
    bool ok = false;
    int position = 0;
    std::string message;
};
MarkPositionCheck CheckMarkPosition(std::string_view typed, int length);

} // namespace quorin::plots
