// Any text after a ">" is read as a FASTA file without fault, and what it
// gives exports and imports again unchanged.
#include "FuzzRequire.h"
#include "core/PepFile.h"
#include "core/SequenceText.h"

#include <cstdint>

using namespace quorin::core;
using quorin::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text = ">" + std::string(reinterpret_cast<const char*>(data), size);
    const std::string_view first = FirstFastaRecord(text);
    Require(first.size() <= text.size() && text.starts_with(first), "record is no prefix");

    PropertyRecord record;
    const PepLoadResult result = LoadSequenceBytes(text, record);
    Require(!result.hasSketch, "a text reports a sketch");
    if (result.status != PepLoadStatus::Ok) {
        Require(result.status == PepLoadStatus::NotQuorinFormat, "a text reads as cut");
        Require(record.Name().empty() && record.RawSequence().empty(), "refused text kept data");
        return 0;
    }
    const std::string exported = FastaExportBytes(record);
    PropertyRecord imported;
    Require(LoadSequenceBytes(exported, imported).status == PepLoadStatus::Ok,
            "an export is refused");
    // NUL bytes of a header go out as blanks.
    Require(imported.Name() == OneLineText(record.Name()), "the name changed on export and import");
    Require(imported.CleanSequence() == record.CleanSequence(),
            "the sequence changed on export and import");

    // The import command hands the whole text to the parser.
    PropertyRecord plain;
    ParseSequenceText(plain, std::string_view(text).substr(1));
    return 0;
}
