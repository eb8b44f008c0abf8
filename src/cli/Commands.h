#pragma once

#include "analysis/Digest.h"
#include "analysis/Titration.h"
#include "cli/CliCommon.h"

#include <cstdint>
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
int RunMoment(Arguments& args);
int RunRender(Arguments& args);
int RunModFinder(Arguments& args);
int RunFetch(Arguments& args);
int RunBatch(Arguments& args);
int RunTitration(Arguments& args);
int RunTopology(Arguments& args);
int RunParams(Arguments& args);
int RunScan(Arguments& args);
int RunFeatures(Arguments& args);

/// The agents of those names as the agent dialog selects them: a name given
/// twice stands once, the first agent of a name is taken. Throws InputRefused
/// when the settings define no agent or none of a name.
std::vector<core::ENZYME> SelectAgents(const core::PropertyRecord& record,
                                       const std::vector<std::string>& names);

/// The most fragments a digest may make: --max-fragments (a positive whole
/// number, else UsageError), without it what the machine's memory allows.
std::uint64_t ParseMaxFragments(const std::optional<std::string>& text);

/// The pKa set --pka-set names, "settings" when it is not given; throws
/// UsageError for a name that is no set.
analysis::PKaSet ParsePKaSet(const std::optional<std::string>& name);

/// Digests the session's sequence as `digest` does, with the agents of those
/// names (a name given twice stands once); the fragments stay in weight order.
/// Throws InputRefused for an unknown agent or a digest too large.
void DigestWithAgents(Session& session, const std::vector<std::string>& names,
                      const analysis::DigestOptions& options);

/// Every command, in the order --help lists them.
std::span<const Command> AllCommands();

} // namespace quorin::cli
