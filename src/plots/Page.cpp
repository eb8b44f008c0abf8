#include "plots/Page.h"

#include <cmath>

namespace quorin::plots {

int PageLayout::Device(double pageCoordinate) const
{
    return static_cast<int>(std::trunc(pageCoordinate * scale));
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
