#include "analysis/Digest.h"
#include "cli/Commands.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
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

/// The most fragments the digest may make: --max-fragments, else what the
/// machine's memory allows.
std::uint64_t parseMaxFragments(const std::optional<std::string>& text)
{
    if (!text) {
        return analysis::FragmentCeiling();
    }
    std::uint64_t value = 0;
    const char* const end = text->data() + text->size();
    const auto [ptr, error] = std::from_chars(text->data(), end, value);
    if (text->empty() || error != std::errc() || ptr != end || value == 0) {
        throw UsageError("--max-fragments takes a positive whole number, not \"" + *text + "\"");
    }
    return value;
}

} // namespace

void DigestWithAgents(Session& session, const std::vector<std::string>& names, bool completeOnly,
                      std::uint64_t maxFragments)
{
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
        const analysis::DigestResult result = analysis::Digest(
            record, analysis::CombinedSpecificity(selected), {completeOnly, maxFragments});
        if (result.Refused()) {
            throw InputRefused(result.refusal);
        }
    } catch (const std::bad_alloc&) {
        throw InputRefused("Not enough memory for the fragments of this digest");
    }
}

int RunDigest(Arguments& args)
{
    const auto settings = args.TakeValue("--settings");
    const auto output = args.TakeValue("-o");
    const auto names = args.TakeValues("--agent");
    const analysis::SortMode sortMode = parseSortMode(args.TakeValue("--sort"));
    const bool completeOnly = args.TakeFlag("--complete");
    const std::uint64_t maxFragments = parseMaxFragments(args.TakeValue("--max-fragments"));
    const auto files = args.Positional(1);
    if (names.empty()) {
        throw UsageError("Select an agent!");
    }

    Session session(settings);
    LoadSequence(session, files[0]);
    core::PropertyRecord& record = session.record;
    // With --complete only the complete fragments are made: sorted alone,
    // they stand in the order they have among all fragments sorted.
    DigestWithAgents(session, names, completeOnly, maxFragments);
    try {
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
