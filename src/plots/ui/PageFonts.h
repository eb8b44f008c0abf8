#pragma once

#include "core/LogFont.h"
#include "core/Residue.h"
#include "plots/Page.h"

#include <QColor>
#include <QFont>
#include <QString>

#include <string_view>

namespace quorin::plots::ui {

/// The one place where the stored font and colour forms become Qt's.
///
/// The pages are laid out in Arial and Courier New; their metric twins from
/// fonts-liberation stand in for them. A positive height is the cell height
/// (ascent plus descent), a negative one the character height, both in device
/// pixels; 0 takes the default page font's height.
QFont ToQFont(const core::LOGFONT& font);

/// A font chosen in Qt as the pages store it: the character height as a
/// negative height (pixels at 96 per inch for point sizes), the weight, the
/// styles and the stored face name.
core::LOGFONT FromQFont(const QFont& font);

/// The stored face name for a Qt family: the twins map back to the names the
/// pages store, so a metafile names "Arial" as the page did.
QString StoredFaceName(const QString& family);

/// 0x00BBGGRR to an opaque colour, and back.
QColor ToQColor(core::COLORREF colour);
core::COLORREF ToColorRef(const QColor& colour);

/// Engine text (UTF-8, or Latin-1 when it is not valid UTF-8) to a QString.
QString ToQString(std::string_view text);

/// Font measurements with the fonts the page really draws.
class QtTextMeasure : public TextMeasure
{
public:
    FontMetrics Metrics(const core::LOGFONT& font) const override;
    TextExtent Extent(const core::LOGFONT& font, std::string_view text) const override;
};

} // namespace quorin::plots::ui
