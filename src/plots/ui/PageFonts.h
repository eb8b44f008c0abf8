#pragma once

#include "core/LogFont.h"
#include "plots/Page.h"

#include <string_view>

namespace quorin::plots::ui {

/// Font measurements with the fonts the page really draws
/// (core::ui::FontFromLogFont).
class QtTextMeasure : public TextMeasure
{
public:
    FontMetrics Metrics(const core::LOGFONT& font) const override;
    TextExtent Extent(const core::LOGFONT& font, std::string_view text) const override;
};

} // namespace quorin::plots::ui
