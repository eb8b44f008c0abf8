#include "cli/Commands.h"
#include "cli/PlotOptions.h"
#include "core/MessageTexts.h"
#include "plots/Amphipathy.h"
#include "plots/Hydropathy.h"

namespace quorin::cli {
namespace {

/// The delimiter field of the export holds at most this many characters.
constexpr std::size_t kDelimiterField = 9;

} // namespace

HydropathyOptions TakeHydropathyOptions(Arguments& args)
{
    HydropathyOptions options;
    options.from = args.TakeValue("--from");
    options.to = args.TakeValue("--to");
    options.window = args.TakeValue("--window");
    options.scale = args.TakeValue("--scale");
    options.threshold = args.TakeValue("--threshold");
    return options;
}

void SelectScaleOption(core::PropertyRecord& record, const std::optional<std::string>& scale)
{
    if (record.scales.empty()) {
        throw InputRefused(std::string(core::msg::kNoHydropathyScale));
    }
    const int index = scale ? ParseIntOption("--scale", *scale) : 0;
    const int count = static_cast<int>(record.scales.size());
    if (index < 0 || index >= count) {
        throw InputRefused("No hydropathy scale " + std::to_string(index) + ": the settings hold " +
                           std::to_string(count) + " (0 to " + std::to_string(count - 1) + ")");
    }
    plots::SelectScale(record, index);
}

plots::PendingPlotRequest ApplyHydropathyOptions(core::PropertyRecord& record,
                                                 const HydropathyOptions& options)
{
    SelectScaleOption(record, options.scale);
    const int length = plots::PositionCount(record);
    const plots::PathyDialogCheck check = plots::CheckPathyDialog(
        {options.from.value_or("1"), options.to.value_or(std::to_string(length)),
         options.window.value_or("11"), options.threshold.value_or("1.6")},
        length);
    if (!check.ok) {
        throw InputRefused(check.message);
    }
    return plots::PendingPlotRequest{check.from, check.to, check.window, check.threshold};
}

int RunHydropathy(Arguments& args)
{
    const auto settings = args.TakeValue("--settings");
    const auto output = args.TakeValue("-o");
    const HydropathyOptions options = TakeHydropathyOptions(args);
    const std::string delimiter =
        args.TakeValue("--delimiter").value_or("\t").substr(0, kDelimiterField);
    if (delimiter.empty()) {
        throw UsageError("--delimiter needs at least one character");
    }
    const auto files = args.Positional(1);
    Session session(settings);
    LoadSequence(session, files[0]);
    const plots::PendingPlotRequest request = ApplyHydropathyOptions(session.record, options);
    WriteOutput(output, plots::HydropathyExportText(session.record, request.from, request.to,
                                                    request.window, delimiter));
    return 0;
}

int RunHelices(Arguments& args)
{
    const auto settings = args.TakeValue("--settings");
    const auto output = args.TakeValue("-o");
    const auto scale = args.TakeValue("--scale");
    const auto threshold = args.TakeValue("--threshold");
    const auto files = args.Positional(1);
    Session session(settings);
    LoadSequence(session, files[0]);
    SelectScaleOption(session.record, scale);
    const plots::PathyDialogCheck check = plots::CheckThreshold(threshold.value_or("1.6"));
    if (!check.ok) {
        throw InputRefused(check.message);
    }
    std::vector<plots::Helix> helices;
    plots::PredictHelices(session.record, check.threshold, &helices);
    WriteOutput(output, plots::HelixListText(helices));
    return 0;
}

int RunMoment(Arguments& args)
{
    const auto settings = args.TakeValue("--settings");
    const auto output = args.TakeValue("-o");
    const auto scale = args.TakeValue("--scale");
    const auto from = args.TakeValue("--from");
    const auto to = args.TakeValue("--to");
    if (!from || !to) {
        throw UsageError("moment needs --from and --to");
    }
    const auto files = args.Positional(1);
    Session session(settings);
    LoadSequence(session, files[0]);
    SelectScaleOption(session.record, scale);
    const plots::PathyDialogCheck check =
        plots::CheckWheelDialog(*from, *to, plots::PositionCount(session.record));
    if (!check.ok) {
        throw InputRefused(check.message);
    }
    WriteOutput(output, plots::AmphipathyMomentText(
                            plots::AmphipathyMoment(session.record, check.from, check.to)) +
                            "\r\n");
    return 0;
}

} // namespace quorin::cli
