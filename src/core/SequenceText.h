#pragma once

#include "core/PropertyRecord.h"

#include <string>
#include <string_view>

namespace quorin::core {

/// Reads a header line and a sequence into record: the name is the first line
/// without its first character, the sequence everything after the line breaks
/// that follow it. Returns 1 when a name and a sequence were taken, 0 when the
/// text has fewer than two characters or no line break (record unchanged).
int ParseSequenceText(PropertyRecord& record, std::string_view text);

/// The first record of a FASTA text: everything up to the next ">" that starts
/// a line (a ">" inside a header or a sequence line does not end it).
std::string_view FirstFastaRecord(std::string_view text);

/// True when bytes start with a UTF-16 byte-order mark (FF FE or FE FF): a
/// text the program cannot read as bytes.
bool IsUtf16Text(std::string_view bytes);

/// bytes without the UTF-8 byte-order mark (EF BB BF) at their start, if any.
std::string_view WithoutUtf8Bom(std::string_view bytes);

/// text for one line of a FASTA header or a report title: line breaks (CR,
/// LF) and NUL bytes become blanks, so that a name never ends its record.
std::string OneLineText(std::string_view text);

} // namespace quorin::core
