#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quorin::core {

/// One occurrence of a motif: its 1-based number in the motif list and the
/// 1-based position of its first residue.
struct MotifHit
{
    std::int32_t motif = 0;
    std::int32_t position = 0;
};

/// The last motif search of a sequence, replaced by the next one.
struct MotifState
{
    /// The motifs in the order of the search string (empty ones left out).
    std::vector<std::string> motifs;
    int hitCount = 0;
    /// Ordered by position; equal positions in motif order.
    std::vector<MotifHit> hits;
};

} // namespace quorin::core
