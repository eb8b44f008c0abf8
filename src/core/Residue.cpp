#include "core/Residue.h"

namespace quorin::core {

int IndexOfLetter(char c)
{
    const auto pos = kResidueLetters.find(c);
    return pos == std::string_view::npos ? kCTerminus : static_cast<int>(pos) + 1;
}

char LetterOfIndex(int index)
{
    if (index <= 0) {
        return '<';
    }
    if (index > 20) {
        return '>';
    }
    return kResidueLetters[static_cast<std::size_t>(index - 1)];
}

bool IsResidueLetter(char c)
{
    const bool ascii = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    if (!ascii) {
        return false;
    }
    const char upper = UpperCaseResidue(c);
    return upper != 'B' && upper != 'J' && upper != 'U' && upper != 'Z';
}

char UpperCaseResidue(char c)
{
    const auto code = static_cast<unsigned char>(c);
    return code > 0x60 ? static_cast<char>(code - 0x20) : c;
}

COLORREF DefaultResidueColour(int index)
{
    switch (index < 1 || index > 20 ? '\0' : LetterOfIndex(index)) {
    case 'D':
    case 'E':
        return 0xFA0000;
    case 'K':
    case 'R':
        return 0x0000FA;
    case 'H':
    case 'N':
    case 'Q':
    case 'S':
    case 'T':
        return 0x00FA00;
    default:
        return kDarkGrey;
    }
}

} // namespace quorin::core
