#pragma once

#include <cstdint>
#include <vector>

namespace quorin::core {

struct MODIFICATION;

/// One ModFinder match: a digest fragment that, carrying a modification,
/// weighs the measured weight within the uncertainty. The fragment's start,
/// end, mass and complete flag are kept with the match, so that re-sorting
/// the digest's fragments never changes which fragment a match names.
struct MODFRAG
{
    /// Index of the fragment in the digest's fragments sorted by weight
    /// (ascending, stable) at search time.
    std::int32_t fragment = 0;
    /// Index into the selected modifications.
    std::int32_t modification = 0;
    /// 1 when the fragment holds an attachment sequence of the modification.
    std::uint8_t site = 0;
    /// 0-based into the cleaned sequence, both inclusive.
    std::int32_t start = 0;
    std::int32_t end = 0;
    /// The fragment's mass in dalton, without the modification.
    double mw = 0.0;
    std::uint8_t complete = 0;
};

/// The last ModFinder search of a sequence, replaced by the next one.
struct ModFinderState
{
    /// Measured weight and its uncertainty, in dalton.
    double weight = 0.0;
    double uncertainty = 0.0;
    /// Copies of the modifications searched for, in selection order.
    /// MODIFICATION is complete wherever the property record is.
    std::vector<MODIFICATION> selected;
    /// Grouped by modification in selection order, each group from the
    /// heaviest fragment to the lightest.
    std::vector<MODFRAG> matches;
};

} // namespace quorin::core
