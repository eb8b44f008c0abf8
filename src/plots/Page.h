#pragma once

#include "core/LogFont.h"
#include "core/PageItems.h"
#include "core/Residue.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace quorin::plots {

/// Where a page is drawn. The metafile takes the screen geometry; its device
/// realises the metafile's own y direction, so the page draws it upright
/// without negating anything.
enum class PageTarget
{
    Screen,
    Printer,
    Metafile,
};

/// A point in device units of the target (pixels on screen and in a metafile,
/// printer dots when printing).
struct DevicePoint
{
    int x = 0;
    int y = 0;
    friend bool operator==(const DevicePoint&, const DevicePoint&) = default;
};

/// An axis-parallel rectangle in device units; right and bottom are the last
/// covered coordinates, so a rectangle with left == right is one unit wide.
struct DeviceRect
{
    int left = 0;
    int top = 0;
    int right = -1;
    int bottom = -1;

    bool Empty() const { return right < left || bottom < top; }
    /// Points on the edge count as inside.
    bool Contains(DevicePoint p) const
    {
        return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom;
    }
    friend bool operator==(const DeviceRect&, const DeviceRect&) = default;
};

inline constexpr core::COLORREF kBlack = 0x000000;

/// A solid pen, or the dotted one of selection frames.
struct PagePen
{
    core::COLORREF colour = 0;
    int width = 1; ///< device units
    bool dotted = false;
    friend bool operator==(const PagePen&, const PagePen&) = default;
};

struct PageLine
{
    DevicePoint from;
    DevicePoint to;
    PagePen pen;
};

struct PagePolyline
{
    std::vector<DevicePoint> points;
    PagePen pen;
};

/// A rectangle whose pen runs along left..right and top..bottom, filled
/// inside when it has a fill colour.
struct PageFrame
{
    DeviceRect rect;
    PagePen pen;
    std::optional<core::COLORREF> fill = std::nullopt;
};

/// Which point of the text's box `at` names. Texts are drawn with a
/// transparent background.
enum class TextAnchor
{
    TopLeft,
    TopRight,
    TopCentre,
};

struct PageText
{
    std::string text;
    DevicePoint at;
    TextAnchor anchor = TextAnchor::TopLeft;
    core::LOGFONT font; ///< height already scaled for the target
    core::COLORREF colour = 0;
};

using PageElement = std::variant<PageLine, PagePolyline, PageFrame, PageText>;

/// What a page draws, in drawing order.
struct PageDrawing
{
    std::vector<PageElement> elements;
};

/// The text metrics of a font as created on the target, in device units.
struct FontMetrics
{
    int maxCharWidth = 0; ///< widest character of the font's 8-bit range
    int height = 0;       ///< ascent plus descent
    int lineHeight = 0;   ///< height plus external leading
};

struct TextExtent
{
    int width = 0;
    int height = 0;
};

/// The target's font measurements. The drawing side implements it with the
/// fonts it really creates; tests use fixed metrics.
class TextMeasure
{
public:
    virtual ~TextMeasure() = default;
    virtual FontMetrics Metrics(const core::LOGFONT& font) const = 0;
    virtual TextExtent Extent(const core::LOGFONT& font, std::string_view text) const = 0;
};

/// A frame chart layout: the frame in page units and the factor from page
/// units to device units.
struct PageLayout
{
    PageTarget target = PageTarget::Screen;
    double scale = 1.0; ///< device units per page unit
    int left = 0;       ///< frame, page units
    int top = 0;
    int width = 0;
    int height = 0;

    bool Printing() const { return target == PageTarget::Printer; }
    /// A page coordinate on the device: scaled, then truncated toward zero;
    /// beyond a million device units (or not a number) it stops at a million
    /// (or at 0).
    int Device(double pageCoordinate) const;
};

/// font with its height multiplied by scale and truncated.
core::LOGFONT ScaledFont(const core::LOGFONT& font, double scale);

/// font, or the fixed font (core::ReportFontB) when font names no face (such a
/// font cannot be created). The default font of the pages is
/// core::ReportFontA.
core::LOGFONT UsableFont(const core::LOGFONT& font);

/// text split at CR LF (a lone LF also ends a line); an empty text is one
/// empty line.
std::vector<std::string_view> TextLines(std::string_view text);

/// A text item's lines with their tops, and the extent of the block, in device
/// units. An empty line takes the height of "|".
struct TextItemBlock
{
    std::vector<std::pair<std::string_view, int>> lines; ///< non-empty lines only
    int width = 0;
    int height = 0;
};

/// The lines of item in font (already scaled for the target), the first one's
/// top at top. The lines view item's text.
TextItemBlock LayoutTextItem(const core::TEXTITEM& item, const core::LOGFONT& font, int top,
                             const TextMeasure& measure);

/// Appends the text items to out, each moved by (shiftX, shiftY) page units
/// from where it stands on the screen page, in its font scaled for the
/// target; on screen a dotted frame marks a selected one.
void DrawTextItems(std::vector<PageElement>& out, const std::vector<core::TEXTITEM>& texts,
                   const PageLayout& layout, double shiftX, double shiftY,
                   const TextMeasure& measure);

/// Device units from a computed length (text metrics, scaled widths):
/// truncated toward zero like every other coordinate.
int TruncatedUnits(double value);

/// The topmost of texts (the last drawn) whose box, as the last refresh
/// measured it, holds point (screen page units); -1 for none.
int TextItemAt(const std::vector<core::TEXTITEM>& texts, DevicePoint point);

/// A row of "*" as long as text, the underline of printed titles.
std::string TitleUnderline(std::string_view text);

/// A printed title set within a width: its lines, and the row of "*" that
/// goes under the last line.
struct TitleBlock
{
    std::vector<std::string> lines;
    std::string stars;
};

/// title in font broken into lines no wider than width device units: at
/// blanks (dropped at the break), inside a word only where the word alone is
/// wider. Beyond maxLines (at least 1) lines the last kept line ends in "..."
/// within the width. The row of "*" has as many stars as the title has bytes
/// (TitleUnderline), cut to the widest line and to width.
TitleBlock WrapTitle(std::string_view title, const core::LOGFONT& font, int width, int maxLines,
                     const TextMeasure& measure);

/// Appends block's lines and its row of stars in black, lineHeight apart,
/// the first line's top-left corner at topLeft.
void DrawTitleBlock(std::vector<PageElement>& out, const TitleBlock& block, DevicePoint topLeft,
                    const core::LOGFONT& font, int lineHeight);

} // namespace quorin::plots
