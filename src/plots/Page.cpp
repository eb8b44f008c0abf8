#include "plots/Page.h"

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
    scaled.lfHeight = static_cast<std::int32_t>(std::trunc(font.lfHeight * scale));
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

std::string TitleUnderline(std::string_view text)
{
    return std::string(text.size(), '*');
}

} // namespace quorin::plots
