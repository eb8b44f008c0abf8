#include "cli/Commands.h"
#include "core/PepFile.h"

namespace quorin::cli {

int RunConvert(Arguments& args)
{
    const auto settings = args.TakeValue("--settings");
    const auto files = args.Positional(2);
    Session session(settings);
    const core::PepLoadResult loaded = LoadSequence(session, files[0]);
    // A converted document has no sketch window, so its file carries no sketch;
    // only an entry's features, which no other file keeps, go along as one.
    const std::string bytes = EndsWithPep(files[1])
                                  ? core::StoreSequenceBytes(session.record, loaded.uniProtEntry)
                                  : core::FastaExportBytes(session.record);
    WriteOutput(files[1] == "-" ? std::nullopt : std::optional<std::string>(files[1]), bytes);
    return 0;
}

} // namespace quorin::cli
