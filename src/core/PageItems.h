#pragma once

#include "core/LogFont.h"
#include "core/Residue.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quorin::core {

/// A position mark on a plot page or the domain sketch: an arrow at a residue,
/// labelled with the residue letter and number when the page labels marks.
struct MARK
{
    std::uint16_t position = 0; ///< 1-based residue number
    LOGFONT font;               ///< label font
    COLORREF lineColour = 0;    ///< arrow
    COLORREF labelColour = 0;   ///< label text
    std::uint8_t selected = 0;
    friend bool operator==(const MARK&, const MARK&) = default;
};

/// A block of free text on a plot page.
struct TEXTITEM
{
    std::int32_t x = 0; ///< top-left corner in screen page units
    std::int32_t y = 0;
    std::uint16_t width = 0; ///< extent on the screen page, as last measured, for hit tests
    std::uint16_t height = 0;
    std::uint8_t legend = 0; ///< 1: a legend line whose value part follows the plot's settings
    std::string text;        ///< lines separated by CR LF
    LOGFONT font;
    COLORREF colour = 0;
    std::uint8_t selected = 0;
    friend bool operator==(const TEXTITEM&, const TEXTITEM&) = default;
};

/// One domain of the domain sketch: a named stretch drawn as a coloured box.
struct DOMAINE
{
    std::uint16_t start = 0; ///< 1-based residue numbers, both inclusive
    std::uint16_t end = 0;
    std::string name;
    LOGFONT font; ///< label font
    COLORREF labelColour = 0;
    std::uint8_t displayName = 0; ///< 1: the name is drawn
    COLORREF colour = 0;          ///< fill of the box
    /// The flag byte of the name's label record in a sequence file; it has no
    /// meaning for the drawing and is kept so that a file is written back as read.
    std::uint8_t labelFlag = 0;
    friend bool operator==(const DOMAINE&, const DOMAINE&) = default;
};

/// The domain sketch's data, kept with the sequence and stored in its file.
struct SketchData
{
    std::vector<DOMAINE> domains;
    std::vector<MARK> marks;
    std::vector<TEXTITEM> texts;
    double scale = 0.0;          ///< page units per residue
    std::uint16_t lineWidth = 0; ///< the 16-bit sketch setting
    std::uint8_t labelMarks = 0; ///< the sketch flag byte
};

} // namespace quorin::core
