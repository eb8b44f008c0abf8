#pragma once

#include "plots/Page.h"

#include <cstdlib>
#include <string_view>
#include <vector>

namespace quorin::test {

/// Metrics that follow the font height: characters h * 7 / 16 wide (7 at
/// height 16, 5 at 13) and lines h + 2 high.
class FakeMeasure : public plots::TextMeasure
{
public:
    plots::FontMetrics Metrics(const core::LOGFONT& font) const override
    {
        const int h = std::abs(font.lfHeight);
        return plots::FontMetrics{h * 5 / 8, h, h + 2};
    }
    plots::TextExtent Extent(const core::LOGFONT& font, std::string_view text) const override
    {
        const int h = std::abs(font.lfHeight);
        return plots::TextExtent{static_cast<int>(text.size()) * (h * 7 / 16), h};
    }
};

/// The elements of one kind in a drawing, in drawing order.
template <typename T>
std::vector<T> All(const plots::PageDrawing& drawing)
{
    std::vector<T> found;
    for (const plots::PageElement& element : drawing.elements) {
        if (const auto* item = std::get_if<T>(&element)) {
            found.push_back(*item);
        }
    }
    return found;
}

} // namespace quorin::test
