#include "analysis/ui/PhysChemPage.h"

#include "analysis/PhysChem.h"
#include "core/NumberText.h"
#include "core/SequenceText.h"
#include "core/TextPages.h"
#include "core/ui/Printing.h"
#include "core/ui/QtText.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace quorin::analysis::ui {
namespace {

using core::ui::ToQString;

const QColor kLabelColour(255, 0, 0);
const QColor kValueColour(0, 0, 0);

enum Line
{
    kPILine = 3,
    kWeightLine = 5,
    kAbsorptionHeadLine = 7,
    kAbsorptionLine = 8,
    kCompositionHeadLine = 10,
    kFirstCompositionLine = 11,
};

/// Significant digits of a percentage: one decimal from 1 % up.
QString percentText(double p)
{
    if (p == 0.0) {
        return QStringLiteral("0");
    }
    return ToQString(core::FormatSignificant(p, static_cast<int>(std::trunc(std::log10(p) + 2))));
}

/// Draws text at x on the line whose top is y and returns the x after it.
double drawRun(QPainter& painter, const PhysChemLayout& layout, double x, int y,
               const QString& text, const QColor& colour, int raise = 0)
{
    const QFontMetricsF metrics(layout.font, painter.device());
    painter.setPen(colour);
    painter.drawText(QPointF(x, y + metrics.ascent() - raise), text);
    return x + metrics.horizontalAdvance(text);
}

/// The character advance of the page font, which is fixed-pitch.
double advanceOf(const QFont& font, QPaintDevice* device)
{
    return std::max(1.0, QFontMetricsF(font, device).horizontalAdvance(QLatin1Char(' ')));
}

} // namespace

PhysChemPage::PhysChemPage(core::PropertyRecord& record)
{
    m_title = QStringLiteral("Physico-chemical Properties of ") +
              ToQString(core::OneLineText(record.Name()));
    m_pI = ToQString(core::FormatSignificant(record.IsoelectricPoint(), 3));
    const double mw = record.MolecularWeight();
    m_mw = ToQString(core::FormatSignificant(mw, static_cast<int>(std::trunc(std::log10(mw) + 1))));
    m_denatured = ToQString(core::FormatSignificant(record.AbsorptionDenatured(), 3));
    m_native = ToQString(core::FormatSignificant(record.AbsorptionNative(), 3));
    const auto percent = CompositionPercentages(record);
    for (int i = 0; i < 20; ++i) {
        Entry& entry = m_entries[static_cast<std::size_t>(i)];
        entry.label = QChar(core::LetterOfIndex(i + 1)) + QStringLiteral(":");
        entry.count = QString::number(record.ResidueCount(i + 1));
        entry.percent = QStringLiteral("(") + percentText(percent[static_cast<std::size_t>(i)]) +
                        QStringLiteral("%)");
        m_countWidth = std::max(m_countWidth, static_cast<int>(entry.count.size()));
        m_percentWidth = std::max(m_percentWidth, static_cast<int>(entry.percent.size()));
    }
}

QFont PhysChemPage::PageFont(double scale)
{
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(14 * scale))));
    font.setWeight(QFont::Bold);
    return font;
}

int PhysChemPage::TitleWidth(const PhysChemLayout& layout, QPaintDevice* device) const
{
    return QFontMetrics(layout.font, device).horizontalAdvance(m_title);
}

int PhysChemPage::EntryPitch() const
{
    // "A:", a blank, the count, a blank, the percentage, two blanks.
    return 3 + m_countWidth + 1 + m_percentWidth + 2;
}

PhysChemLayout PhysChemPage::ScreenLayout(QPaintDevice* device, int width) const
{
    PhysChemLayout layout;
    layout.font = PageFont(1.0);
    const QFontMetrics metrics(layout.font, device);
    layout.lineHeight = metrics.lineSpacing();
    layout.charWidth = std::max(1, metrics.maxWidth());
    layout.advance = advanceOf(layout.font, device);
    layout.left = 10;
    layout.charsPerLine = width / layout.charWidth - 5;
    const int fitting = static_cast<int>((width - layout.left) / (EntryPitch() * layout.advance));
    layout.entriesPerRow = std::max(1, std::min(layout.charsPerLine / 10, fitting));
    return layout;
}

PhysChemLayout PhysChemPage::PrinterLayout(QPaintDevice* printer, int textWidth) const
{
    PhysChemLayout layout;
    // The page is laid out in screen pixels; on paper it keeps its size.
    layout.scale = printer->logicalDpiY() / 96.0;
    layout.font = core::ui::PrintingFont(*printer, PageFont(1.0));
    const QFontMetrics metrics(layout.font, printer);
    layout.lineHeight = metrics.lineSpacing();
    layout.charWidth = std::max(1, metrics.maxWidth());
    layout.advance = advanceOf(layout.font, printer);
    layout.left = 0;
    layout.charsPerLine = printer->width() / layout.charWidth - 5;
    layout.titleColumns = std::max(1, static_cast<int>(textWidth / layout.advance));
    // The last entry of a row needs no blanks after it.
    const int fitting = static_cast<int>((textWidth / layout.advance + 2) / EntryPitch());
    layout.entriesPerRow = std::clamp(fitting, 1, 5);
    return layout;
}

