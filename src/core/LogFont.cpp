#include "core/LogFont.h"

#include <algorithm>

namespace quorin::core {

std::string LOGFONT::FaceName() const
{
    const auto end = std::find(lfFaceName.begin(), lfFaceName.end(), '\0');
    return std::string(lfFaceName.begin(), end);
}

void LOGFONT::SetFaceName(std::string_view name)
{
    lfFaceName.fill('\0');
    name.copy(lfFaceName.data(), std::min(name.size(), lfFaceName.size() - 1));
}

namespace {

LOGFONT reportFont(std::int32_t height, std::uint8_t pitchAndFamily, std::string_view face)
{
    LOGFONT font;
    font.lfHeight = height;
    font.lfWeight = 400;
    font.lfOutPrecision = 4; // TrueType
    font.lfQuality = 2;      // proof
    font.lfPitchAndFamily = pitchAndFamily;
    font.SetFaceName(face);
    return font;
}

} // namespace

LOGFONT ReportFontA()
{
    return reportFont(16, 0x22, "Arial"); // variable pitch, Swiss
}

LOGFONT ReportFontB()
{
    return reportFont(15, 0x31, "Courier New"); // fixed pitch, modern
}

} // namespace quorin::core
