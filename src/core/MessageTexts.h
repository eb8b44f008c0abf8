#pragma once

#include "core/PepFile.h"

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
/// Import: the text held no header line and sequence.
inline constexpr std::string_view kFileNotFound = "File not found!";

/// The close-time question for a modified sequence document.
inline std::string SaveChangesQuestion(std::string_view title)
{
    return "Save changes to " + std::string(title) + "?";
}

/// A file that could not be opened for reading (it is missing, unreadable or
/// a directory).
inline std::string CannotOpenFile(std::string_view path)
{
    return "Cannot open the file " + std::string(path) + ".";
}

/// A save or export that could not be written; the file that was there is
/// left as it was.
inline std::string CannotSaveFile(std::string_view path)
{
    return "Cannot save the file " + std::string(path) +
           ". The disk may be full or the folder read-only; nothing was changed.";
}

/// A print job that could not start (no printer, or a PDF file that cannot
/// be written).
inline constexpr std::string_view kCannotPrint = "The page could not be printed.";

// The settings file
/// A settings entry with a NaN or infinite number, which is not used.
inline std::string RefusedSettingNumber(std::string_view section, std::string_view key)
{
    return "The setting \"" + std::string(key) + "\" in [" + std::string(section) +
           "] holds a number that is not finite; its default is used instead.";
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

// The hydropathy dialog's checks, in the order it makes them
inline constexpr std::string_view kInvalidStart = "Enter a valid start value!";
inline constexpr std::string_view kInvalidEnd = "Enter a valid end value!";
inline constexpr std::string_view kOutsideLimits = "Entered value is outside the limits.";
inline constexpr std::string_view kInvalidWindow = "Enter a valid value for sliding window!";
inline constexpr std::string_view kWindowOutsideLimits =
    "Entered value for sliding window is outside the limits!";
inline constexpr std::string_view kInvalidThreshold = "Enter a valid hydropathy threshold!";

// Plot pages
inline constexpr std::string_view kInvalidPosition = "Enter a valid sequence position!";
/// Asked before a metafile or an export replaces an existing file.
inline constexpr std::string_view kFileExists = "File exists. Overwrite?";

} // namespace quorin::core::msg
