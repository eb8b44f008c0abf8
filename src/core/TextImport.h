#pragma once

#include <string>
#include <string_view>

namespace quorin::core {

/// The text that the Import command hands to ParseSequenceText: the file is
/// read in chunks of 59000 bytes and a 0 byte ends the text of its chunk (the
/// rest of that chunk is skipped, the next chunk is read again). A UTF-8
/// byte-order mark at the start is dropped first; a UTF-16 text (IsUtf16Text)
/// is for the caller to refuse.
std::string ImportedText(std::string_view fileBytes);

} // namespace quorin::core
