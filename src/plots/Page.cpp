#include "plots/Page.h"

#include <algorithm>
#include <cmath>

namespace quorin::plots {

int PageLayout::Device(double pageCoordinate) const
{
    // A scale value the settings read as infinity (or NaN) sends the curve
    // beyond any int; far off the page is where such a point belongs, and a
    // bound well inside the painters' fixed-point range keeps them drawing.
    constexpr double kFarOff = 1e6;
    const double device = pageCoordinate * scale;
    if (!(std::fabs(device) < kFarOff)) {
        return std::isnan(device) ? 0 : static_cast<int>(std::copysign(kFarOff, device));
    }
    return static_cast<int>(std::trunc(device));
}

core::LOGFONT ScaledFont(const core::LOGFONT& font, double scale)
{
    core::LOGFONT scaled = font;
    // The product is held within the font heights before it becomes an int: a
    // stored height times a large (or infinite) scale is beyond any int. A
    // scale that is no number leaves the default height.
    const double height = font.lfHeight * scale;
    scaled.lfHeight =
        std::isnan(height)
            ? 0
            : static_cast<std::int32_t>(std::trunc(
                  std::clamp(height, -double{core::kMaxFontHeight}, double{core::kMaxFontHeight})));
    return scaled;
}

core::LOGFONT UsableFont(const core::LOGFONT& font)
{
    return font.FaceName().empty() ? core::ReportFontB() : font;
}

std::vector<std::string_view> TextLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find('\n', start);
        std::string_view line =
            text.substr(start, end == std::string_view::npos ? end : end - start);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        if (end == std::string_view::npos) {
            return lines;
        }
        start = end + 1;
    }
}

void DrawTitleBlock(std::vector<PageElement>& out, const TitleBlock& block, DevicePoint topLeft,
                    const core::LOGFONT& font, int lineHeight)
{
    int y = topLeft.y;
    for (const std::string& line : block.lines) {
        out.push_back(PageText{line, {topLeft.x, y}, TextAnchor::TopLeft, font, kBlack});
        y += lineHeight;
    }
    out.push_back(PageText{block.stars, {topLeft.x, y}, TextAnchor::TopLeft, font, kBlack});
}

int TruncatedUnits(double value)
{
    return static_cast<int>(std::trunc(value));
}

void DrawTextItems(std::vector<PageElement>& out, const std::vector<core::TEXTITEM>& texts,
                   const PageLayout& layout, double shiftX, double shiftY,
                   const TextMeasure& measure)
{
    for (const core::TEXTITEM& item : texts) {
        const core::LOGFONT font = ScaledFont(UsableFont(item.font), layout.scale);
        const DevicePoint origin{layout.Device(item.x + shiftX), layout.Device(item.y + shiftY)};
        const TextItemBlock block = LayoutTextItem(item, font, origin.y, measure);
        for (const auto& [line, y] : block.lines) {
            out.push_back(
                PageText{std::string(line), {origin.x, y}, TextAnchor::TopLeft, font, item.colour});
        }
        if (layout.target == PageTarget::Screen && item.selected != 0) {
            out.push_back(PageFrame{
                {origin.x - 1, origin.y - 1, origin.x + block.width, origin.y + block.height},
                PagePen{kBlack, 1, true}});
        }
    }
}

int TextItemAt(const std::vector<core::TEXTITEM>& texts, DevicePoint point)
{
    for (std::size_t k = texts.size(); k-- > 0;) {
        const core::TEXTITEM& item = texts[k];
        const DeviceRect box{item.x, item.y, item.x + item.width, item.y + item.height};
        if (box.Contains(point)) {
            return static_cast<int>(k);
        }
    }
    return -1;
}

TextItemBlock LayoutTextItem(const core::TEXTITEM& item, const core::LOGFONT& font, int top,
                             const TextMeasure& measure)
{
    TextItemBlock block;
    int y = top;
    for (const std::string_view line : TextLines(item.text)) {
        const TextExtent extent = measure.Extent(font, line.empty() ? "|" : line);
        if (!line.empty()) {
            block.lines.emplace_back(line, y);
            block.width = std::max(block.width, extent.width);
        }
        y += extent.height;
    }
    block.height = y - top;
    return block;
}

std::string TitleUnderline(std::string_view text)
{
    return std::string(text.size(), '*');
}

namespace {

/// Whether a text may be cut before byte at: not inside a UTF-8 sequence.
bool startsCharacter(std::string_view text, std::size_t at)
{
    return at >= text.size() || (static_cast<unsigned char>(text[at]) & 0xC0) != 0x80;
}

std::string_view trimBlanks(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

/// The longest prefix of text, in bytes and ending at a character boundary,
/// that fits; 0 when not even the first character does. Widths grow with the
/// prefix, so a binary search needs few measurements.
template <typename Fits>
std::size_t longestFitting(std::string_view text, const Fits& fits)
{
    std::vector<std::size_t> ends;
    for (std::size_t at = 1; at <= text.size(); ++at) {
        if (startsCharacter(text, at)) {
            ends.push_back(at);
        }
    }
    std::size_t low = 0; // this many characters fit
    std::size_t high = ends.size();
    while (low < high) {
        const std::size_t middle = (low + high + 1) / 2;
        if (fits(text.substr(0, ends[middle - 1]))) {
            low = middle;
        } else {
            high = middle - 1;
        }
    }
    return low == 0 ? 0 : ends[low - 1];
}

} // namespace

TitleBlock WrapTitle(std::string_view title, const core::LOGFONT& font, int width, int maxLines,
                     const TextMeasure& measure)
{
    const auto fits = [&](std::string_view text) {
        return measure.Extent(font, text).width <= width;
    };
    TitleBlock block;
    std::string_view rest = title;
    bool cut = false;
    while (!rest.empty()) {
        if (fits(rest)) {
            block.lines.emplace_back(rest);
            break;
        }
        if (static_cast<int>(block.lines.size()) + 1 >= std::max(1, maxLines)) {
            cut = true;
            block.lines.emplace_back(rest);
            break;
        }
        std::size_t end = longestFitting(rest, fits);
        if (end == 0) {
            // Not even one character fits the width: it gets a line of its own.
            end = 1;
            while (!startsCharacter(rest, end)) {
                ++end;
            }
        }
        std::size_t next = end;
        if (end < rest.size() && rest[end] != ' ') {
            const std::size_t blank = rest.substr(0, end).find_last_of(' ');
            if (blank != std::string_view::npos && !trimBlanks(rest.substr(0, blank)).empty()) {
                end = blank;
                next = blank;
            }
        }
        block.lines.emplace_back(trimBlanks(rest.substr(0, end)));
        rest = trimBlanks(rest.substr(next));
    }
    if (block.lines.empty()) {
        block.lines.emplace_back();
    }
    if (cut) {
        std::string& last = block.lines.back();
        const std::string kept = last;
        const std::size_t end = longestFitting(
            kept, [&](std::string_view prefix) { return fits(std::string(prefix) + "..."); });
        last = std::string(trimBlanks(std::string_view(kept).substr(0, end))) + "...";
    }

    int widest = 0;
    for (const std::string& line : block.lines) {
        widest = std::max(widest, measure.Extent(font, line).width);
    }
    const int limit = std::min(widest, width);
    const std::string stars = TitleUnderline(title);
    block.stars = stars.substr(0, longestFitting(stars, [&](std::string_view row) {
                                   return measure.Extent(font, row).width <= limit;
                               }));
    return block;
}

} // namespace quorin::plots
