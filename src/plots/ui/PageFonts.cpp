#include "plots/ui/PageFonts.h"

#include "core/ui/GdiTypes.h"
#include "core/ui/QtText.h"

#include <QFontMetrics>

#include <algorithm>

namespace quorin::plots::ui {
namespace {

/// The widest character of the 8-bit range, as GDI reports for a font with
/// an 8-bit character set.
int maxCharWidth(const QFontMetrics& metrics)
{
    int widest = 0;
    for (int code = 0x20; code <= 0xFF; ++code) {
        if (code >= 0x7F && code < 0xA0) {
            continue;
        }
        widest = std::max(widest, metrics.horizontalAdvance(QChar(code)));
    }
    return widest;
}

} // namespace

FontMetrics QtTextMeasure::Metrics(const core::LOGFONT& font) const
{
    const QFontMetrics metrics(core::ui::FontFromLogFont(font));
    return FontMetrics{maxCharWidth(metrics), metrics.height(),
                       metrics.height() + std::max(0, metrics.leading())};
}

TextExtent QtTextMeasure::Extent(const core::LOGFONT& font, std::string_view text) const
{
    const QFontMetrics metrics(core::ui::FontFromLogFont(font));
    return TextExtent{metrics.horizontalAdvance(core::ui::ToQString(text)), metrics.height()};
}

} // namespace quorin::plots::ui
