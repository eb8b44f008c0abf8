#include "cli/Commands.h"
#include "core/PepFile.h"

#include <algorithm>

namespace quorin::cli {
namespace {

bool endsWithPep(std::string_view path)
{
    constexpr std::string_view kExtension = ".pep";
    if (path.size() < kExtension.size()) {
        return false;
    }
    const std::string_view tail = path.substr(path.size() - kExtension.size());
    return std::equal(tail.begin(), tail.end(), kExtension.begin(), [](char a, char b) {
        return (a >= 'A' && a <= 'Z' ? static_cast<char>(a + 32) : a) == b;
    });
}

} // namespace

int RunConvert(Arguments& args)
{
    const auto settings = args.TakeValue("--settings");
    const auto files = args.Positional(2);
    Session session(settings);
    LoadSequence(session, files[0]);
    // A converted document has no sketch window, so its file carries no sketch.
    const std::string bytes = endsWithPep(files[1])
                                  ? core::StoreSequenceBytes(session.record, false)
                                  : core::FastaExportBytes(session.record);
    WriteOutput(files[1] == "-" ? std::nullopt : std::optional<std::string>(files[1]), bytes);
    return 0;
}

} // namespace quorin::cli
