#include "analysis/Titration.h"
#include "cli/Commands.h"

#include <charconv>
#include <cmath>

namespace quorin::cli {
namespace {

// More lines than this are a mistyped step rather than a wish.
constexpr double kMostLines = 100000.0;

double parsePH(std::string_view name, const std::optional<std::string>& text, double fallback)
{
    if (!text) {
        return fallback;
    }
    double value = 0.0;
    const char* const end = text->data() + text->size();
    const auto [ptr, error] = std::from_chars(text->data(), end, value);
    if (text->empty() || error != std::errc() || ptr != end || !std::isfinite(value)) {
        throw UsageError(std::string(name) + " takes a number, not \"" + *text + "\"");
    }
    return value;
}

} // namespace

analysis::PKaSet ParsePKaSet(const std::optional<std::string>& name)
{
    const auto set = analysis::PKaSetByName(name.value_or("settings"));
    if (!set) {
        throw UsageError("--pka-set takes " + analysis::PKaSetNameList() + ", not \"" + *name +
                         "\"");
    }
    return *set;
}

int RunTitration(Arguments& args)
{
    const auto settings = args.TakeValue("--settings");
    const auto output = args.TakeValue("-o");
    const auto setName = args.TakeValue("--pka-set");
    const double from = parsePH("--from", args.TakeValue("--from"), 0.0);
    const double to = parsePH("--to", args.TakeValue("--to"), 14.0);
    const double step = parsePH("--step", args.TakeValue("--step"), 0.5);
    const auto files = args.Positional(1);

    const analysis::PKaSet set = ParsePKaSet(setName);
    if (step <= 0.0) {
        throw UsageError("--step must be positive");
    }
    if (from > to) {
        throw UsageError("--from must not exceed --to");
    }
    if ((to - from) / step >= kMostLines) {
        throw UsageError("--step is too small: the table would have more than 100000 lines");
    }
    Session session(settings);
    LoadSequence(session, files[0]);
    const analysis::ChargeGroups groups = analysis::ChargeGroupsOf(session.record, set);
    WriteOutput(output, analysis::TitrationText(groups, from, to, step));
    return 0;
}

} // namespace quorin::cli