QStringList PhysChemPage::TitleRows(const PhysChemLayout& layout) const
{
    if (layout.titleColumns <= 0) {
        return {m_title};
    }
    QStringList rows;
    for (const std::string& row :
         core::WrapText(m_title.toStdString(), layout.titleColumns, core::kBreakAfterBlank)) {
        rows << ToQString(row);
    }
    return rows;
}

int PhysChemPage::LineCount(const PhysChemLayout& layout) const
{
    const int perRow = std::max(1, layout.entriesPerRow);
    const int titleRows = static_cast<int>(TitleRows(layout).size());
    return titleRows - 1 + kFirstCompositionLine + (20 + perRow - 1) / perRow;
}

void PhysChemPage::DrawLine(QPainter& painter, const PhysChemLayout& layout, int line, int y) const
{
    painter.setFont(layout.font);
    const int x = layout.left;
    // A title wrapped on paper takes more rows; the lines after it move down.
    const QStringList title = TitleRows(layout);
    const int titleRows = static_cast<int>(title.size());
    if (line < titleRows) {
        drawRun(painter, layout, x, y, title[line], kLabelColour);
        if (line + 1 < titleRows) {
            return;
        }
        // The double underline goes under the last row, across the widest.
        double end = x;
        const QFontMetricsF metrics(layout.font, painter.device());
        for (const QString& row : title) {
            end = std::max(end, x + metrics.horizontalAdvance(row));
        }
        painter.setPen(QPen(Qt::black, std::max(1.0, 3 * layout.scale)));
        for (const double below : {1.25, 1.4}) {
            const double lineY = y + static_cast<int>(below * layout.lineHeight);
            painter.drawLine(QPointF(x, lineY), QPointF(end, lineY));
        }
        return;
    }
    line -= titleRows - 1;
    switch (line) {
    case kPILine:
        drawRun(painter, layout,
                drawRun(painter, layout, x, y, QStringLiteral("Isoelectric Point: "), kLabelColour),
                y, m_pI, kValueColour);
        return;
    case kWeightLine: {
        double at =
            drawRun(painter, layout, x, y, QStringLiteral("Molecular Weight: "), kLabelColour);
        at = drawRun(painter, layout, at, y, m_mw, kValueColour);
        drawRun(painter, layout, at, y, QStringLiteral(" Da"), kLabelColour);
        return;
    }
    case kAbsorptionHeadLine:
        drawRun(painter, layout, x, y, QStringLiteral("Molar absorption coefficient (280 nm):"),
                kLabelColour);
        return;
    case kAbsorptionLine: {
        const int raise = static_cast<int>(0.2 * layout.lineHeight);
        double at =
            drawRun(painter, layout, x, y, QStringLiteral("denatured (6M GdnHCl): "), kLabelColour);
        at = drawRun(painter, layout, at, y, m_denatured, kValueColour);
        at = drawRun(painter, layout, at, y, QStringLiteral(" (mM*cm)"), kLabelColour);
        at = drawRun(painter, layout, at, y, QStringLiteral("-1"), kLabelColour, raise);
        at = drawRun(painter, layout, at, y, QStringLiteral("   nativ: "), kLabelColour);
        at = drawRun(painter, layout, at, y, m_native, kValueColour);
        at = drawRun(painter, layout, at, y, QStringLiteral(" (mM*cm)"), kLabelColour);
        drawRun(painter, layout, at, y, QStringLiteral("-1"), kLabelColour, raise);
        return;
    }
    case kCompositionHeadLine:
        drawRun(painter, layout, x, y, QStringLiteral("AA Composition: "), kLabelColour);
        return;
    default:
        break;
    }
    const int perRow = std::max(1, layout.entriesPerRow);
    if (line < kFirstCompositionLine ||
        line >= kFirstCompositionLine + (20 + perRow - 1) / perRow) {
        return;
    }
    // Columns are counted in the font's true advance: whole pixels would
    // lose a fraction at every character and run the entries together.
    const int first = (line - kFirstCompositionLine) * perRow;
    for (int i = first; i < std::min(20, first + perRow); ++i) {
        const Entry& entry = m_entries[static_cast<std::size_t>(i)];
        const double column = x + (i - first) * EntryPitch() * layout.advance;
        drawRun(painter, layout, column, y, entry.label, kLabelColour);
        const double countX = column + 3 * layout.advance;
        drawRun(painter, layout, countX, y, entry.count, kValueColour);
        drawRun(painter, layout, countX + (m_countWidth + 1) * layout.advance, y, entry.percent,
                kValueColour);
    }
}

} // namespace quorin::analysis::ui
