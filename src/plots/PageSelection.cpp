#include "plots/PageSelection.h"

#include "core/MessageTexts.h"
#include "core/NumberText.h"
#include "plots/Page.h"

#include <algorithm>

namespace quorin::plots {
namespace {

bool inList(int index, std::size_t size)
{
    return index >= 0 && static_cast<std::size_t>(index) < size;
}

} // namespace

PageSelection::PageSelection(std::vector<core::MARK>& marks, std::vector<core::TEXTITEM>& texts)
    : m_marks(marks), m_texts(texts)
{
    markSelection();
}

void PageSelection::markSelection()
{
    if (!inList(m_mark, m_marks.size())) {
        m_mark = -1;
    }
    if (!inList(m_text, m_texts.size())) {
        m_text = -1;
    }
    for (std::size_t k = 0; k < m_marks.size(); ++k) {
        m_marks[k].selected = static_cast<int>(k) == m_mark ? 1 : 0;
    }
    for (std::size_t k = 0; k < m_texts.size(); ++k) {
        m_texts[k].selected = static_cast<int>(k) == m_text ? 1 : 0;
    }
}

void PageSelection::ClearSelection()
{
    m_mark = -1;
    m_text = -1;
    markSelection();
}

void PageSelection::SelectMark(int index)
{
    m_mark = index;
    m_text = -1;
    markSelection();
}

void PageSelection::SelectText(int index)
{
    m_text = index;
    m_mark = -1;
    markSelection();
}

bool PageSelection::DeleteSelected()
{
    markSelection();
    if (m_text >= 0) {
        m_texts.erase(m_texts.begin() + m_text);
    } else if (m_mark >= 0) {
        m_marks.erase(m_marks.begin() + m_mark);
    } else {
        return false;
    }
    ClearSelection();
    return true;
}

void PageSelection::DeleteAllMarks()
{
    m_marks.clear();
    markSelection();
}

void PageSelection::AddMark(const core::MARK& mark)
{
    m_marks.push_back(mark);
    m_marks.back().selected = 0;
}

void PageSelection::ReplaceMark(int index, const core::MARK& mark)
{
    if (!inList(index, m_marks.size())) {
        return;
    }
    core::MARK& stored = m_marks[static_cast<std::size_t>(index)];
    const std::uint8_t selected = stored.selected;
    stored = mark;
    stored.selected = selected;
}

int PageSelection::AddText(const core::TEXTITEM& item)
{
    m_texts.push_back(item);
    m_texts.back().selected = 0;
    return static_cast<int>(m_texts.size()) - 1;
}

void PageSelection::MoveText(int index, int x, int y)
{
    if (!inList(index, m_texts.size())) {
        return;
    }
    core::TEXTITEM& item = m_texts[static_cast<std::size_t>(index)];
    item.x = x;
    item.y = y;
    item.legend = 0;
}

void PageSelection::EditText(int index, std::string text, const core::LOGFONT& font,
                             core::COLORREF colour)
{
    if (!inList(index, m_texts.size())) {
        return;
    }
    core::TEXTITEM& item = m_texts[static_cast<std::size_t>(index)];
    item.text = std::move(text);
    item.font = font;
    item.colour = colour;
    item.legend = 0;
}

core::MARK NewMarkDefaults(const std::vector<core::MARK>& marks)
{
    core::MARK mark;
    if (marks.empty()) {
        mark.font = core::ReportFontA();
    } else {
        mark.font = marks.back().font;
        mark.lineColour = marks.back().lineColour;
        mark.labelColour = marks.back().labelColour;
    }
    return mark;
}

MarkPositionCheck CheckMarkPosition(std::string_view typed, int length)
{
    const std::string_view field = typed.substr(0, 9);
    const bool digits =
        std::all_of(field.begin(), field.end(), [](char c) { return c >= '0' && c <= '9'; });
    const int position = core::ParseLeadingInt(field);
    // Marks store 16-bit positions.
    if (!digits || position > length || position > 0xFFFF) {
        return MarkPositionCheck{false, 0, std::string(core::msg::kInvalidPosition)};
    }
    return MarkPositionCheck{true, position, {}};
}

} // namespace quorin::plots
