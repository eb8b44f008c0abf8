#pragma once

#include <string_view>

namespace quorin::plots {

/// The texts the plot pages show in message boxes, and the command line on
/// standard error.
inline constexpr std::string_view kNoScaleAvailable = "No hydropathy scale available!";
inline constexpr std::string_view kInvalidStart = "Enter a valid start value!";
inline constexpr std::string_view kInvalidEnd = "Enter a valid end value!";
inline constexpr std::string_view kOutsideLimits = "Entered value is outside the limits.";
inline constexpr std::string_view kInvalidWindow = "Enter a valid value for sliding window!";
inline constexpr std::string_view kWindowOutsideLimits =
    "Entered value for sliding window is outside the limits!";
inline constexpr std::string_view kInvalidThreshold = "Enter a valid hydropathy threshold!";
inline constexpr std::string_view kInvalidPosition = "Enter a valid sequence position!";
inline constexpr std::string_view kFileExists = "File exists. Overwrite?";
inline constexpr std::string_view kTooManyWheels = "Only 5 Helical Wheels may be displayed!";

/// Message box captions.
inline constexpr std::string_view kErrorCaption = "Error";
inline constexpr std::string_view kNoteCaption = "Note";

} // namespace quorin::plots
