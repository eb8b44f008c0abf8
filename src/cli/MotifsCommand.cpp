#include "analysis/Motifs.h"
#include "cli/Commands.h"

namespace quorin::cli {

int RunMotifs(Arguments& args)
{
    const auto settings = args.TakeValue("--settings");
    const auto output = args.TakeValue("-o");
    const bool byMotif = args.TakeFlag("--by-motif");
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
