#include "analysis/Prosite.h"
#include "cli/Commands.h"
#include "core/FileIo.h"

#include <iostream>

namespace quorin::cli {

int RunScan(Arguments& args)
{
    const auto settings = args.TakeValue("--settings");
    const auto output = args.TakeValue("-o");
    const auto library = args.TakeValue("--prosite-dat");
    const bool tsv = args.TakeFlag("--tsv");
    const auto files = args.Positional(1);
    if (!library) {
        throw UsageError("scan needs --prosite-dat PATH");
    }
    const core::ReadResult text = core::ReadWholeFile(*library);
    if (!text) {
        throw InputRefused(*library + ": " + text.Error());
    }
    const std::vector<analysis::PrositeEntry> entries = analysis::ReadPrositeEntries(*text);
    Session session(settings);
    LoadSequence(session, files[0]);
    const std::string& residues = session.record.CleanSequence();
    const analysis::PrositeScan scan = analysis::ScanPrositeEntries(entries, residues);
    for (const auto& [entry, message] : scan.refused) {
        std::cerr << entry->accession << " " << entry->id << ": " << message << '\n';
    }
    WriteOutput(output, tsv ? analysis::PrositeScanTsv(scan, residues)
                            : analysis::PrositeScanReport(scan, session.record.Name(), residues));
    return 0;
}

} // namespace quorin::cli
