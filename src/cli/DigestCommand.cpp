#include "analysis/Digest.h"
#include "analysis/Enzymes.h"
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

const analysis::Enzyme& parseEnzyme(const std::string& name)
{
    const analysis::Enzyme* enzyme = analysis::FindEnzyme(name);
    if (enzyme == nullptr) {
        throw UsageError("--enzyme takes one of " + analysis::EnzymeNames() + ", not \"" + name +
                         "\"");
    }
    return *enzyme;
}

/// The peptides as tab-separated lines, made one at a time: an unspecific
/// digest of a long protein is millions of lines.
void writePeptideTable(const analysis::PeptidePlan& plan, std::string_view sequence,
                       const core::ByteSink& sink)
{
    constexpr std::size_t kFlushBytes = std::size_t{1} << 20;
    std::string buffer = "start\tend\tmissed\tsequence\n";
    const auto integer = [&](std::int64_t value) {
        char digits[24];
        buffer.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
    };
    plan.ForEach([&](const analysis::Peptide& peptide) {
        integer(std::int64_t{peptide.start} + 1);
        buffer += '\t';
        integer(std::int64_t{peptide.end} + 1);
        buffer += '\t';
        integer(peptide.missed);
        buffer += '\t';
        buffer.append(sequence.substr(static_cast<std::size_t>(peptide.start),
                                      static_cast<std::size_t>(peptide.end - peptide.start) + 1));
        buffer += '\n';
        if (buffer.size() >= kFlushBytes) {
            sink(buffer);
            buffer.clear();
        }
    });
    sink(buffer);
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
    const auto enzymeName = args.TakeValue("--enzyme");
    const auto specificityText = args.TakeValue("--specificity");
    const bool tsv = args.TakeFlag("--tsv");
    const auto sortText = args.TakeValue("--sort");
    const analysis::SortMode sortMode = parseSortMode(sortText);
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
    if (enzymeName) {
        const analysis::Enzyme& enzyme = parseEnzyme(*enzymeName);
        if (!names.empty()) {
            throw UsageError("--enzyme and --agent do not go together");
        }
        if (options.completeOnly) {
            throw UsageError("--complete goes with --agent; with --enzyme, --max-missed 0");
        }
        if (tsv && (csv || sortText || options.monoisotopic)) {
            throw UsageError("--tsv lists the peptides by position, without masses: it goes "
                             "without --csv, --sort and --mono");
        }
        analysis::PeptideBounds bounds;
        if (specificityText) {
            const auto specificity = analysis::ParseSpecificity(*specificityText);
            if (!specificity) {
                throw UsageError("--specificity takes full, semi or none, not \"" +
                                 *specificityText + "\"");
            }
            bounds.specificity = *specificity;
        }
        bounds.maxMissed = options.maxMissed;
        bounds.minLength = options.minLength;
        bounds.maxLength = options.maxLength;

        Session session(settings);
        LoadSequence(session, files[0]);
        core::PropertyRecord& record = session.record;
        if (tsv) {
            const std::string& sequence = record.CleanSequence();
            const analysis::PeptidePlan plan(sequence, enzyme, bounds);
            // Streamed, the table needs no memory; the ceiling still spares
            // the disk a digest nobody meant to ask for.
            if (const std::uint64_t count = plan.Count(); count > options.maxFragments) {
                throw InputRefused(core::msg::TooManyFragments(count, options.maxFragments));
            }
            WriteOutput(output, [&](const core::ByteSink& sink) {
                writePeptideTable(plan, sequence, sink);
            });
            return 0;
        }
        record.digest.lineWidth = session.app.charsPerLine;
        try {
            const analysis::DigestResult result =
                analysis::DigestWithEnzyme(record, enzyme, bounds, options);
            if (result.Refused()) {
                throw InputRefused(result.refusal);
            }
            analysis::BuildDigestReport(record, sortMode, false, record.digest.lineWidth);
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
    if (specificityText || tsv) {
        throw UsageError(std::string(specificityText ? "--specificity" : "--tsv") +
                         " goes with --enzyme");
    }
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
