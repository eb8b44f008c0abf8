#include "shell/Preferences.h"

#include "core/MessageTexts.h"
#include "core/NumberText.h"
#include "core/UserData.h"
#include "plots/Wheel.h"
#include "shell/GenPept.h"
#include "shell/UniProtFetch.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>

namespace quorin::shell {

const std::array<std::string_view, 20> kWheelResidueCaptions = {
    "A (Ala)", "C (Cys)", "D (Asp)", "E (Glu)", "F (Phe)", "G (Gly)", "H (His)",
    "I (Ile)", "K (Lys)", "L (Leu)", "M (Met)", "N (Asn)", "P (Pro)", "Q (Gln)",
    "R (Arg)", "S (Ser)", "T (Thr)", "V (Val)", "W (Trp)", "Y (Tyr)",
};

const std::array<std::string_view, core::kResidueSlots> kScaleResidueCaptions = {
    "N-Terminus", "Ala", "Cys", "Asp", "Glu", "Phe", "Gly", "His", "Ile", "Lys", "Leu",
    "Met",        "Asn", "Pro", "Gln", "Arg", "Ser", "Thr", "Val", "Trp", "Tyr", "C-Terminus",
};

namespace {

std::string upperCased(std::string_view text)
{
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return upper;
}

/// The first n characters of UTF-8 text (never half a character).
std::string_view firstCharacters(std::string_view text, std::size_t n)
{
    std::size_t end = 0;
    for (std::size_t count = 0; end < text.size() && count < n; ++count) {
        ++end;
        while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
            ++end;
        }
    }
    return text.substr(0, end);
}

/// The offending character as the message shows it: the whole UTF-8 sequence
/// that starts at position.
std::string characterAt(std::string_view text, std::size_t position)
{
    std::size_t end = position + 1;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
        ++end;
    }
    return std::string(text.substr(position, end - position));
}

std::optional<EntryProblem> checkResidues(std::string_view specificity, std::string_view separators)
{
    const auto it = std::find_if(specificity.begin(), specificity.end(), [&](char c) {
        return !core::IsResidueLetter(c) && separators.find(c) == std::string_view::npos;
    });
    if (it == specificity.end()) {
        return std::nullopt;
    }
    const auto position = static_cast<std::size_t>(it - specificity.begin());
    return EntryProblem{core::msg::NotAnAminoAcid(characterAt(specificity, position)),
                        EntryProblem::Field::Specificity};
}

/// How many consecutive keys "0", "1", ... a list section holds.
std::size_t listLength(const core::ProfileText& text, std::string_view section)
{
    std::size_t count = 0;
    while (text.Lookup(section, std::to_string(count))) {
        ++count;
    }
    return count;
}

} // namespace

std::variant<core::ENZYME, EntryProblem> CheckAgent(std::string_view name,
                                                    std::string_view specificity)
{
    core::ENZYME agent{std::string(firstCharacters(name, kAgentFieldLength)),
                       upperCased(firstCharacters(specificity, kAgentFieldLength))};
    if (auto problem = checkResidues(agent.specificity, ";!")) {
        return *problem;
    }
    return agent;
}

std::variant<core::MODIFICATION, EntryProblem>
CheckModification(std::string_view name, std::string_view specificity, std::string_view weight)
{
    core::MODIFICATION modification{std::string(name), upperCased(specificity), 0.0};
    if (auto problem = checkResidues(modification.specificity, ";,")) {
        return *problem;
    }
    if (weight.find_first_not_of("0123456789.") != std::string_view::npos) {
        return EntryProblem{std::string(core::msg::kInvalidWeight), EntryProblem::Field::Weight};
    }
    modification.mw = core::ParseLeadingDouble(weight);
    return modification;
}

std::optional<double> ReadPKa(std::string_view text)
{
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !(value > 0.0) ||
        value > 14.0) {
        return std::nullopt;
    }
    return value;
}

bool IsScaleValueText(std::string_view text)
{
    return text.find_first_not_of("0123456789.-") == std::string_view::npos;
}

std::optional<int> AcceptedSize(std::string_view text, int minimum, int maximum)
{
    if (!core::IsAllDigits(text)) {
        return std::nullopt;
    }
    const int value = core::ParseLeadingInt(text);
    if (value < minimum || value > maximum) {
        return std::nullopt;
    }
    return value;
}

std::string PKaText(double pKa)
{
    return core::FormatGeneral(pKa, 3);
}

std::string WeightText(double weight)
{
    if (!(weight > 0.0)) {
        return {};
    }
    return core::FormatGeneral(weight, static_cast<int>(std::trunc(std::log10(weight) + 2)));
}

std::string ScaleValueText(double value)
{
    return core::FormatGeneral(value, 4);
}

