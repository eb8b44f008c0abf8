#pragma once

#include "core/LogFont.h"
#include "core/Residue.h"

#include <QColor>
#include <QFont>
#include <QString>

namespace quorin::core::ui {

/// The one place where the stored forms of fonts and colours become Qt's and
/// back. QtGui only: the command line draws pages with it too.
///
/// The pages are laid out in Arial and Courier New; their metric twins from
/// fonts-liberation stand in for them. A LOGFONT height is in device pixels:
/// positive for the cell height (ascent plus descent), negative for the
/// character height, 0 for the height of report font A.
QFont FontFromLogFont(const LOGFONT& font);

/// A font chosen in Qt as the settings and pages store it: the character
/// height as a negative height (pixels at 96 per inch for point sizes), the
/// weight, the styles, the pitch and the stored face name.
LOGFONT LogFontFromFont(const QFont& font);

/// The stored face name for a Qt family: the twins map back to the names the
/// pages store, so a metafile names "Arial" as the page did.
QString StoredFaceName(const QString& family);

/// 0x00BBGGRR as an opaque QColor, and back.
QColor ColorFromColorref(COLORREF colour);
COLORREF ColorrefFromColor(const QColor& colour);

} // namespace quorin::core::ui
