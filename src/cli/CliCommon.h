#pragma once

#include "core/FileIo.h"
#include "core/PepFile.h"
#include "core/ProfileFile.h"
#include "core/PropertyRecord.h"
#include "core/Settings.h"

#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quorin::cli {

/// Wrong usage: main prints the message and the command's usage, exit status 2.
class UsageError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

/// The input was refused: main prints the message as one line, exit status 1.
class InputRefused : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

/// The arguments of one command, taken option by option. Whatever is left
/// after the options a command knows is positional; an unknown "--x" left
/// over is a usage error.
class Arguments
{
public:
    explicit Arguments(std::vector<std::string> args) : m_args(std::move(args)) {}

    bool TakeFlag(std::string_view name);
    std::optional<std::string> TakeValue(std::string_view name);
    std::vector<std::string> TakeValues(std::string_view name);
    /// The positional arguments; throws UsageError unless there are exactly count.
    std::vector<std::string> Positional(std::size_t count);
    /// Ends the options at the first "--" that is not the value of one of
    /// valueOptions: what follows it is positional however it begins (an
    /// accession "-X"); the "--" itself goes. Call before taking options.
    void EndOptionsAtDoubleDash(std::initializer_list<std::string_view> valueOptions);

private:
    std::vector<std::string> m_args;
    /// The arguments after "--", positional only.
    std::vector<std::string> m_rest;
};

/// The settings file, the application settings and one property record, read
/// as the desktop program reads them at start-up and when it constructs a
/// sequence document.
struct Session
{
    explicit Session(const std::optional<std::string>& settingsPath);

    core::ProfileFile settings;
    core::AppSettings app;
    core::PropertyRecord record;
};

/// Reads a sequence file (a FASTA text, a UniProt entry or a .pep file; "-" is
/// standard input) into the session's record; the result tells whether the
/// file carried a domain sketch. An entry's features become the sketch
/// (SketchFeatures), and count as one. Throws InputRefused with the program's
/// message.
core::PepLoadResult LoadSequence(Session& session, const std::string& path);

/// Writes bytes to path, or to standard output when there is no path.
/// Throws InputRefused when the file cannot be written.
void WriteOutput(const std::optional<std::string>& path, std::string_view bytes);

/// As WriteOutput for output too large to hold at once: produce hands the
/// bytes, in order, to the sink it is given.
void WriteOutput(const std::optional<std::string>& path,
                 const std::function<void(const core::ByteSink& sink)>& produce);

/// Whether an output path asks for a .pep file (the ending in any case).
bool EndsWithPep(std::string_view path);

/// A decimal integer option value; throws UsageError for anything else.
int ParseIntOption(std::string_view name, const std::string& value);

} // namespace quorin::cli
