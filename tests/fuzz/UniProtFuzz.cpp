// Any text after an ID line is read as a UniProt entry without fault: refused
// with a reason, or read into a record whose features have ends the sketch
// can place, and whose feature table has one line per feature.
#include "FuzzRequire.h"
#include "core/PepFile.h"
#include "core/UniProt.h"

#include <algorithm>
#include <cstdint>

using namespace quorin::core;
using quorin::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text = "ID   " + std::string(reinterpret_cast<const char*>(data), size);
    const UniProtReadResult read = ReadUniProtEntry(text);
    Require(read.entry.has_value() == read.problem.empty(), "an entry and a problem at once");

    PropertyRecord record;
    const PepLoadResult result = LoadSequenceBytes(text, record);
    if (!read.entry) {
        // A first line holding a 0 byte is a sequence file of the first generation.
        if (IsUniProtText(text)) {
            Require(result.status == PepLoadStatus::MalformedEntry, "a refused entry loads");
            Require(result.problem == read.problem, "two reasons for one refusal");
            Require(record.features.empty() && record.RawSequence().empty(),
                    "a refused entry kept data");
        }
        return 0;
    }
    Require(result.status == PepLoadStatus::Ok && result.uniProtEntry, "a read entry is refused");
    Require(record.features == read.entry->features, "the record lost features");
    const int length = static_cast<int>(record.CleanSequence().size());
    for (const SequenceFeature& feature : read.entry->features) {
        Require(!feature.key.empty() && !feature.start.empty() && !feature.end.empty(),
                "a feature without key or ends");
        const int start = FeatureBound(feature.start, 1, length);
        const int end = FeatureBound(feature.end, length, length);
        Require(length == 0 || (start >= 1 && end <= length), "a bound outside the sequence");
    }
    const std::string table = FeatureTableText(read.entry->features);
    Require(static_cast<std::size_t>(std::count(table.begin(), table.end(), '\n')) ==
                read.entry->features.size() + 1,
            "a feature row broken over lines");
    return 0;
}
