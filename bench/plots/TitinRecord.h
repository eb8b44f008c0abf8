#pragma once

#include "core/FileIo.h"
#include "core/PropertyRecord.h"
#include "plots/Hydropathy.h"

#include <stdexcept>

namespace quorin::bench {

/// Fills record with titin (34,350 residues) from the test data, the built-in
/// scales and the first of them current: the long protein the plot pages are
/// measured on.
inline void LoadTitin(core::PropertyRecord& record)
{
    const auto fasta = core::ReadWholeFile(QUORIN_TEST_DATA_DIR "/proteins/Q8WZ42.fasta");
    if (!fasta) {
        throw std::runtime_error("missing titin fixture");
    }
    record.ResetCurrentTables();
    record.scales = record.builtinScales;
    record.SetName("titin");
    record.SetSequence(fasta->substr(fasta->find('\n') + 1));
    plots::SelectScale(record, 0);
}

} // namespace quorin::bench
