#pragma once

#include "core/PepFile.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace quorin::core::msg {

/// The texts of the program's message boxes, character for character. The
/// desktop program shows them through its one message function; the command
/// line prints the same texts on standard error.

// Captions
inline constexpr std::string_view kProgramTitle = "Quorin";
inline constexpr std::string_view kError = "Error";
inline constexpr std::string_view kNote = "Note";
inline constexpr std::string_view kResult = "Result";

// Sequence files (the sequence-file reader names its failures)
inline constexpr std::string_view kNotQuorinFormat = kNotQuorinFormatMessage;
inline constexpr std::string_view kTruncatedFile = kTruncatedFileMessage;
inline constexpr std::string_view kUtf16Text = kUtf16TextMessage;
/// Import: the text held no header line and sequence.
inline constexpr std::string_view kFileNotFound = "File not found!";

/// The close-time question for a modified sequence document.
inline std::string SaveChangesQuestion(std::string_view title)
{
    return "Save changes to " + std::string(title) + "?";
}

/// A file that could not be opened for reading, with the reason the system
/// (or the file reader) gave.
inline std::string CannotOpenFile(std::string_view path, std::string_view reason)
{
    return "Cannot open the file " + std::string(path) + ": " + std::string(reason) + ".";
}

/// A save or export that could not be written; the file that was there is
/// left as it was.
inline std::string CannotSaveFile(std::string_view path)
{
    return "Cannot save the file " + std::string(path) +
           ". The disk may be full or the folder read-only; nothing was changed.";
}

/// As above with the reason the system gave ("No space left on device").
inline std::string CannotSaveFile(std::string_view path, std::string_view reason)
{
    return "Cannot save the file " + std::string(path) + ": " + std::string(reason) +
           ". Nothing was changed.";
}

/// A print job that could not start (no printer, or a PDF file that cannot
/// be written).
inline constexpr std::string_view kCannotPrint = "The page could not be printed.";

// The settings file
/// A settings entry with a NaN or infinite number, which is not used. A
/// modification has no default mass: it is left out.
inline std::string RefusedSettingNumber(std::string_view section, std::string_view key)
{
    if (section == "Modifications") {
        return "The setting \"" + std::string(key) + "\" in [" + std::string(section) +
               "] holds a mass that is not a plain decimal number; the modification is left "
               "out.";
    }
    return "The setting \"" + std::string(key) + "\" in [" + std::string(section) +
           "] holds a number that is not finite; its default is used instead.";
}

/// A settings entry whose number lies outside what the program can use; value
/// as written (at most 40 characters of it are shown), range and fallback as
/// phrases ("1 to 86400 seconds", "30 seconds").
inline std::string RefusedSettingRange(std::string_view section, std::string_view key,
                                       std::string_view value, std::string_view range,
                                       std::string_view fallback)
{
    return "The setting \"" + std::string(key) + "\" in [" + std::string(section) + "] holds " +
           std::string(value.substr(0, 40)) + ", outside " + std::string(range) +
           "; the default of " + std::string(fallback) + " is used instead.";
}

// Launchers of the Analyze commands
inline constexpr std::string_view kCouldNotCreateWindow = "Could not create new window!";
inline constexpr std::string_view kNoCleavingAgents = "No cleaving agents defined!";
inline constexpr std::string_view kNoModifications = "No modifications defined!";
inline constexpr std::string_view kNoHydropathyScale = "No hydropathy scale available!";
inline constexpr std::string_view kWheelLimit = "Only 5 Helical Wheels may be displayed!";

// The digest
/// The agent dialog's Analyse with no agent selected.
inline constexpr std::string_view kSelectAnAgent = "Select an agent!";
/// A digest whose fragments do not fit in memory (a protein with tens of
/// thousands of sites); the window closes and the sequence keeps no digest.
inline constexpr std::string_view kDigestTooLarge =
    "The digest has too many fragments to hold in memory; choose agents that cut less often.";

