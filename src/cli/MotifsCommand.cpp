#include "analysis/Motifs.h"
#include "analysis/Prosite.h"
#include "cli/Commands.h"

namespace quorin::cli {
namespace {

int runPrositeMotif(Arguments& args, const std::optional<std::string>& settings,
                    const std::optional<std::string>& output, bool byMotif,
                    const std::string& patternText, bool tsv)
{
    const auto files = args.Positional(1);
    // Refused before the file is read, so that nothing is written.
    const analysis::PrositeParse parse = analysis::ParsePrositePattern(patternText);
    if (parse.Refused()) {
        throw InputRefused(parse.message);
    }
    Session session(settings);
    LoadSequence(session, files[0]);
    if (tsv) {
        const std::string& residues = session.record.CleanSequence();
        WriteOutput(output, analysis::PrositeMatchesTsv(
                                analysis::FindPrositeMatches(parse.pattern, residues), residues));
        return 0;
    }
    analysis::SearchPrositeMotif(session.record, parse.pattern);
    WriteOutput(output, [&](const core::ByteSink& sink) {
        analysis::WriteMotifReport(session.record, !byMotif, sink);
    });
    return 0;
}

} // namespace

int RunMotifs(Arguments& args)
{
    const auto settings = args.TakeValue("--settings");
    const auto output = args.TakeValue("-o");
    const bool byMotif = args.TakeFlag("--by-motif");
    const auto prosite = args.TakeValue("--prosite");
    const bool tsv = args.TakeFlag("--tsv");
    if (prosite) {
        return runPrositeMotif(args, settings, output, byMotif, *prosite, tsv);
    }
    if (tsv) {
        throw UsageError("--tsv needs --prosite");
    }
    const auto positional = args.Positional(2);
    // Checked as the motif dialog checks it, before the file is read.
    const analysis::MotifSearchCheck check = analysis::CheckMotifSearch(positional[1]);
    if (check.Refused()) {
        throw InputRefused(check.message);
    }
    Session session(settings);
    LoadSequence(session, positional[0]);
    const analysis::MotifSearchResult result = analysis::SearchMotifs(session.record, check.search);
    if (result.Refused()) {
        throw InputRefused(result.refusal);
    }
    WriteOutput(output, [&](const core::ByteSink& sink) {
        analysis::WriteMotifReport(session.record, !byMotif, sink);
    });
    return 0;
}

} // namespace quorin::cli
