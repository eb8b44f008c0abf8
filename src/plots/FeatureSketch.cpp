#include "plots/FeatureSketch.h"

#include "plots/Hydropathy.h"
#include "plots/SketchPage.h"

#include <algorithm>
#include <array>
#include <map>
#include <string>

namespace quorin::plots {
namespace {

struct KeyColour
{
    std::string_view key;
    core::COLORREF colour; // 0x00BBGGRR
};

// Told apart also by readers with a red-green weakness (Okabe and Ito's
// palette); a chain spans most of the sequence, so it gets a pale blue that
// the shorter boxes stand out against.
constexpr std::array<KeyColour, 7> kKeyColours{{
    {"TRANSMEM", 0x009FE6},
    {"TOPO_DOM", 0xE9B456},
    {"DOMAIN", 0x739E00},
    {"REGION", 0x42E4F0},
    {"SIGNAL", 0x005ED5},
    {"HELIX", 0xA779CC},
    {"CHAIN", 0xF0D8B8},
}};

} // namespace

bool IsSketchedFeature(std::string_view key)
{
    return std::any_of(kKeyColours.begin(), kKeyColours.end(),
                       [key](const KeyColour& entry) { return entry.key == key; });
}

core::COLORREF FeatureColour(std::string_view key)
{
    for (const KeyColour& entry : kKeyColours) {
        if (entry.key == key) {
            return entry.colour;
        }
    }
    return kDefaultDomainColour;
}

void SketchFeatures(core::PropertyRecord& record)
{
    StartDomainSketch(record);
    const int length = PositionCount(record);
    if (length <= 0) {
        return;
    }
    std::map<std::string, int> perKey;
    for (const core::SequenceFeature& feature : record.features) {
        if (IsSketchedFeature(feature.key)) {
            ++perKey[feature.key];
        }
    }
    std::map<std::string, int> numbered;
    for (const core::SequenceFeature& feature : record.features) {
        if (!IsSketchedFeature(feature.key)) {
            continue;
        }
        const int number = ++numbered[feature.key];
        int start = core::FeatureBound(feature.start, 1, length);
        int end = core::FeatureBound(feature.end, length, length);
        if (start > end) {
            std::swap(start, end);
        }
        if (start > kLastStoredPosition) {
            continue;
        }
        std::string name = feature.key;
        if (perKey[feature.key] > 1) {
            name += " " + std::to_string(number);
        }
        record.sketch.domains.push_back(
            ShownDomain(start, end, std::move(name), FeatureColour(feature.key)));
    }
}

} // namespace quorin::plots
