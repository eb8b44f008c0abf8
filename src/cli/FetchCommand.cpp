#include "cli/Commands.h"
#include "core/MessageTexts.h"
#include "core/PepFile.h"
#include "shell/GenPept.h"
#include "shell/ui/GenPeptFetcher.h"

#include <chrono>
#include <iostream>
#include <string>

namespace quorin::cli {

int RunFetch(Arguments& args)
{
    args.EndOptionsAtDoubleDash({"--settings", "-o", "--server", "--timeout"});
    const auto settings = args.TakeValue("--settings");
    const auto output = args.TakeValue("-o");
    const auto server = args.TakeValue("--server");
    const auto timeout = args.TakeValue("--timeout");
    const auto accession = args.Positional(1);
    if (shell::IsBlankAccession(accession[0])) {
        throw UsageError("the accession is empty");
    }
    Session session(settings);

    std::chrono::milliseconds limit = shell::DownloadTimeout(session.settings);
    if (timeout) {
        // Qt's timers count milliseconds in an int: a longer limit would
        // overflow into no limit at all, or into a fraction of a second.
        const int seconds = ParseIntOption("--timeout", *timeout);
        if (seconds < shell::kMinTimeout.count() || seconds > shell::kMaxTimeout.count()) {
            throw UsageError("--timeout needs " + std::to_string(shell::kMinTimeout.count()) +
                             " to " + std::to_string(shell::kMaxTimeout.count()) +
                             " seconds, not " + *timeout);
        }
        limit = std::chrono::seconds(seconds);
    } else if (const auto refused = shell::RefusedDownloadTimeout(session.settings)) {
        std::cerr << *refused << "\n";
    }
    const shell::ui::PlainDownload download = shell::ui::DownloadOnThisThread(
        server ? *server : shell::DownloadServer(session.settings), accession[0], limit);
    if (!download.retrieved) {
        if (download.notFound) {
            std::cerr << core::msg::AccessionNotFound(accession[0]) << "\n";
        }
        if (!download.networkMessage.empty()) {
            std::cerr << download.networkMessage << "\n";
        }
        throw InputRefused(std::string(core::msg::kCouldNotRetrieve));
    }

    session.record.SetName(download.entry.name);
    session.record.SetSequence(download.entry.residues);
    const bool pep = output && EndsWithPep(*output);
    const std::string bytes = pep ? core::StoreSequenceBytes(session.record, false)
                                  : core::FastaExportBytes(session.record);
    WriteOutput(output && *output != "-" ? output : std::nullopt, bytes);
    return 0;
}

} // namespace quorin::cli
