#pragma once

#include "core/FileIo.h"
#include "core/LogFont.h"
#include "core/ProfileFile.h"
#include "core/PropertyRecord.h"
#include "core/Residue.h"
#include "core/Settings.h"

#include <array>
#include <chrono>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace quorin::shell {

/// The most characters a cleaving agent's name or specificity holds as edited.
inline constexpr std::size_t kAgentFieldLength = 19;

/// The limits of the size fields of the output and wheel options: the ranges
/// the settings reader accepts, so that a confirmed value survives the next
/// start.
inline constexpr int kMinOutputFontSize = 2;
inline constexpr int kMaxOutputFontSize = 20;
inline constexpr int kMinLineWidth = 1;
inline constexpr int kMaxLineWidth = 10;
inline constexpr int kDefaultOutputFontSize = 11;

/// One group of the pKa page: its caption and its residue index.
struct PKaGroup
{
    std::string_view caption;
    int index;
};

inline constexpr std::array<PKaGroup, 9> kPKaGroups = {{
    {"N-Terminus", 0},
    {"Cys", 2},
    {"Asp", 3},
    {"Glu", 4},
    {"His", 7},
    {"Lys", 9},
    {"Arg", 15},
    {"Tyr", 20},
    {"C-Terminus", 21},
}};

/// The wheel page's residues, "A (Ala)" to "Y (Tyr)", for residue indices 1..20.
extern const std::array<std::string_view, 20> kWheelResidueCaptions;
/// The scale page's residues, "N-Terminus", "Ala" .. "Tyr", "C-Terminus", for
/// residue indices 0..21.
extern const std::array<std::string_view, core::kResidueSlots> kScaleResidueCaptions;

/// A check of a page entry that failed: the message to show and the field
/// that gets the focus with its text selected.
struct EntryProblem
{
    enum class Field
    {
        Specificity,
        Weight,
        Value,
    };
    std::string message;
    Field field = Field::Specificity;
};

/// The cleaving-agent check: name and specificity cut to 19 characters, the
/// specificity upper-cased, and every character of it a residue letter, ";" or
/// "!"; else the first offending character followed by " is not a valid amino
/// acid !".
std::variant<core::ENZYME, EntryProblem> CheckAgent(std::string_view name,
                                                    std::string_view specificity);

/// The modification check: the specificity upper-cased, every character a
/// residue letter, ";" or ","; the weight text of "0123456789." only ("Enter a
/// valid number as weight !"), its value the weight (empty: 0).
std::variant<core::MODIFICATION, EntryProblem>
CheckModification(std::string_view name, std::string_view specificity, std::string_view weight);

/// A pKa field: the value when the whole text is a number above 0 and at most
/// 14, else nothing.
std::optional<double> ReadPKa(std::string_view text);

/// Whether a hydropathy value field holds only characters of "0123456789.-".
bool IsScaleValueText(std::string_view text);

/// What a size field takes from its text: the value when the text is digits
/// only and the value lies in [minimum, maximum]; nothing when the last
/// accepted value is to come back. An empty text is not called for: the field
/// stays empty and keeps its last value.
std::optional<int> AcceptedSize(std::string_view text, int minimum, int maximum);

/// The fields' texts: a pKa with 3 significant digits, a modification weight
/// with trunc(log10(weight) + 2) significant digits (empty for 0), a scale
/// value with 4 significant digits (as the settings file stores it).
std::string PKaText(double pKa);
std::string WeightText(double weight);
std::string ScaleValueText(double value);

/// What the confirmed pages of the Preferences sheet change; each part is set
/// only when its page was modified.
struct PreferenceChanges
{
    struct Wheel
    {
        int lineWidth = 1;
        int colorCode = 1;
        int numbers = 1;
        core::LOGFONT font;
        /// The application colour table; the page edits entries 1..20.
        std::array<core::COLORREF, core::kResidueSlots> colours{};
    };
    struct Output
    {
        int fontSize = kDefaultOutputFontSize;
        int lineWidth = 1;
    };
    struct Download
    {
        /// The E-utilities base URL; empty: the default service.
        std::string server;
        std::chrono::seconds timeout{30};
        /// The UniProt REST base URL; empty: the public service.
        std::string uniProtServer;
    };

    std::optional<std::string> workingDirectory;
    std::optional<Wheel> wheel;
    std::optional<Output> output;
    std::optional<core::ResidueTable> pKa;
    std::optional<std::vector<core::ENZYME>> agents;
    std::optional<std::vector<core::MODIFICATION>> modifications;
    std::optional<std::vector<core::HYDROPATHYSCALE>> scales;
    std::optional<Download> download;

    bool Empty() const
    {
        return !workingDirectory && !wheel && !output && !pKa && !agents && !modifications &&
               !scales && !download;
    }
};

/// Writes the keys of the changes in one replacement of the settings file:
/// all of them or, when the file cannot be written, none (false). A list
/// section is rewritten whole; its old keys go, as many as the record's list
/// or the file held.
bool WritePreferences(core::ProfileFile& file, const PreferenceChanges& changes,
                      const core::PropertyRecord* record);

/// Takes written changes over into the program's settings and the sequence's
/// record (when there is one): its tables and lists, the residue colours and
/// wheel settings, the line width and font size of its pages. The record's
/// cached results are computed again with the new pKa values.
void ApplyPreferences(const PreferenceChanges& changes, core::AppSettings& settings,
                      core::PropertyRecord* record);

/// The names of the subdirectories of directory, sorted; nothing when it
/// cannot be listed.
std::optional<std::vector<std::string>> ListSubdirectories(const std::filesystem::path& directory);

/// Whether two paths name the same existing directory.
bool SameDirectory(const std::filesystem::path& a, const std::filesystem::path& b);

/// Copies the settings file into newDirectory as "quorin.ini" (replacing one
/// there atomically) and reads the copy back: success only when it holds the
/// same bytes. A settings file that does not exist yet copies as nothing.
core::FileStatus CopySettingsFile(const std::filesystem::path& settingsFile,
                                  const std::filesystem::path& newDirectory);

} // namespace quorin::shell
