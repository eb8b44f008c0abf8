#include "cli/Commands.h"
#include "core/MessageTexts.h"
#include "core/PepFile.h"
#include "shell/GenPept.h"
#include "shell/ui/GenPeptFetcher.h"

#include <chrono>
#include <iostream>

namespace quorin::cli {

int RunFetch(Arguments& args)
{
    const auto settings = args.TakeValue("--settings");
    const auto output = args.TakeValue("-o");
    const auto server = args.TakeValue("--server");
    const auto timeout = args.TakeValue("--timeout");
    const auto accession = args.Positional(1);
    Session session(settings);

    std::chrono::milliseconds limit = shell::DownloadTimeout(session.settings);
    if (timeout) {
        const int seconds = ParseIntOption("--timeout", *timeout);
        if (seconds <= 0) {
            throw UsageError("--timeout needs a positive number of seconds");
        }
        limit = std::chrono::seconds(seconds);
    }
    const shell::ui::PlainDownload download = shell::ui::DownloadOnThisThread(
        server ? *server : shell::DownloadServer(session.settings), accession[0], limit);
    if (!download.retrieved) {
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
