#include "core/TextPages.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace quorin::core {

std::string PageHeader(int page)
{
    return "page " + std::to_string(page);
}

std::vector<std::string> WrapText(std::string_view text,
                                  const std::function<bool(std::string_view)>& fits,
                                  std::string_view breakAfter)
{
    std::vector<std::string> rows;
    while (text.size() > 1 && !fits(text)) {
        // The longest head that fits, at least one character; fits is
        // monotone, so a binary search finds it in a few measurements.
        std::size_t low = 1;
        std::size_t high = text.size() - 1;
        while (low < high) {
            const std::size_t middle = (low + high + 1) / 2;
            if (fits(text.substr(0, middle))) {
                low = middle;
            } else {
                high = middle - 1;
            }
        }
        // A hard cut never splits a UTF-8 character (the cut may come one
        // letter early in a Latin-1 text; that costs nothing).
        std::size_t cut = low;
        while (cut > 1 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        for (std::size_t i = low; i > 0; --i) {
            if (breakAfter.find(text[i - 1]) != std::string_view::npos) {
                cut = i;
                break;
            }
        }
        rows.emplace_back(text.substr(0, cut));
        text.remove_prefix(cut);
    }
    rows.emplace_back(text);
    return rows;
}

std::vector<std::string> WrapText(std::string_view text, int columns, std::string_view breakAfter)
{
    const auto width = static_cast<std::size_t>(std::max(columns, 1));
    return WrapText(
        text, [width](std::string_view row) { return row.size() <= width; }, breakAfter);
}

int TextPageGeometry::Columns() const
{
    if (charWidth <= 0.0) {
        return 1;
    }
    return std::max(1, static_cast<int>(std::floor(width / charWidth)));
}

int TextPageGeometry::RowsPerPage() const
{
    return std::max(1, height / std::max(1, lineHeight) - kPageFootRows - kPageHeaderRows);
}

TextPaginator::TextPaginator(int rowsPerPage) : m_rowsPerPage(std::max(1, rowsPerPage))
{
    m_row = m_rowsPerPage;
}

TextPaginator::Place TextPaginator::Next()
{
    Place place;
    if (m_row == m_rowsPerPage) {
        ++m_page;
        m_row = 0;
        place.startsPage = true;
    }
    place.page = m_page;
    place.row = m_row++;
    return place;
}

} // namespace quorin::core
