#include "cli/Commands.h"
#include "core/MessageTexts.h"
#include "core/PepFile.h"
#include "shell/GenPept.h"
#include "shell/ui/GenPeptFetcher.h"

#include <QCoreApplication>

#include <chrono>
#include <iostream>
#include <memory>

namespace quorin::cli {

int RunFetch(Arguments& args)
{
    const auto settings = args.TakeValue("--settings");
    const auto output = args.TakeValue("-o");
    const auto server = args.TakeValue("--server");
    const auto timeout = args.TakeValue("--timeout");
    const auto accession = args.Positional(1);
    Session session(settings);

    shell::ui::DownloadRequest request;
    request.server =
        QString::fromStdString(server ? *server : shell::DownloadServer(session.settings));
    request.accession = QString::fromStdString(accession[0]);
    request.timeout = shell::DownloadTimeout(session.settings);
    if (timeout) {
        const int seconds = ParseIntOption("--timeout", *timeout);
        if (seconds <= 0) {
            throw UsageError("--timeout needs a positive number of seconds");
        }
        request.timeout = std::chrono::seconds(seconds);
    }

    // The network needs an event loop, and that an application object.
    std::unique_ptr<QCoreApplication> application;
    if (QCoreApplication::instance() == nullptr) {
        static int argc = 1;
        static char name[] = "quorin-cli";
        static char* argv[] = {name, nullptr};
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    const shell::ui::DownloadOutcome outcome = shell::ui::GenPeptFetcher::Run(request);
    if (outcome.status != shell::ui::DownloadOutcome::Status::Retrieved) {
        if (!outcome.networkMessage.isEmpty()) {
            std::cerr << outcome.networkMessage.toStdString() << "\n";
        }
        throw InputRefused(std::string(core::msg::kCouldNotRetrieve));
    }

    session.record.SetName(outcome.entry.name);
    session.record.SetSequence(outcome.entry.residues);
    const bool pep = output && EndsWithPep(*output);
    const std::string bytes = pep ? core::StoreSequenceBytes(session.record, false)
                                  : core::FastaExportBytes(session.record);
    WriteOutput(output && *output != "-" ? output : std::nullopt, bytes);
    return 0;
}

} // namespace quorin::cli
