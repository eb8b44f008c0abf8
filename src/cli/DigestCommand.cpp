#include "analysis/Digest.h"
#include "cli/Commands.h"
#include "core/MessageTexts.h"

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

/// A whole number of at least minimum given to option.
int parseCount(const std::string& option, const std::string& text, int minimum)
{
    int value = 0;
    const char* const end = text.data() + text.size();
    const auto [ptr, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || ptr != end || value < minimum) {
        throw UsageError(option + " takes a whole number of at least " + std::to_string(minimum) +
                         ", not \"" + text + "\"");
    }
    return value;
}

/// The charge states of the m/z columns as the digest window takes them: each
/// from 1 to the highest it offers, each once (so at most that many columns).
std::vector<int> parseCharges(const std::string& text)
{
    std::vector<int> charges;
    std::size_t begin = 0;
    while (true) {
        const std::size_t comma = text.find(',', begin);
        const int charge = parseCount("--charges", text.substr(begin, comma - begin), 1);
        if (charge > analysis::kMaxChargeState) {
            throw UsageError("--charges takes charge states from 1 to " +
                             std::to_string(analysis::kMaxChargeState) + ", not " +
                             std::to_string(charge));
        }
        if (std::find(charges.begin(), charges.end(), charge) != charges.end()) {
            throw UsageError(core::msg::ChargeListedTwice(charge));
        }
        charges.push_back(charge);
        if (comma == std::string::npos) {
            return charges;
        }
        begin = comma + 1;
    }
}

} // namespace

std::uint64_t ParseMaxFragments(const std::optional<std::string>& text)
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

std::vector<core::ENZYME> SelectAgents(const core::PropertyRecord& record,
                                       const std::vector<std::string>& names)
{
    if (!analysis::CleavingAgentsDefined(record.agents)) {
        throw InputRefused(std::string(core::msg::kNoCleavingAgents));
    }
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
    return selected;
}

void DigestWithAgents(Session& session, const std::vector<std::string>& names,
                      const analysis::DigestOptions& options)
{
    core::PropertyRecord& record = session.record;
    const std::vector<core::ENZYME> selected = SelectAgents(record, names);
    record.digest.selectedAgents = selected;
    record.digest.lineWidth = session.app.charsPerLine;
    try {
        const analysis::DigestResult result =
            analysis::Digest(record, analysis::CombinedSpecificity(selected), options);
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
    analysis::DigestOptions options;
    options.completeOnly = args.TakeFlag("--complete");
    options.maxFragments = ParseMaxFragments(args.TakeValue("--max-fragments"));
    if (const auto text = args.TakeValue("--max-missed")) {
        options.maxMissed = parseCount("--max-missed", *text, 0);
    }
    if (const auto text = args.TakeValue("--min-length")) {
        options.minLength = parseCount("--min-length", *text, 0);
    }
    if (const auto text = args.TakeValue("--max-length")) {
        options.maxLength = parseCount("--max-length", *text, 0);
    }
    if (options.minLength > options.maxLength) {
        throw UsageError(std::string(core::msg::kMinLengthAboveMax));
    }
    options.monoisotopic = args.TakeFlag("--mono");
    const bool csv = args.TakeFlag("--csv");
    if (const auto text = args.TakeValue("--charges")) {
        if (!csv) {
            throw UsageError("--charges goes with --csv: the report has no m/z column");
        }
        options.charges = parseCharges(*text);
    }
    const auto files = args.Positional(1);
    if (names.empty()) {
        throw UsageError("Select an agent!");
    }

    Session session(settings);
    LoadSequence(session, files[0]);
    core::PropertyRecord& record = session.record;
    // With --complete only the complete fragments are made: sorted alone,
    // they stand in the order they have among all fragments sorted.
    DigestWithAgents(session, names, options);
    try {
        // The digest leaves weight order, the window's default; re-sorting from
        // there puts equal keys in the order the window shows them.
        analysis::BuildDigestReport(record, sortMode, options.completeOnly,
                                    record.digest.lineWidth);
    } catch (const std::bad_alloc&) {
        throw InputRefused("Not enough memory for the fragments of this digest");
    }
    WriteOutput(output, [&](const core::ByteSink& sink) {
        if (csv) {
            analysis::WriteDigestCsv(record, options.charges, sink);
        } else {
            analysis::WriteDigestReport(record, sink);
        }
    });
    return 0;
}

} // namespace quorin::cli
