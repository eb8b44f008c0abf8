#pragma once

#include "core/LogFont.h"
#include "core/ProfileFile.h"
#include "core/PropertyRecord.h"
#include "core/Residue.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorin::core {

/// The settings the application holds while it runs. Everything starts at
/// zero; ReadStartupSettings fills it.
struct AppSettings
{
    int plotLineWidth = 0;
    int outputFontSize = 0;
    int charsPerLine = 0;
    int wheelLineWidth = 0;
    int wheelColorCode = 0;
    int wheelNumbers = 0;
    LOGFONT wheelFont;
    std::array<COLORREF, kResidueSlots> colours{};
    std::string workingDirectory;
};

/// Section names of the settings file.
inline constexpr std::string_view kSetupSection = "Setup Options";
inline constexpr std::string_view kPropertiesSection = "AA-Properties";
inline constexpr std::string_view kScalesSection = "Hydropathy Index";
inline constexpr std::string_view kAgentsSection = "Cleaving Agents";
inline constexpr std::string_view kModificationsSection = "Modifications";
inline constexpr std::string_view kBatchSection = "Batch Execution Options";

/// Reads "Setup Options" and the "Colors" key into settings, writing back the
/// keys that the file must hold ("Line Width", "Helical Wheel Line Width",
/// "Output Font Size", "Colors") when they are missing or out of range. A
/// default written for "Helical Wheel Line Width" or "Colors" (the residues'
/// class colours) is held in settings too.
/// startDirectory stands in for a missing "Working Directory".
void ReadStartupSettings(ProfileFile& file, AppSettings& settings, std::string_view startDirectory);

/// A settings entry holding a number that is NaN or infinite. The number is
/// not used: a table entry keeps its built-in value, a scale value reads 0 as
/// a missing one does. A modification whose mass is NaN, infinite or a
/// positive number written other than in plain decimals ("1e308") is left out
/// of the list.
struct RefusedSetting
{
    std::string section;
    std::string key;
    bool operator==(const RefusedSetting&) const = default;
};

/// Resets record's current tables and loads its tables, scale, agent and
/// modification lists from the file. Missing number lists are written with the
/// defaults; with fewer than two scales the built-in scales are written after
/// the keys found and join the record's list at once. Callers pass the active
/// record. Returns the entries whose numbers were refused, each once, for the
/// caller to report.
std::vector<RefusedSetting> ReadRecordSettings(ProfileFile& file, PropertyRecord& record);

/// Parses a list of 22 numbers separated by ";" into table. Stops at the first
/// missing or empty token and leaves the later entries as they were; a NaN or
/// infinite number leaves its entry as it was too. Returns false when a number
/// was refused so.
bool ParseNumberList(std::string_view text, ResidueTable& table);

/// A table as the settings file stores it: 22 values with n significant
/// digits, ";"-separated.
std::string FormatNumberList(const ResidueTable& table, int n);

/// The stored forms of the list entries.
std::string FormatScaleEntry(const HYDROPATHYSCALE& scale);
std::string FormatAgentEntry(const ENZYME& agent);
std::string FormatModificationEntry(const MODIFICATION& modification);

/// Characters per line of the text outputs for an output font size:
/// (90 div size) x 10, so 11 points give 80 and 9 points give 100.
int CharsPerLine(int outputFontSize);

// The editors below change a settings text; the Preferences write them all
// in one replacement of the file (ProfileFile::Update), so a failed write
// leaves it as it was.

/// "pKa-Values" from a pKa table.
void SetPKaValues(ProfileText& text, const ResidueTable& pKa);

/// Output options page: "Output Font Size", "Characters per line"
/// (CharsPerLine) and "Line Width".
void SetOutputOptions(ProfileText& text, int plotLineWidth, int outputFontSize);

/// Wheel options page: the wheel keys, the nine font keys and "Colors".
void SetWheelOptions(ProfileText& text, const AppSettings& settings);

/// Rewrite a whole list section: keys "0".."previousCount" are deleted, then
/// one key per entry is written from "0" upwards.
void SetScaleList(ProfileText& text, std::size_t previousCount,
                  const std::vector<HYDROPATHYSCALE>& scales);
void SetAgentList(ProfileText& text, std::size_t previousCount, const std::vector<ENZYME>& agents);
void SetModificationList(ProfileText& text, std::size_t previousCount,
                         const std::vector<MODIFICATION>& modifications);

/// "Working Directory" of "Setup Options".
void SetWorkingDirectory(ProfileText& text, std::string_view directory);

} // namespace quorin::core
