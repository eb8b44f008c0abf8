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

} // namespace quorin::core
