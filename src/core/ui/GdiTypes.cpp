#include "core/ui/GdiTypes.h"

#include "core/ui/QtText.h"

#include <QFontMetrics>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace quorin::core::ui {

QFont FontFromLogFont(const LOGFONT& font)
{
    QFont result(ToQString(font.FaceName()));
    if (font.lfHeight != 0) {
        int pixels = std::abs(font.lfHeight);
        if (font.lfHeight > 0) {
            // A cell height: take off the internal leading of the face so the
            // characters come out as large as the stored height intends.
            QFont probe = result;
            probe.setPixelSize(pixels);
            const QFontMetrics metrics(probe);
            const int cell = metrics.ascent() + metrics.descent();
            if (cell > 0) {
                pixels = std::max(1, static_cast<int>(std::lround(pixels * double(pixels) / cell)));
            }
        }
        result.setPixelSize(pixels);
    }
    if (font.lfWeight > 0) {
        result.setWeight(static_cast<QFont::Weight>(std::clamp(font.lfWeight, 1, 1000)));
    }
    result.setItalic(font.lfItalic != 0);
    result.setUnderline(font.lfUnderline != 0);
    result.setStrikeOut(font.lfStrikeOut != 0);
    if ((font.lfPitchAndFamily & 0x03) == 1) {
        result.setFixedPitch(true);
        result.setStyleHint(QFont::TypeWriter);
    } else if ((font.lfPitchAndFamily & 0xF0) == 0x20) {
        result.setStyleHint(QFont::SansSerif);
    } else if ((font.lfPitchAndFamily & 0xF0) == 0x10) {
        result.setStyleHint(QFont::Serif);
    }
    return result;
}

QColor ColorFromColorref(COLORREF colour)
{
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

COLORREF ColorrefFromColor(const QColor& colour)
{
    return static_cast<COLORREF>(colour.red()) | (static_cast<COLORREF>(colour.green()) << 8) |
           (static_cast<COLORREF>(colour.blue()) << 16);
}

} // namespace quorin::core::ui
