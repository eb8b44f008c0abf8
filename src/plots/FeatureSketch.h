#pragma once

#include "core/PropertyRecord.h"

#include <string_view>

namespace quorin::plots {

/// Whether features of this key become domains of the sketch: TRANSMEM,
/// DOMAIN, REGION, HELIX, SIGNAL, TOPO_DOM and CHAIN.
bool IsSketchedFeature(std::string_view key);

/// The fill of a sketched feature's domain, one colour per key (grey for
/// any other key).
core::COLORREF FeatureColour(std::string_view key);

/// Draws the record's features as its domain sketch: the sketch a new window
/// starts with (StartDomainSketch: the whole sequence, at a scale at which it
/// fits the page), then one domain per sketched feature in the entry's order,
/// its ends inclusive (an unknown end drawn to the known bound, "?" to the
/// sequence's end), named after the key with a number where the key
/// repeats ("TRANSMEM 2"), the name cut to the domain dialog's length and
/// shown, the fill FeatureColour. Features that start past the positions a
/// file stores are left out. Marks and text items stay.
void SketchFeatures(core::PropertyRecord& record);

} // namespace quorin::plots
