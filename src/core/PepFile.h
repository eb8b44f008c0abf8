#pragma once

#include "core/FileIo.h"
#include "core/PropertyRecord.h"
#include "core/UniProt.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace quorin::core {

/// What the program tells the user about a file that is no sequence file.
inline constexpr std::string_view kNotQuorinFormatMessage = "File corrupted or not Quorin-format !";
/// What the program tells the user about a sequence file that ends early.
inline constexpr std::string_view kTruncatedFileMessage =
    "The file ends before all of its data could be read.";
/// What the program tells the user about a text saved as UTF-16.
inline constexpr std::string_view kUtf16TextMessage =
    "The file is UTF-16 text; save it as UTF-8 or plain ASCII.";

enum class PepLoadStatus
{
    Ok,
    NotQuorinFormat, ///< no signature terminator in the first 21 bytes, or no FASTA record
    Truncated,       ///< a count or length runs past the end of the file
    Utf16Text,       ///< a text that starts with a UTF-16 byte-order mark
    MalformedEntry,  ///< a UniProt entry that cannot be read (PepLoadResult::problem says why)
};

struct PepLoadResult
{
    PepLoadStatus status = PepLoadStatus::Ok;
    bool hasSketch =
        false; ///< the file carried a sketch block (the caller opens the sketch document)
    /// The file was a UniProt entry: its features are in record.features, and
    /// the caller draws them as the domain sketch.
    bool uniProtEntry = false;
    /// Why a UniProt entry was refused (MalformedEntry), on one line.
    std::string problem;
};

/// Loads the bytes of a sequence file (.pep of generation 1, 2 or 3, a FASTA text
/// whose first byte is ">", or a UniProt entry (IsUniProtText), after a UTF-8
/// byte-order mark if any) into record: name, remarks, features,
/// sequence (through SetSequence) and record.sketch. On failure the record's sequence data are left
/// empty, as for a new document; nothing of a half-read file is kept. Every count is checked
/// against the bytes left before anything is allocated for it. Bytes after the announced content
/// are ignored.
PepLoadResult LoadSequenceBytes(std::string_view bytes, PropertyRecord& record);

/// Puts a UniProt entry into record: the entry name as name, its residues, the
/// remarks of UniProtRemarks and its features; the sketch is left alone.
void TakeUniProtEntry(const UniProtEntry& entry, PropertyRecord& record);

/// The generation-3 bytes of record; the sketch block only when withSketch.
/// Texts longer than their 16-bit counts allow are cut to 65535 characters,
/// lists to 65535 entries.
std::string StoreSequenceBytes(const PropertyRecord& record, bool withSketch);

/// Writes StoreSequenceBytes atomically (temporary file beside path, renamed
/// over it only when every byte was written). On failure the status says why
/// and the previous file is left as it was.
FileStatus SaveSequenceFile(const std::filesystem::path& path, const PropertyRecord& record,
                            bool withSketch);

/// The FASTA Export bytes: ">" name CR LF cleaned-sequence, no final line break.
/// Line breaks and NUL bytes in the name go out as blanks, so that the header
/// stays one line.
std::string FastaExportBytes(const PropertyRecord& record);

} // namespace quorin::core
