#pragma once

#include "core/PropertyRecord.h"

#include <QFont>
#include <QString>
#include <QStringList>

#include <array>

class QPainter;
class QPaintDevice;

namespace quorin::analysis::ui {

/// Where a physico-chemical page goes on one device.
struct PhysChemLayout
{
    QFont font;
    double scale = 1.0;    ///< device pixels per screen pixel (1 on screen)
    int left = 0;          ///< x of the text, device pixels
    int lineHeight = 0;    ///< the font's height plus its external leading
    int charWidth = 0;     ///< the widest character of the font, whole pixels
    double advance = 0.0;  ///< a character's true advance: columns are laid out in it
    int charsPerLine = 0;  ///< device width / charWidth - 5
    int entriesPerRow = 4; ///< composition entries in one row
    int titleColumns = 0;  ///< characters of a title row; 0: the title stays on one line
};

/// The properties page as the window and the printer draw it: the title in
/// red, underlined twice; red labels and black values; the absorption unit
/// with a raised "-1"; the composition in rows of entries. One routine draws
/// it on every device; only the layout differs.
class PhysChemPage
{
public:
    /// Takes every value from record; the composition percentages are
    /// computed here once and kept.
    explicit PhysChemPage(core::PropertyRecord& record);

    /// Courier New, 14 pixels scaled by scale, bold.
    static QFont PageFont(double scale);

    /// The layout on the screen for a window width in pixels: 10 pixels left
    /// margin, entries per row one tenth of the characters per line, fewer
    /// when that many entries would not fit the width.
    PhysChemLayout ScreenLayout(QPaintDevice* device, int width) const;

    /// The layout in a printed text area textWidth device pixels wide: the
    /// font scaled to the printer's resolution, text from the area's left
    /// edge, five entries per row (fewer when five would not fit), the title
    /// wrapped to the width.
    PhysChemLayout PrinterLayout(QPaintDevice* printer, int textWidth) const;

    /// Lines of the page in layout: the title's rows, the values, the rows of
    /// the composition.
    int LineCount(const PhysChemLayout& layout) const;

    /// Draws line `line` (0-based) with its top at y. Empty lines draw nothing.
    void DrawLine(QPainter& painter, const PhysChemLayout& layout, int line, int y) const;

    /// The title as layout prints it: one row, or rows of titleColumns
    /// characters broken after blanks.
    QStringList TitleRows(const PhysChemLayout& layout) const;

    /// The width of the title line on device, in its pixels.
    int TitleWidth(const PhysChemLayout& layout, QPaintDevice* device) const;

    /// The characters one composition entry takes, blanks between entries
    /// included.
    int EntryPitch() const;

private:
    struct Entry
    {
        QString label; ///< "A:"
        QString count;
        QString percent; ///< "(8%)"
    };

    QString m_title;
    QString m_pI;
    QString m_mw;
    QString m_denatured;
    QString m_native;
    std::array<Entry, 20> m_entries;
    int m_countWidth = 1;
    int m_percentWidth = 4;
};

} // namespace quorin::analysis::ui
