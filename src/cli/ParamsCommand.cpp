#include "analysis/ParameterSheet.h"
#include "cli/Commands.h"

namespace quorin::cli {

int RunParams(Arguments& args)
{
    const auto settings = args.TakeValue("--settings");
    const auto output = args.TakeValue("-o");
    const bool json = args.TakeFlag("--json");
    const auto files = args.Positional(1);
    Session session(settings);
    LoadSequence(session, files[0]);
    const analysis::ParameterSheet sheet = analysis::ComputeParameterSheet(session.record);
    WriteOutput(output,
                json ? analysis::ParameterSheetJson(sheet) : analysis::ParameterSheetText(sheet));
    return 0;
}

} // namespace quorin::cli
