#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace quorin::core {

/// A logical font as the settings and the sketch block store it. The face
/// name holds at most 31 characters and a terminating zero.
struct LOGFONT
{
    std::int32_t lfHeight = 0;
    std::int32_t lfWidth = 0;
    std::int32_t lfEscapement = 0;
    std::int32_t lfOrientation = 0;
    std::int32_t lfWeight = 0;
    std::uint8_t lfItalic = 0;
    std::uint8_t lfUnderline = 0;
    std::uint8_t lfStrikeOut = 0;
    std::uint8_t lfCharSet = 0;
    std::uint8_t lfOutPrecision = 0;
    std::uint8_t lfClipPrecision = 0;
    std::uint8_t lfQuality = 0;
    std::uint8_t lfPitchAndFamily = 0;
    std::array<char, 32> lfFaceName{};

    /// The face name up to its terminating zero.
    std::string FaceName() const;
    /// Stores at most the first 31 characters of name.
    void SetFaceName(std::string_view name);

    friend bool operator==(const LOGFONT&, const LOGFONT&) = default;
};

/// The largest font height, of either sign, in device units: far above the
/// 512 points the font dialog offers even when scaled for a printer, and a
/// size the font engines still render. A file keeps whatever height it
/// holds; heights are held within this one where a font is scaled for a page
/// and where it becomes a Qt font, so that no negation or conversion of a
/// height can overflow.
inline constexpr std::int32_t kMaxFontHeight = 16384;

/// height held within -kMaxFontHeight..kMaxFontHeight.
constexpr std::int32_t ClampedFontHeight(std::int64_t height)
{
    return static_cast<std::int32_t>(height < -kMaxFontHeight  ? -kMaxFontHeight
                                     : height > kMaxFontHeight ? kMaxFontHeight
                                                               : height);
}

/// Report font A, prepared at start-up: "Arial", cell height 16, the default
/// font of the plot pages (axes, tick labels, titles, new marks and text
/// items) and every new sequence's wheel font.
LOGFONT ReportFontA();

/// Report font B, prepared at start-up: "Courier New", cell height 15, the
/// fixed font a page draws with when an item's own font cannot be made.
LOGFONT ReportFontB();

} // namespace quorin::core
