#pragma once

#include "core/LogFont.h"
#include "core/PropertyRecord.h"

#include <cstdint>
#include <initializer_list>
#include <string>

namespace quorin::test {

/// A record named "fonts" of 60 residues whose sketch holds, for each height,
/// a named domain 1..50, a mark at 20 and a text item, all in the report font
/// with that height (scale 4, line width 1, marks labelled).
inline core::PropertyRecord SketchWithFontHeights(std::initializer_list<std::int32_t> heights)
{
    core::PropertyRecord record;
    record.SetName("fonts");
    record.SetSequence(std::string(60, 'A'));
    core::SketchData& sketch = record.sketch;
    sketch.scale = 4.0;
    sketch.lineWidth = 1;
    sketch.labelMarks = 1;
    for (const std::int32_t height : heights) {
        core::LOGFONT font = core::ReportFontA();
        font.lfHeight = height;
        core::DOMAINE domain;
        domain.start = 1;
        domain.end = 50;
        domain.name = "domain";
        domain.displayName = 1;
        domain.font = font;
        sketch.domains.push_back(domain);
        core::MARK mark;
        mark.position = 20;
        mark.font = font;
        sketch.marks.push_back(mark);
        core::TEXTITEM text;
        text.text = "text";
        text.font = font;
        sketch.texts.push_back(text);
    }
    return record;
}

} // namespace quorin::test