/// A decimal integer with "," between groups of three digits: 120,000,000.
inline std::string GroupedDigits(std::uint64_t value)
{
    const std::string digits = std::to_string(value);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            grouped += ',';
        }
        grouped += digits[i];
    }
    return grouped;
}

/// A digest refused before any fragment is made: the fragments it would make
/// and the most the program allows itself.
inline std::string TooManyFragments(std::uint64_t count, std::uint64_t ceiling)
{
    return "The digest would make " + GroupedDigits(count) + " fragments, more than the " +
           GroupedDigits(ceiling) + " this machine allows.";
}

/// A motif search refused for its number of sites: the sites it would find
/// (atLeast: counting stopped there) and the most the program allows itself.
inline std::string TooManyMotifSites(std::uint64_t count, std::uint64_t ceiling, bool atLeast)
{
    return "The motif search would find " + std::string(atLeast ? "at least " : "") +
           GroupedDigits(count) + " sites, more than the " + GroupedDigits(ceiling) +
           " this machine allows.";
}

/// The digest options refused, field by field.
inline constexpr std::string_view kInvalidMaxMissed =
    "Enter the missed cleavages allowed as a whole number (0 or more)!";
inline constexpr std::string_view kInvalidMinLength =
    "Enter the minimum length as a whole number, or leave it empty for no minimum!";
inline constexpr std::string_view kInvalidMaxLength =
    "Enter the maximum length as a whole number, or leave it empty for no maximum!";
inline constexpr std::string_view kMinLengthAboveMax =
    "The minimum length is greater than the maximum length!";
inline constexpr std::string_view kInvalidCharges =
    "Enter the charge states as whole numbers from 1 to 100, separated by commas, or leave "
    "them empty for no m/z column!";
inline std::string ChargeListedTwice(int charge)
{
    return "The charge state " + std::to_string(charge) + " is listed twice!";
}

// ModFinder
/// The ModFinder dialog's Analyse with no modification selected.
inline constexpr std::string_view kSelectAModification = "Select an modification!";
/// A weight or uncertainty that is empty or holds more than digits and ".".
inline constexpr std::string_view kInvalidWeight = "Enter a valid number as weight !";

// The hydropathy dialog's checks, in the order it makes them
inline constexpr std::string_view kInvalidStart = "Enter a valid start value!";
inline constexpr std::string_view kInvalidEnd = "Enter a valid end value!";
inline constexpr std::string_view kOutsideLimits = "Entered value is outside the limits.";
inline constexpr std::string_view kInvalidWindow = "Enter a valid value for sliding window!";
inline constexpr std::string_view kWindowOutsideLimits =
    "Entered value for sliding window is outside the limits!";
inline constexpr std::string_view kInvalidThreshold = "Enter a valid hydropathy threshold!";
/// The helical wheel dialog's limits message (with an exclamation mark there).
inline constexpr std::string_view kWheelOutsideLimits = "Entered value is outside the limits!";

// Plot pages
inline constexpr std::string_view kInvalidPosition = "Enter a valid sequence position!";
/// Asked before a metafile or an export replaces an existing file.
inline constexpr std::string_view kFileExists = "File exists. Overwrite?";

// The domain sketch's dialogs
inline constexpr std::string_view kInvalidScale = "Enter a valid scaling value!";
inline constexpr std::string_view kNameInUse = "Name already in use!";
inline constexpr std::string_view kStartNotBelowEnd = "Start must be smaller than End!";

// The motif dialog's checks
inline constexpr std::string_view kEnterMotif = "Enter a sequence motif!";
/// A search string character that is neither a residue letter nor ";".
inline std::string NotAnAminoAcid(std::string_view character)
{
    return std::string(character) + " is not a valid amino acid !";
}

