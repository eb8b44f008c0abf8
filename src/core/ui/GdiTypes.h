#pragma once

#include "core/LogFont.h"
#include "core/Residue.h"

#include <QColor>
#include <QFont>

namespace quorin::core::ui {

/// The stored forms of fonts and colours as Qt draws them. A LOGFONT height
/// is in device pixels: negative for the character height, positive for the
/// cell height (characters plus internal leading), 0 for the default size.
QFont FontFromLogFont(const LOGFONT& font);

/// 0x00BBGGRR as a QColor, and back.
QColor ColorFromColorref(COLORREF colour);
COLORREF ColorrefFromColor(const QColor& colour);

} // namespace quorin::core::ui
