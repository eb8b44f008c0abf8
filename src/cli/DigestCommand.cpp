#include "analysis/Digest.h"
#include "cli/Commands.h"

#include <algorithm>
#include <new>

namespace quorin::cli {
namespace {

analysis::SortMode parseSortMode(const std::optional<std::string>& text)
{
    if (!text || *text == "weight") {
        return analysis::SortMode::ByWeight;
    }
    if (*text == "start") {
        return analysis::SortMode::ByStart;
    }
    if (*text == "length") {
        return analysis::SortMode::ByLength;
    }
    throw UsageError("--sort takes start, length or weight, not \"" + *text + "\"");
}

} // namespace

int RunDigest(Arguments& args)
{
    const auto settings = args.TakeValue("--settings");
    const auto output = args.TakeValue("-o");
    const auto names = args.TakeValues("--agent");
    const analysis::SortMode sortMode = parseSortMode(args.TakeValue("--sort"));
    const bool completeOnly = args.TakeFlag("--complete");
    const auto files = args.Positional(1);
    if (names.empty()) {
        throw UsageError("Select an agent!");
    }

    Session session(settings);
    LoadSequence(session, files[0]);
    core::PropertyRecord& record = session.record;
    if (!analysis::CleavingAgentsDefined(record.agents)) {
        throw InputRefused("No cleaving agents defined!");
    }
    // As in the agent dialog: a name selected twice stands once in the
    // selection, and the first agent of a name is the one taken.
    std::vector<std::string> selectedNames;
    std::vector<core::ENZYME> selected;
    for (const std::string& name : names) {
        if (std::find(selectedNames.begin(), selectedNames.end(), name) != selectedNames.end()) {
            continue;
        }
        const core::ENZYME* agent = analysis::FindAgent(record.agents, name);
        if (agent == nullptr) {
            throw InputRefused("No cleaving agent named \"" + name + "\" in the settings");
        }
        selectedNames.push_back(name);
        selected.push_back(*agent);
    }

    record.digest.selectedAgents = selected;
    record.digest.lineWidth = session.app.charsPerLine;
    try {
        analysis::Digest(record, analysis::CombinedSpecificity(selected));
        // The digest leaves weight order, the window's default; re-sorting from
        // there puts equal keys in the order the window shows them.
        analysis::BuildDigestReport(record, sortMode, completeOnly, record.digest.lineWidth);
    } catch (const std::bad_alloc&) {
        throw InputRefused("Not enough memory for the fragments of this digest");
    }
    WriteOutput(output,
                [&](const core::ByteSink& sink) { analysis::WriteDigestReport(record, sink); });
    return 0;
}

} // namespace quorin::cli
