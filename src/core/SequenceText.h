#pragma once

#include "core/PropertyRecord.h"

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

} // namespace quorin::core
