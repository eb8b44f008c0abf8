#include "cli/Commands.h"
#include "core/UniProt.h"

namespace quorin::cli {

int RunFeatures(Arguments& args)
{
    const auto settings = args.TakeValue("--settings");
    const auto output = args.TakeValue("-o");
    // The table is the only form; the flag is taken so that scripts may say
    // what they expect.
    args.TakeFlag("--tsv");
    const auto files = args.Positional(1);
    Session session(settings);
    LoadSequence(session, files[0]);
    WriteOutput(output, core::FeatureTableText(session.record.features));
    return 0;
}

} // namespace quorin::cli
