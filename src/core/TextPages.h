#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quorin::core {

/// Rows the header of a printed text page takes: "page N" on the first, two
/// blank rows below it. The text starts on the row after them.
inline constexpr int kPageHeaderRows = 3;

/// Rows a text page keeps free below its text, as the printouts always have.
inline constexpr int kPageFootRows = 3;

/// The header of printed page `page` (1-based): "page " and the number.
std::string PageHeader(int page);

/// Where a row of text may end: after any of these characters. The editor's
/// printout breaks its remarks after blanks and punctuation; reports break
/// after blanks only.
inline constexpr std::string_view kBreakAfterBlank = " ";
inline constexpr std::string_view kBreakAfterPunctuation = " ,.;:-";

/// Cuts text into rows for which fits(row) holds: each row as long as fits
/// allows, cut after the last character of breakAfter that lets it fit, or
/// inside a word when none does; every row keeps at least one character. An
/// empty text gives one empty row. fits must hold for shorter heads of a row
/// whenever it holds for longer ones.
std::vector<std::string> WrapText(std::string_view text,
                                  const std::function<bool(std::string_view)>& fits,
                                  std::string_view breakAfter);

/// WrapText with rows of at most columns characters (at least one).
std::vector<std::string> WrapText(std::string_view text, int columns, std::string_view breakAfter);

/// The text area of a printed page, in device pixels of one font's rows and
/// characters: what a sheet holds below its header.
struct TextPageGeometry
{
    int width = 0;          ///< the text area's width, inside the page margins
    int height = 0;         ///< the text area's height, inside the page margins
    int lineHeight = 1;     ///< the font's height plus its external leading
    double charWidth = 1.0; ///< the font's average character advance

    /// Characters a row holds: width / charWidth, at least one.
    int Columns() const;
    /// Rows of text on a sheet: the rows the height holds, less the header
    /// and foot rows; at least one.
    int RowsPerPage() const;
    /// The top of text row `row` (0-based, counted below the header).
    int RowTop(int row) const { return (kPageHeaderRows + row) * lineHeight; }
};

/// Hands out the places of a printout's rows one by one, a sheet of
/// rowsPerPage rows after another, so that a report of millions of lines is
/// printed without being laid out in memory first.
class TextPaginator
{
public:
    struct Place
    {
        int page = 0;            ///< 1-based
        int row = 0;             ///< 0-based, below the header
        bool startsPage = false; ///< the first row of its sheet: the header goes first
    };

    explicit TextPaginator(int rowsPerPage);

    /// The place of the next row.
    Place Next();
    /// Sheets begun so far.
    int Pages() const { return m_page; }

private:
    int m_rowsPerPage;
    int m_page = 0;
    int m_row = 0;
};

} // namespace quorin::core
