#pragma once

#include "cli/CliCommon.h"
#include "core/PropertyRecord.h"
#include "plots/Hydropathy.h"

#include <optional>
#include <string>

namespace quorin::cli {

/// The hydropathy options as typed: --from, --to, --window, --scale and
/// --threshold.
struct HydropathyOptions
{
    std::optional<std::string> from;
    std::optional<std::string> to;
    std::optional<std::string> window;
    std::optional<std::string> scale;
    std::optional<std::string> threshold;
};

HydropathyOptions TakeHydropathyOptions(Arguments& args);

/// Checks the options as the hydropathy dialog checks its fields (defaults: 1,
/// the last position, 11, 1.6) and makes the scale current (default: the
/// first). Throws InputRefused with the dialog's messages.
plots::PendingPlotRequest ApplyHydropathyOptions(core::PropertyRecord& record,
                                                 const HydropathyOptions& options);

/// Makes the --scale index current; throws InputRefused when the list has no
/// such entry or no entry at all.
void SelectScaleOption(core::PropertyRecord& record, const std::optional<std::string>& scale);

} // namespace quorin::cli
