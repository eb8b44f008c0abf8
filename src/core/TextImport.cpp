#include "core/TextImport.h"

#include "core/SequenceText.h"

#include <algorithm>

namespace quorin::core {

std::string ImportedText(std::string_view fileBytes)
{
    fileBytes = WithoutUtf8Bom(fileBytes);
    constexpr std::size_t kChunk = 59000;
    std::string text;
    text.reserve(fileBytes.size());
    for (std::size_t at = 0; at < fileBytes.size(); at += kChunk) {
        const std::string_view chunk = fileBytes.substr(at, kChunk);
        text.append(chunk.substr(0, std::min(chunk.find('\0'), chunk.size())));
    }
    return text;
}

} // namespace quorin::core