bool WritePreferences(core::ProfileFile& file, const PreferenceChanges& changes,
                      const core::PropertyRecord* record)
{
    // Keys of a list beyond the record's own (written by another program
    // instance meanwhile) go too, so that the section holds the edited list.
    const auto previous = [](const core::ProfileText& text, std::string_view section,
                             std::size_t recordCount) {
        return std::max(recordCount, listLength(text, section));
    };
    return file.Update([&](core::ProfileText& text) {
        if (changes.workingDirectory) {
            core::SetWorkingDirectory(text, *changes.workingDirectory);
        }
        if (changes.wheel) {
            core::AppSettings wheel;
            wheel.wheelLineWidth = changes.wheel->lineWidth;
            wheel.wheelColorCode = changes.wheel->colorCode;
            wheel.wheelNumbers = changes.wheel->numbers;
            wheel.wheelFont = changes.wheel->font;
            wheel.colours = changes.wheel->colours;
            core::SetWheelOptions(text, wheel);
        }
        if (changes.output) {
            core::SetOutputOptions(text, changes.output->lineWidth, changes.output->fontSize);
        }
        if (changes.pKa) {
            core::SetPKaValues(text, *changes.pKa);
        }
        if (changes.agents) {
            const std::size_t count = record ? record->agents.size() : 0;
            core::SetAgentList(text, previous(text, core::kAgentsSection, count), *changes.agents);
        }
        if (changes.modifications) {
            const std::size_t count = record ? record->modifications.size() : 0;
            core::SetModificationList(text, previous(text, core::kModificationsSection, count),
                                      *changes.modifications);
        }
        if (changes.scales) {
            const std::size_t count = record ? record->scales.size() : 0;
            core::SetScaleList(text, previous(text, core::kScalesSection, count), *changes.scales);
        }
        if (changes.download) {
            SetDownloadSettings(text, changes.download->server, changes.download->timeout);
            SetUniProtServer(text, changes.download->uniProtServer);
        }
    });
}

void ApplyPreferences(const PreferenceChanges& changes, core::AppSettings& settings,
                      core::PropertyRecord* record)
{
    if (changes.workingDirectory) {
        settings.workingDirectory = *changes.workingDirectory;
    }
    if (changes.wheel) {
        settings.wheelLineWidth = changes.wheel->lineWidth;
        settings.wheelColorCode = changes.wheel->colorCode;
        settings.wheelNumbers = changes.wheel->numbers;
        settings.wheelFont = changes.wheel->font;
        settings.colours = changes.wheel->colours;
    }
    if (changes.output) {
        settings.plotLineWidth = changes.output->lineWidth;
        settings.outputFontSize = changes.output->fontSize;
        settings.charsPerLine = core::CharsPerLine(changes.output->fontSize);
    }
    if (record == nullptr) {
        return;
    }
    if (changes.wheel) {
        plots::TakeWheelOptions(*record, settings);
    }
    if (changes.output) {
        record->plotLineWidth = settings.plotLineWidth;
        record->outputFontSize = settings.outputFontSize;
    }
    if (changes.pKa) {
        record->pKa = *changes.pKa;
        record->ForgetCachedResults();
    }
    if (changes.agents) {
        record->agents = *changes.agents;
    }
    if (changes.modifications) {
        record->modifications = *changes.modifications;
    }
    if (changes.scales) {
        record->scales = *changes.scales;
    }
}

std::optional<std::vector<std::string>> ListSubdirectories(const std::filesystem::path& directory)
{
    std::error_code error;
    std::filesystem::directory_iterator it(directory, error);
    if (error) {
        return std::nullopt;
    }
    std::vector<std::string> names;
    for (; it != std::filesystem::directory_iterator(); it.increment(error)) {
        if (error) {
            return std::nullopt;
        }
        std::error_code ignored; // an entry that vanished meanwhile is no directory
        if (it->is_directory(ignored)) {
            names.push_back(it->path().filename().string());
        }
    }
    if (error) {
        return std::nullopt;
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool SameDirectory(const std::filesystem::path& a, const std::filesystem::path& b)
{
    std::error_code error;
    return std::filesystem::equivalent(a, b, error) && !error;
}

core::FileStatus CopySettingsFile(const std::filesystem::path& settingsFile,
                                  const std::filesystem::path& newDirectory)
{
    std::error_code error;
    if (!std::filesystem::exists(settingsFile, error) && !error) {
        return {};
    }
    const core::ReadResult bytes = core::ReadWholeFile(settingsFile);
    if (!bytes) {
        return bytes.Status();
    }
    const std::filesystem::path copy = core::SettingsFilePath(newDirectory);
    if (core::FileStatus written = core::WriteFileAtomically(copy, *bytes); !written) {
        return written;
    }
    const core::ReadResult check = core::ReadWholeFile(copy);
    if (!check) {
        return check.Status();
    }
    if (*check != *bytes) {
        return core::FileStatus::Failed("the copy differs from the original");
    }
    return {};
}

} // namespace quorin::shell