// The download of a sequence by accession number
/// Any download that ends without a sequence, after the network's own message
/// where there is one.
inline constexpr std::string_view kCouldNotRetrieve = "Could not retrieve sequence data!";
/// The service answered that it knows no such accession.
inline std::string AccessionNotFound(std::string_view accession)
{
    return "Accession " + std::string(accession) + " was not found.";
}
/// OK with an empty accession field: nothing is asked.
inline constexpr std::string_view kEnterAccession = "Enter an accession number!";
/// The server's name has no address.
inline std::string CouldNotGetHostAddress(std::string_view host)
{
    return "Could not get host address!\nNo address is known for " + std::string(host) + ".";
}
/// No connection to server came about; reason as the system gave it.
inline std::string CouldNotConnect(std::string_view server, std::string_view reason)
{
    return "Could not connect to server!\n" + std::string(server) + ": " + std::string(reason) +
           ".";
}
/// The reply broke off or never came; reason as the system gave it.
inline std::string CouldNotReceive(std::string_view server, std::string_view reason)
{
    return "Could not receive data from server!\n" + std::string(server) + ": " +
           std::string(reason) + ".";
}
/// The server answered with an HTTP error status instead of the document.
inline std::string ServerAnsweredError(std::string_view server, int status, std::string_view reason)
{
    return "Could not receive data from server!\n" + std::string(server) + " answered " +
           std::to_string(status) + (reason.empty() ? "" : " ") + std::string(reason) + ".";
}
/// A request that was not answered within its time limit.
inline std::string NoAnswerInTime(std::string_view server, long long seconds)
{
    return "The server did not answer in time!\n" + std::string(server) +
           " sent no complete reply within " + std::to_string(seconds) +
           (seconds == 1 ? " second." : " seconds.");
}

// The Preferences sheet
inline constexpr std::string_view kDeleteItem = "Delete item?";
inline constexpr std::string_view kInvalidPKa = "Please enter a real value between 0 and 14 !";
inline constexpr std::string_view kInvalidNumber = "Enter a valid number !";
inline constexpr std::string_view kNoDirectoryInfo = "Could not retrieve directory info!";
inline constexpr std::string_view kInvalidServer =
    "Enter a server address beginning with http:// or https:// !";
inline constexpr std::string_view kInvalidTimeout = "Enter a time limit of 1 to 86400 seconds !";
inline constexpr std::string_view kCannotCreateDirectory = "Could not create directory!";
inline constexpr std::string_view kCopySettingsFile =
    "No QUORIN.INI file found in the new directory.  Do you want to copy the old file to the new "
    "directory?";
inline constexpr std::string_view kReplaceSettingsFile =
    "QUORIN.INI file was found in the new directory.  Do you want to replace it by the old file?";
inline constexpr std::string_view kWillTerminate =
    "Quorin will terminate now. You might have to re-launch Quorin manually.";

/// The settings of a confirmed Preferences sheet that could not be written:
/// neither the file nor the running program changed.
inline std::string CannotWriteSettings(std::string_view path)
{
    return "The settings could not be written to " + std::string(path) +
           ". The disk may be full or the folder read-only; no setting was changed.";
}

/// The settings file could not be moved to another user-data directory.
inline std::string SettingsNotMoved(std::string_view directory, std::string_view reason,
                                    std::string_view kept)
{
    return "The settings file could not be copied to " + std::string(directory) + ": " +
           std::string(reason) + ". Quorin keeps using " + std::string(kept) + ".";
}

/// The new user-data directory could not be recorded for the next start.
inline std::string UserDataNotRecorded(std::string_view store, std::string_view kept)
{
    return "The new settings directory could not be recorded in " + std::string(store) +
           ". Quorin keeps using " + std::string(kept) + ".";
}

// The batch analysis
inline constexpr std::string_view kBatchInvalidThreshold = "Enter a valid number as threshold !";
inline constexpr std::string_view kCancelMayNotBeImmediate = "Cancel may not be immediate";
/// A run ended by Terminate: it writes nothing.
inline constexpr std::string_view kBatchTerminated =
    "The batch analysis was terminated; no file was written.";
/// The end of a batch run: the number of sequences analysed.
inline std::string SequencesAnalyzed(std::size_t count)
{
    return std::to_string(count) + " sequences analyzed.";
}

} // namespace quorin::core::msg
