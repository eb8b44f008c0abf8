#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quorin::core {

struct ENZYME;

/// One fragment of a digest. Positions are 0-based into the cleaned sequence,
/// both inclusive; a fragment between two equal cut positions has
/// end = start - 1. mw is in dalton and counts one water.
struct FRAGM
{
    std::int32_t start = 0;
    std::int32_t end = 0;
    double mw = 0.0;
    std::uint8_t complete = 0; // 1: between two neighbouring cut positions
};

/// The last digest of a sequence and its report, replaced by each new digest.
///
/// The report is kept as its head (every line before the fragment table, each
/// ending with CR LF) and the rows of the table, which are formatted only when
/// asked for: a digest of a long protein has millions of rows.
struct DigestState
{
    /// Number of pattern matches, duplicates included.
    int siteCount = 0;
    /// 0, the site positions in ascending order (duplicates kept), the length.
    /// A cut position p means that a fragment starts at residue p (0-based).
    std::vector<int> cuts;
    /// (siteCount + 1)(siteCount + 2) / 2 fragments, in the last sort order.
    std::vector<FRAGM> fragments;
    /// The agents of the last agent selection, in selection order. ENZYME is
    /// complete wherever the property record is.
    std::vector<ENZYME> selectedAgents;
    /// Width at which the site list of the report wraps ("Characters per line").
    int lineWidth = 80;

    std::string reportHead;
    /// Offset in reportHead of the first character of each of its lines.
    std::vector<std::size_t> reportHeadLines;
    /// True when the table lists only the fragments of the complete digest.
    bool reportCompleteOnly = false;
    /// With reportCompleteOnly: the indices into fragments of the rows shown.
    std::vector<std::size_t> reportRows;
    /// The lines under the report's title that name the bounds and masses of
    /// a digest made with options (no line ends); empty: none.
    std::vector<std::string> reportOptionLines;
    /// The charges of the m/z columns after the table's own; empty: none.
    std::vector<int> reportCharges;
};

} // namespace quorin::core
