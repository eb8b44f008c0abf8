#include "core/SequenceText.h"

namespace quorin::core {

int ParseSequenceText(PropertyRecord& record, std::string_view text)
{
    if (text.size() < 2) {
        return 0;
    }
    const auto lineEnd = text.find_first_of("\r\n");
    if (lineEnd == std::string_view::npos) {
        return 0;
    }
    record.SetName(text.substr(1, lineEnd == 0 ? 0 : lineEnd - 1));
    std::size_t start = lineEnd;
    while (start + 1 < text.size() && (text[start] == '\r' || text[start] == '\n')) {
        ++start;
    }
    // A header with nothing after it leaves only its own line end here, which
    // is no residue and gives an empty sequence.
    record.SetSequence(text.substr(start));
    return 1;
}

std::string_view FirstFastaRecord(std::string_view text)
{
    for (std::size_t i = 1; i < text.size(); ++i) {
        if (text[i] == '>' && (text[i - 1] == '\n' || text[i - 1] == '\r')) {
            return text.substr(0, i);
        }
    }
    return text;
}

bool IsUtf16Text(std::string_view bytes)
{
    return bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF");
}

std::string_view WithoutUtf8Bom(std::string_view bytes)
{
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    return bytes.starts_with(kBom) ? bytes.substr(kBom.size()) : bytes;
}

std::string OneLineText(std::string_view text)
{
    std::string line(text);
    for (char& c : line) {
        if (c == '\r' || c == '\n' || c == '\0') {
            c = ' ';
        }
    }
    return line;
}

} // namespace quorin::core
