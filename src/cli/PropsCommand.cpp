#include "analysis/PhysChem.h"
#include "cli/Commands.h"

namespace quorin::cli {

int RunProps(Arguments& args)
{
    const auto settings = args.TakeValue("--settings");
    const auto output = args.TakeValue("-o");
    const auto files = args.Positional(1);
    Session session(settings);
    LoadSequence(session, files[0]);
    WriteOutput(output, analysis::PhysChemReportText(session.record));
    return 0;
}

} // namespace quorin::cli
