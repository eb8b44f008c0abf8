#pragma once

#include "cli/CliCommon.h"

#include <span>
#include <string_view>

namespace quorin::cli {

/// One command of quorin-cli. run returns the exit status; it throws
/// UsageError or InputRefused for the two failure kinds.
struct Command
{
    std::string_view name;
    std::string_view summary;
    std::string_view usage;
    int (*run)(Arguments& args);
    bool writesOutput = true; ///< takes -o PATH
};

int RunConvert(Arguments& args);
int RunProps(Arguments& args);
int RunDigest(Arguments& args);
int RunMotifs(Arguments& args);
int RunHydropathy(Arguments& args);
int RunHelices(Arguments& args);
int RunRender(Arguments& args);

/// Every command, in the order --help lists them.
std::span<const Command> AllCommands();

} // namespace quorin::cli
