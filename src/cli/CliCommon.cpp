#include "cli/CliCommon.h"

#include "core/FileIo.h"
#include "core/MessageTexts.h"
#include "core/PepFile.h"
#include "core/ProfileFile.h"
#include "core/StarterSettings.h"
#include "core/UserData.h"
#include "plots/FeatureSketch.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>

namespace quorin::cli {
namespace {

/// The desktop program's settings file; a new user-data directory gets the
/// starter settings first, so that the first digest finds its agents.
std::filesystem::path defaultSettingsPath()
{
    const core::ProfileFile registry(core::RegistryStorePath());
    const std::filesystem::path directory = core::UserDataDirectory(registry);
    if (directory.empty()) {
        throw InputRefused(
            "No user-data directory: no home directory is known; name a settings file with "
            "--settings");
    }
    core::PlaceStarterSettings(directory);
    return core::SettingsFilePath(directory);
}

std::string readInput(const std::string& path)
{
    if (path == "-") {
        auto text = core::ReadStandardInput();
        if (!text) {
            throw InputRefused("Cannot read standard input: " + text.Error());
        }
        return std::move(*text);
    }
    auto text = core::ReadSequenceFile(path);
    if (!text) {
        throw InputRefused("Cannot open " + path + ": " + text.Error());
    }
    return std::move(*text);
}

} // namespace

bool Arguments::TakeFlag(std::string_view name)
{
    for (auto it = m_args.begin(); it != m_args.end(); ++it) {
        if (*it == name) {
            m_args.erase(it);
            return true;
        }
    }
    return false;
}

std::optional<std::string> Arguments::TakeValue(std::string_view name)
{
    auto values = TakeValues(name);
    if (values.size() > 1) {
        throw UsageError(std::string(name) + " given more than once");
    }
    if (values.empty()) {
        return std::nullopt;
    }
    return values.front();
}

std::vector<std::string> Arguments::TakeValues(std::string_view name)
{
    std::vector<std::string> values;
    for (std::size_t i = 0; i < m_args.size();) {
        if (m_args[i] != name) {
            ++i;
            continue;
        }
        if (i + 1 >= m_args.size()) {
            throw UsageError(std::string(name) + " needs a value");
        }
        values.push_back(m_args[i + 1]);
        m_args.erase(m_args.begin() + static_cast<std::ptrdiff_t>(i),
                     m_args.begin() + static_cast<std::ptrdiff_t>(i + 2));
    }
    return values;
}

std::vector<std::string> Arguments::Positional(std::size_t count)
{
    for (const std::string& arg : m_args) {
        if (arg.size() > 1 && arg.front() == '-') {
            throw UsageError("unknown option " + arg);
        }
    }
    std::vector<std::string> positional = m_args;
    positional.insert(positional.end(), m_rest.begin(), m_rest.end());
    if (positional.size() != count) {
        throw UsageError(positional.size() < count ? "missing argument" : "too many arguments");
    }
    return positional;
}

void Arguments::EndOptionsAtDoubleDash(std::initializer_list<std::string_view> valueOptions)
{
    for (std::size_t i = 0; i < m_args.size(); ++i) {
        if (std::find(valueOptions.begin(), valueOptions.end(), m_args[i]) != valueOptions.end()) {
            ++i; // its value, which may well be "--"
            continue;
        }
        if (m_args[i] == "--") {
            m_rest.assign(m_args.begin() + static_cast<std::ptrdiff_t>(i) + 1, m_args.end());
            m_args.resize(i);
            return;
        }
    }
}

Session::Session(const std::optional<std::string>& settingsPath)
    : settings(settingsPath ? std::filesystem::path(*settingsPath) : defaultSettingsPath())
{
    // A settings file named on the command line that can be neither read nor
    // created is refused rather than quietly replaced by the built-in defaults.
    if (settingsPath) {
        if (const auto problem = settings.AccessProblem()) {
            throw InputRefused("Cannot use the settings file " + *settingsPath + ": " + *problem);
        }
    }
    core::ReadStartupSettings(settings, app, std::filesystem::current_path().string());
    core::SetActiveRecord(&record);
    for (const core::RefusedSetting& refused : core::ReadRecordSettings(settings, record)) {
        std::cerr << core::msg::RefusedSettingNumber(refused.section, refused.key) << "\n";
    }
}

core::PepLoadResult LoadSequence(Session& session, const std::string& path)
{
    const std::string bytes = readInput(path);
    core::PepLoadResult result = core::LoadSequenceBytes(bytes, session.record);
    switch (result.status) {
    case core::PepLoadStatus::Ok:
        // An entry's features are its domains, as the desktop program draws
        // them when it opens one.
        if (result.uniProtEntry) {
            plots::SketchFeatures(session.record);
            result.hasSketch = true;
        }
        return result;
    case core::PepLoadStatus::MalformedEntry:
        throw InputRefused((path == "-" ? std::string("standard input") : path) + ": " +
                           result.problem);
    case core::PepLoadStatus::NotQuorinFormat:
        throw InputRefused(std::string(core::kNotQuorinFormatMessage));
    case core::PepLoadStatus::Utf16Text:
        throw InputRefused((path == "-" ? std::string("standard input") : path) + ": " +
                           std::string(core::kUtf16TextMessage));
    case core::PepLoadStatus::Truncated:
        throw InputRefused((path == "-" ? std::string("standard input") : path) + ": " +
                           std::string(core::kTruncatedFileMessage));
    }
    return result;
}

void WriteOutput(const std::optional<std::string>& path, std::string_view bytes)
{
    WriteOutput(path, [bytes](const core::ByteSink& sink) { sink(bytes); });
}

void WriteOutput(const std::optional<std::string>& path,
                 const std::function<void(const core::ByteSink& sink)>& produce)
{
    if (!path) {
        bool written = true;
        produce([&](std::string_view bytes) {
            if (written && !bytes.empty()) {
                written = std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size();
            }
        });
        if (!written || std::fflush(stdout) != 0) {
            throw InputRefused("Cannot write to standard output");
        }
        return;
    }
    if (const auto written = core::WriteFileAtomically(*path, produce); !written) {
        throw InputRefused("Cannot write " + *path + ": " + written.Error());
    }
}

int ParseIntOption(std::string_view name, const std::string& value)
{
    std::size_t used = 0;
    int number = 0;
    try {
        number = std::stoi(value, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used == 0 || used != value.size()) {
        throw UsageError(std::string(name) + " needs an integer, not \"" + value + "\"");
    }
    return number;
}

bool EndsWithPep(std::string_view path)
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

} // namespace quorin::cli
