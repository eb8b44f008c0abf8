// Any bytes given to the sequence-file reader end in a clean load or a clean
// refusal; a clean load survives a save and a reload unchanged.
#include "FuzzRequire.h"
#include "core/PepFile.h"

#include <cstdint>

using namespace quorin::core;
using quorin::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    PropertyRecord record;
    record.SetName("previous");
    record.SetSequence("MKV");
    record.remarks = "previous remarks";
    const PepLoadResult result = LoadSequenceBytes(bytes, record);
    if (result.status != PepLoadStatus::Ok) {
        Require(!result.hasSketch, "a refused file reports a sketch");
        Require(record.Name().empty() && record.RawSequence().empty() && record.remarks.empty() &&
                    record.sketch.domains.empty() && record.sketch.marks.empty() &&
                    record.sketch.texts.empty(),
                "a refused file left data in the record");
        return 0;
    }
    const std::string saved = StoreSequenceBytes(record, result.hasSketch);
    PropertyRecord again;
    const PepLoadResult reread = LoadSequenceBytes(saved, again);
    Require(reread.status == PepLoadStatus::Ok, "a saved file is refused");
    Require(reread.hasSketch == result.hasSketch, "the sketch flag changed");
    Require(again.Name() == record.Name(), "the name changed");
    Require(again.CleanSequence() == record.CleanSequence(), "the sequence changed");
    Require(StoreSequenceBytes(again, result.hasSketch) == saved, "a resave differs");
    return 0;
}
