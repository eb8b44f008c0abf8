#include "analysis/ui/PhysChemPage.h"

#include "analysis/PhysChem.h"
#include "core/NumberText.h"
#include "core/SequenceText.h"
#include "core/ui/QtText.h"

#include <QFontMetrics>
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
    kTitleLine = 0,
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
int drawRun(QPainter& painter, const PhysChemLayout& layout, int x, int y, const QString& text,
            const QColor& colour, int raise = 0)
{
    const QFontMetrics metrics(layout.font, painter.device());
    painter.setPen(colour);
    painter.drawText(x, y + metrics.ascent() - raise, text);
    return x + metrics.horizontalAdvance(text);
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
    layout.left = 10;
    layout.charsPerLine = width / layout.charWidth - 5;
    const int fitting = (width - layout.left) / (EntryPitch() * layout.charWidth);
    layout.entriesPerRow = std::max(1, std::min(layout.charsPerLine / 10, fitting));
    return layout;
}

PhysChemLayout PhysChemPage::PrinterLayout(QPaintDevice* printer) const
{
    PhysChemLayout layout;
    // The page is laid out in screen pixels; on paper it keeps its size.
    layout.scale = printer->logicalDpiY() / 96.0;
    layout.font = PageFont(layout.scale);
    const QFontMetrics metrics(layout.font, printer);
    layout.lineHeight = metrics.lineSpacing();
    layout.charWidth = std::max(1, metrics.maxWidth());
    layout.left = 5 * layout.charWidth;
    layout.charsPerLine = printer->width() / layout.charWidth - 5;
    layout.entriesPerRow = 5;
    return layout;
}

int PhysChemPage::LineCount(int entriesPerRow) const
{
    const int perRow = std::max(1, entriesPerRow);
    return kFirstCompositionLine + (20 + perRow - 1) / perRow;
}

void PhysChemPage::DrawLine(QPainter& painter, const PhysChemLayout& layout, int line, int y) const
{
    painter.setFont(layout.font);
    const int x = layout.left;
    switch (line) {
    case kTitleLine: {
        const int end = drawRun(painter, layout, x, y, m_title, kLabelColour);
        painter.setPen(QPen(Qt::black, std::max(1.0, 3 * layout.scale)));
        for (const double below : {1.25, 1.4}) {
            const int lineY = y + static_cast<int>(below * layout.lineHeight);
            painter.drawLine(x, lineY, end, lineY);
        }
        return;
    }
    case kPILine:
        drawRun(painter, layout,
                drawRun(painter, layout, x, y, QStringLiteral("Isoelectric Point: "), kLabelColour),
                y, m_pI, kValueColour);
        return;
    case kWeightLine: {
        int at = drawRun(painter, layout, x, y, QStringLiteral("Molecular Weight: "), kLabelColour);
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
        int at =
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
    if (line < kFirstCompositionLine || line >= LineCount(layout.entriesPerRow)) {
        return;
    }
    const int perRow = std::max(1, layout.entriesPerRow);
    const int first = (line - kFirstCompositionLine) * perRow;
    for (int i = first; i < std::min(20, first + perRow); ++i) {
        const Entry& entry = m_entries[static_cast<std::size_t>(i)];
        const int column = x + (i - first) * EntryPitch() * layout.charWidth;
        drawRun(painter, layout, column, y, entry.label, kLabelColour);
        const int countX = column + 3 * layout.charWidth;
        drawRun(painter, layout, countX, y, entry.count, kValueColour);
        drawRun(painter, layout, countX + (m_countWidth + 1) * layout.charWidth, y, entry.percent,
                kValueColour);
    }
}

} // namespace quorin::analysis::ui
