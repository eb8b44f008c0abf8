#include "core/Settings.h"

#include "core/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace quorin::core {
namespace {

/// The settings store's default for a missing text; a stored "?" reads as missing.
constexpr std::string_view kMissing = "?";

/// Works on the file (a ProfileFile) and on its text under the writer lock (a
/// ProfileText) alike.
template <typename Source>
std::optional<std::string> readText(const Source& source, std::string_view section,
                                    std::string_view key)
{
    auto value = source.Lookup(section, key);
    if (!value || *value == kMissing) {
        return std::nullopt;
    }
    return value;
}

/// An integer key validated against [low, high]; nothing when missing or outside.
std::optional<int> readBoundedInt(const ProfileFile& file, std::string_view key, int low, int high)
{
    if (!file.Lookup(kSetupSection, key)) {
        return std::nullopt;
    }
    const int value = file.ReadInt(kSetupSection, key, 0);
    if (value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

/// The list tokenizer shared by number lists and colour lists: 21 ";"-terminated
/// tokens, then the rest. Stops at the first missing or empty token.
template <typename Store>
void parseList(std::string_view text, Store store)
{
    for (int i = 0; i < kResidueSlots - 1; ++i) {
        const auto sep = text.find(';');
        if (sep == std::string_view::npos || sep == 0) {
            return;
        }
        store(i, text.substr(0, sep));
        text.remove_prefix(sep + 1);
    }
    store(kResidueSlots - 1, text);
}

std::string formatColours(const std::array<COLORREF, kResidueSlots>& colours)
{
    std::string text;
    for (std::size_t i = 0; i < colours.size(); ++i) {
        if (i > 0) {
            text += ';';
        }
        text += std::to_string(colours[i]);
    }
    return text;
}

/// The residues' class colours, dark grey for the termini: what a first start
/// writes and holds, so that wheels drawn before the next start are coloured too.
std::array<COLORREF, kResidueSlots> defaultColours()
{
    std::array<COLORREF, kResidueSlots> colours{};
    for (int i = 0; i < kResidueSlots; ++i) {
        colours[static_cast<std::size_t>(i)] = DefaultResidueColour(i);
    }
    return colours;
}

/// A default that a reader writes back: always (a value found out of range),
/// or only when the key is missing, decided on the file as the last writer
/// left it, so that readers that start together write each default once.
struct DefaultWrite
{
    std::string_view section;
    std::string_view key;
    std::string value;
    bool onlyWhenMissing = true;
};

/// The writes of one reader in their order, within one update of the file: a
/// file of a million keys is then read, written and synced once, not once per
/// missing key, and holds the same bytes as after one write per key.
void applyDefaults(ProfileText& text, const std::vector<DefaultWrite>& writes)
{
    for (const DefaultWrite& write : writes) {
        if (!write.onlyWhenMissing || !readText(text, write.section, write.key)) {
            text.Set(write.section, write.key, write.value);
        }
    }
}

/// Notes a refused entry once.
void refuse(std::vector<RefusedSetting>& refused, std::string_view section, std::string_view key)
{
    const RefusedSetting entry{std::string(section), std::string(key)};
    if (std::find(refused.begin(), refused.end(), entry) == refused.end()) {
        refused.push_back(entry);
    }
}

/// A number of a settings list; a NaN or infinite one leaves fallback and
/// clears finite, as no computation may run on it.
double finiteNumber(std::string_view token, double fallback, bool& finite)
{
    const double value = ParseLeadingDouble(token);
    if (std::isfinite(value)) {
        return value;
    }
    finite = false;
    return fallback;
}

HYDROPATHYSCALE parseScale(std::string_view value, bool& finite)
{
    HYDROPATHYSCALE scale;
    const auto first = value.find(';');
    if (first == std::string_view::npos || first == 0) {
        return scale;
    }
    scale.name = value.substr(0, first);
    std::string_view rest = value.substr(first + 1);
    for (std::size_t i = 0; i < kResidueSlots - 1; ++i) {
        const auto sep = rest.find(';');
        if (sep == std::string_view::npos) {
            return scale;
        }
        scale.values[i] = finiteNumber(rest.substr(0, sep), 0.0, finite);
        rest.remove_prefix(sep + 1);
    }
    scale.values[kResidueSlots - 1] = finiteNumber(rest, 0.0, finite);
    return scale;
}

/// Splits "name:rest" at the first ":" when it is not the first character.
std::pair<std::string_view, std::string_view> splitName(std::string_view value)
{
    const auto colon = value.find(':');
    if (colon == std::string_view::npos || colon == 0) {
        return {value, {}};
    }
    return {value.substr(0, colon), value.substr(colon + 1)};
}

/// Whether a mass text that is no plain decimal is, as a whole, a number that
/// reading it as 0 would misrepresent: NaN, an infinity, or a positive number
/// in another notation ("1e308"). Other texts (a negative number, "12a")
/// give mass 0.
bool misreadMass(std::string_view text)
{
    double number = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (end != text.data() + text.size() || text.empty()) {
        return false;
    }
    return error == std::errc::result_out_of_range || !std::isfinite(number) || number > 0.0;
}

/// A modification entry; usable is cleared for a mass that misreadMass finds.
MODIFICATION parseModification(std::string_view value, bool& usable)
{
    MODIFICATION modification;
    const auto [name, rest] = splitName(value);
    modification.name = name;
    const auto semicolon = rest.find(';');
    if (semicolon == std::string_view::npos) {
        modification.specificity = rest;
        return modification;
    }
    modification.specificity = rest.substr(0, semicolon);
    const std::string_view mass = rest.substr(semicolon + 1);
    if (mass.find_first_not_of("0123456789.") == std::string_view::npos) {
        modification.mw = ParseLeadingDouble(mass);
    } else if (misreadMass(mass)) {
        usable = false;
    }
    return modification;
}

void readNumberListKey(const ProfileFile& file, std::string_view key, ResidueTable& current,
                       const ResidueTable& defaults, int digits,
                       std::vector<RefusedSetting>& refused, std::vector<DefaultWrite>& writes)
{
    const auto value = readText(file, kPropertiesSection, key);
    if (!value) {
        writes.push_back({kPropertiesSection, key, FormatNumberList(defaults, digits)});
        return;
    }
    if (!ParseNumberList(*value, current)) {
        refuse(refused, kPropertiesSection, key);
    }
}

std::vector<HYDROPATHYSCALE> readScales(const ProfileFile& file,
                                        std::vector<RefusedSetting>& refused)
{
    std::vector<HYDROPATHYSCALE> scales;
    for (std::size_t k = 0;; ++k) {
        const std::string key = std::to_string(k);
        const auto value = readText(file, kScalesSection, key);
        if (!value) {
            return scales;
        }
        bool finite = true;
        scales.push_back(parseScale(*value, finite));
        if (!finite) {
            refuse(refused, kScalesSection, key);
        }
    }
}

template <typename Entry, typename Format>
void setList(ProfileText& text, std::string_view section, std::size_t previousCount,
             const std::vector<Entry>& entries, Format format)
{
    for (std::size_t k = 0; k <= previousCount; ++k) {
        text.Set(section, std::to_string(k), std::nullopt);
    }
    for (std::size_t k = 0; k < entries.size(); ++k) {
        text.Set(section, std::to_string(k), format(entries[k]));
    }
}

} // namespace

bool ParseNumberList(std::string_view text, ResidueTable& table)
{
    bool finite = true;
    parseList(text, [&](int i, std::string_view token) {
        double& entry = table[static_cast<std::size_t>(i)];
        entry = finiteNumber(token, entry, finite);
    });
    return finite;
}

std::string FormatNumberList(const ResidueTable& table, int n)
{
    std::string text;
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (i > 0) {
            text += ';';
        }
        text += FormatGeneral(table[i], n);
    }
    return text;
}

std::string FormatScaleEntry(const HYDROPATHYSCALE& scale)
{
    std::string text = scale.name;
    for (const double value : scale.values) {
        text += ';';
        text += FormatGeneral(value, 4);
    }
    return text;
}

std::string FormatAgentEntry(const ENZYME& agent)
{
    return agent.name + ':' + agent.specificity;
}

std::string FormatModificationEntry(const MODIFICATION& modification)
{
    // trunc(log10(mass) + 2) significant digits: one decimal for masses of 0.1 and more.
    const int digits =
        modification.mw > 0.0 ? static_cast<int>(std::trunc(std::log10(modification.mw) + 2)) : 1;
    return modification.name + ':' + modification.specificity + ';' +
           FormatGeneral(modification.mw, digits);
}

void ReadStartupSettings(ProfileFile& file, AppSettings& settings, std::string_view startDirectory)
{
    std::vector<DefaultWrite> writes;
    const auto rewrite = [&writes](std::string_view key, int value) {
        writes.push_back({kSetupSection, key, std::to_string(value), false});
    };
    if (const auto width = readBoundedInt(file, "Line Width", 1, 10)) {
        settings.plotLineWidth = *width;
    } else {
        rewrite("Line Width", settings.plotLineWidth);
    }
    if (const auto width = readBoundedInt(file, "Helical Wheel Line Width", 1, 10)) {
        settings.wheelLineWidth = *width;
    } else {
        settings.wheelLineWidth = 1;
        rewrite("Helical Wheel Line Width", 1);
    }
    settings.wheelColorCode = file.ReadInt(kSetupSection, "Helical Wheel Color Code", 1);
    settings.wheelNumbers = file.ReadInt(kSetupSection, "Helical Wheel Numbers", 1);

    LOGFONT& font = settings.wheelFont;
    font.lfWidth = 0;
    font.lfEscapement = 0;
    font.lfOrientation = 0;
    font.lfStrikeOut = 0;
    font.lfCharSet = 0;
    const auto byteKey = [&](std::string_view key, int fallback) {
        return static_cast<std::uint8_t>(file.ReadInt(kSetupSection, key, fallback));
    };
    font.lfHeight = file.ReadInt(kSetupSection, "Helical Wheel Font Height", -13);
    font.lfWeight = file.ReadInt(kSetupSection, "Helical Wheel Font Weight", 400);
    font.lfItalic = byteKey("Helical Wheel Font Italic", 0);
    font.lfUnderline = byteKey("Helical Wheel Font Underline", 0);
    font.lfOutPrecision = byteKey("Helical Wheel Font OutPrecision", 0);
    font.lfClipPrecision = byteKey("Helical Wheel Font ClipPrecision", 10);
    font.lfQuality = byteKey("Helical Wheel Font Quality", 0);
    font.lfPitchAndFamily = byteKey("Helical Wheel Font PitchAndFamily", 0);
    font.SetFaceName(
        readText(file, kSetupSection, "Helical Wheel Font FaceName").value_or("Arial"));

    if (const auto size = readBoundedInt(file, "Output Font Size", 1, 20)) {
        settings.outputFontSize = *size;
    } else {
        settings.outputFontSize = 11;
        rewrite("Output Font Size", 11);
    }
    settings.charsPerLine = file.ReadInt(kSetupSection, "Characters per line", 80);
    std::string directory =
        readText(file, kSetupSection, "Working Directory").value_or(std::string(startDirectory));
    if (directory.size() > 254) {
        directory.resize(254);
    }
    settings.workingDirectory = std::move(directory);

    if (const auto colours = readText(file, kPropertiesSection, "Colors")) {
        parseList(*colours, [&](int i, std::string_view token) {
            settings.colours[static_cast<std::size_t>(i)] =
                static_cast<COLORREF>(ParseLeadingInt(token));
        });
    } else {
        settings.colours = defaultColours();
        writes.push_back({kPropertiesSection, "Colors", formatColours(settings.colours)});
    }
    if (!writes.empty()) {
        file.Update([&writes](ProfileText& text) { applyDefaults(text, writes); });
    }
}

std::vector<RefusedSetting> ReadRecordSettings(ProfileFile& file, PropertyRecord& record)
{
    std::vector<RefusedSetting> refused;
    std::vector<DefaultWrite> writes;
    record.ResetCurrentTables();
    readNumberListKey(file, "pKa-Values", record.pKa, record.defaultPKa, 3, refused, writes);
    readNumberListKey(file, "Molecular weights", record.residueMass, record.defaultResidueMass, 5,
                      refused, writes);
    readNumberListKey(file, "Molar Absorption (denatured)", record.absorptionDenatured,
                      record.defaultAbsorptionDenatured, 5, refused, writes);
    readNumberListKey(file, "Molar Absorption (native)", record.absorptionNative,
                      record.defaultAbsorptionNative, 5, refused, writes);

    record.scales = readScales(file, refused);
    if (record.scales.size() >= 2 && !writes.empty()) {
        file.Update([&writes](ProfileText& text) { applyDefaults(text, writes); });
    }
    if (record.scales.size() < 2) {
        // The built-in scales go after the scales found, so that no user scale is
        // overwritten, and join this record's list at once. The count is taken
        // again under the writer lock, so that readers starting together add
        // them once. The missing number lists go in the same write, before them.
        std::optional<std::size_t> appendedAt;
        file.Update([&](ProfileText& text) {
            applyDefaults(text, writes);
            std::size_t count = 0;
            while (readText(text, kScalesSection, std::to_string(count))) {
                ++count;
            }
            if (count >= 2) {
                return;
            }
            appendedAt = count;
            for (const HYDROPATHYSCALE& scale : record.builtinScales) {
                text.Set(kScalesSection, std::to_string(count++), FormatScaleEntry(scale));
            }
        });
        if (!appendedAt || *appendedAt != record.scales.size()) {
            // Another reader changed the list meanwhile: the file's list holds.
            record.scales = readScales(file, refused);
        }
        if (appendedAt) {
            record.scales.resize(*appendedAt);
            record.scales.insert(record.scales.end(), record.builtinScales.begin(),
                                 record.builtinScales.end());
        }
    }

    record.agents.clear();
    for (std::size_t k = 0;; ++k) {
        const auto value = readText(file, kAgentsSection, std::to_string(k));
        if (!value) {
            break;
        }
        const auto [name, specificity] = splitName(*value);
        record.agents.push_back({std::string(name), std::string(specificity)});
    }

    record.modifications.clear();
    for (std::size_t k = 0;; ++k) {
        const auto value = readText(file, kModificationsSection, std::to_string(k));
        if (!value) {
            break;
        }
        bool usable = true;
        MODIFICATION modification = parseModification(*value, usable);
        // A search with such a mass would be a search with 0 Da: the entry
        // is left out and reported.
        if (usable) {
            record.modifications.push_back(std::move(modification));
        } else {
            refuse(refused, kModificationsSection, std::to_string(k));
        }
    }
    return refused;
}

int CharsPerLine(int outputFontSize)
{
    return outputFontSize > 0 ? (90 / outputFontSize) * 10 : 80;
}

// One replacement of the file per writer: a list of thousands, or the dozen
// keys of a page, is written whole or not at all.

void SetPKaValues(ProfileText& text, const ResidueTable& pKa)
{
    text.Set(kPropertiesSection, "pKa-Values", FormatNumberList(pKa, 3));
}

void SetOutputOptions(ProfileText& text, int plotLineWidth, int outputFontSize)
{
    text.Set(kSetupSection, "Output Font Size", std::to_string(outputFontSize));
    text.Set(kSetupSection, "Characters per line", std::to_string(CharsPerLine(outputFontSize)));
    text.Set(kSetupSection, "Line Width", std::to_string(plotLineWidth));
}

void SetWheelOptions(ProfileText& text, const AppSettings& settings)
{
    const LOGFONT& font = settings.wheelFont;
    const auto setInt = [&](std::string_view key, int value) {
        text.Set(kSetupSection, key, std::to_string(value));
    };
    setInt("Helical Wheel Line Width", settings.wheelLineWidth);
    setInt("Helical Wheel Color Code", settings.wheelColorCode);
    setInt("Helical Wheel Numbers", settings.wheelNumbers);
    setInt("Helical Wheel Font Height", font.lfHeight);
    setInt("Helical Wheel Font Weight", font.lfWeight);
    setInt("Helical Wheel Font Italic", font.lfItalic);
    setInt("Helical Wheel Font Underline", font.lfUnderline);
    setInt("Helical Wheel Font OutPrecision", font.lfOutPrecision);
    setInt("Helical Wheel Font ClipPrecision", font.lfClipPrecision);
    setInt("Helical Wheel Font Quality", font.lfQuality);
    setInt("Helical Wheel Font PitchAndFamily", font.lfPitchAndFamily);
    text.Set(kSetupSection, "Helical Wheel Font FaceName", font.FaceName());
    text.Set(kPropertiesSection, "Colors", formatColours(settings.colours));
}

void SetScaleList(ProfileText& text, std::size_t previousCount,
                  const std::vector<HYDROPATHYSCALE>& scales)
{
    setList(text, kScalesSection, previousCount, scales, FormatScaleEntry);
}

void SetAgentList(ProfileText& text, std::size_t previousCount, const std::vector<ENZYME>& agents)
{
    setList(text, kAgentsSection, previousCount, agents, FormatAgentEntry);
}

void SetModificationList(ProfileText& text, std::size_t previousCount,
                         const std::vector<MODIFICATION>& modifications)
{
    setList(text, kModificationsSection, previousCount, modifications, FormatModificationEntry);
}

void SetWorkingDirectory(ProfileText& text, std::string_view directory)
{
    text.Set(kSetupSection, "Working Directory", directory);
}

} // namespace quorin::core
