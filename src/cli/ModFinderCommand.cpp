#include "analysis/Digest.h"
#include "analysis/ModFinder.h"
#include "cli/Commands.h"

#include <algorithm>

namespace quorin::cli {

int RunModFinder(Arguments& args)
{
    const auto settings = args.TakeValue("--settings");
    const auto output = args.TakeValue("-o");
    const auto agents = args.TakeValues("--agent");
    const auto mods = args.TakeValues("--mod");
    const auto weight = args.TakeValue("--weight");
    const auto uncertainty = args.TakeValue("--uncertainty");
    const bool completeOnly = args.TakeFlag("--complete");
    const auto files = args.Positional(1);
    if (agents.empty()) {
        throw UsageError("Select an agent!");
    }

    Session session(settings);
    LoadSequence(session, files[0]);
    core::PropertyRecord& record = session.record;
    if (!analysis::ModificationsDefined(record.modifications)) {
        throw InputRefused("No modifications defined!");
    }
    // As in the dialog's Selected list: a name stands there once.
    std::vector<std::string> names;
    for (const std::string& name : mods) {
        if (std::find(names.begin(), names.end(), name) != names.end()) {
            continue;
        }
        if (analysis::FindModification(record.modifications, name) == nullptr) {
            throw InputRefused("No modification named \"" + name + "\" in the settings");
        }
        names.push_back(name);
    }
    const std::string weightText = weight.value_or("");
    const std::string uncertaintyText = uncertainty.value_or("1.0");
    const analysis::ModFinderFault fault =
        analysis::CheckModFinderInput(names, weightText, uncertaintyText);
    if (fault != analysis::ModFinderFault::None) {
        throw InputRefused(std::string(analysis::ModFinderFaultMessage(fault)));
    }

    // Matches are sought among all fragments; --complete only filters the report.
    DigestWithAgents(session, agents, analysis::DigestOptions{});
    analysis::SelectModifications(record, names);
    analysis::FindModifications(record, analysis::WeightFromText(weightText),
                                analysis::WeightFromText(uncertaintyText));
    WriteOutput(output, analysis::ModReportText(record, completeOnly));
    return 0;
}

} // namespace quorin::cli
