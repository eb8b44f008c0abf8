#include "cli/Commands.h"
#include "core/MessageTexts.h"
#include "core/PepFile.h"
#include "core/UniProt.h"
#include "plots/FeatureSketch.h"
#include "shell/GenPept.h"
#include "shell/UniProtFetch.h"
#include "shell/ui/GenPeptFetcher.h"

#include <chrono>
#include <iostream>
#include <string>

namespace quorin::cli {

int RunFetch(Arguments& args)
{
    args.EndOptionsAtDoubleDash({"--settings", "-o", "--server", "--timeout", "--source"});
    const auto settings = args.TakeValue("--settings");
    const auto output = args.TakeValue("-o");
    const auto server = args.TakeValue("--server");
    const auto sourceName = args.TakeValue("--source");
    if (sourceName && *sourceName != "genbank" && *sourceName != "uniprot") {
        throw UsageError("--source needs genbank or uniprot, not " + *sourceName);
    }
    const bool uniProt = sourceName && *sourceName == "uniprot";
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
    const std::string defaultServer =
        uniProt ? shell::UniProtServer(session.settings) : shell::DownloadServer(session.settings);
    const shell::ui::PlainDownload download = shell::ui::DownloadOnThisThread(
        server ? *server : defaultServer, accession[0], limit,
        uniProt ? shell::DownloadSource::UniProt : shell::DownloadSource::GenBank);
    if (!download.retrieved && uniProt && download.notFound) {
        throw InputRefused(core::msg::AccessionNotFound(accession[0]));
    }
    if (!download.retrieved) {
        if (download.notFound) {
            std::cerr << core::msg::AccessionNotFound(accession[0]) << "\n";
        }
        if (!download.networkMessage.empty()) {
            std::cerr << download.networkMessage << "\n";
        }
        throw InputRefused(std::string(core::msg::kCouldNotRetrieve));
    }

    if (uniProt) {
        // Read as a file of it would be, the features drawn as the sketch.
        const auto read = core::ReadUniProtEntry(download.entry.uniProtText);
        core::TakeUniProtEntry(*read.entry, session.record);
        plots::SketchFeatures(session.record);
    } else {
        session.record.SetName(download.entry.name);
        session.record.SetSequence(download.entry.residues);
    }
    const bool pep = output && EndsWithPep(*output);
    const std::string bytes = pep ? core::StoreSequenceBytes(session.record, uniProt)
                                  : core::FastaExportBytes(session.record);
    WriteOutput(output && *output != "-" ? output : std::nullopt, bytes);
    return 0;
}

} // namespace quorin::cli
