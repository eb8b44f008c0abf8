#include "plots/ui/ChartView.h"

#include "plots/HydropathyPage.h"

#include <QPainter>

#include <algorithm>

namespace quorin::plots::ui {
namespace {

/// Pointers beyond the frame count as at its edge.
int frameX(int x)
{
    return std::clamp(x, kPathyFrameLeft, kPathyFrameLeft + kPathyFrameWidth);
}

} // namespace

bool ChartView::StretchPress(QPoint page)
{
    m_dragStartX = frameX(page.x());
    m_band = QRect();
    return true;
}

void ChartView::StretchMove(QPoint page)
{
    const int x = frameX(page.x());
    m_band = QRect(QPoint(std::min(m_dragStartX, x), kPathyFrameTop),
                   QPoint(std::max(m_dragStartX, x), kPathyFrameTop + kPathyFrameHeight));
    ShowStatus(
        QStringLiteral("Position: %1 - %2").arg(ResidueAtX(m_dragStartX)).arg(ResidueAtX(x)));
    viewport()->update();
}

void ChartView::StretchRelease(QPoint page)
{
    const int start = ResidueAtX(m_dragStartX);
    const int end = ResidueAtX(page.x());
    m_dragStartX = 0;
    m_band = QRect();
    if (!Document().Selection().HasSelection()) {
        const int low = std::min(start, end);
        const int high = std::max(start, end);
        if (EditMode() == Mode::Select && start != end) {
            ZoomTo(low, high);
        } else if (EditMode() == Mode::HelicalWheel) {
            OpenWheel(low, high);
        }
    }
    Document().Changed();
}

void ChartView::Hover(QPoint page)
{
    ShowStatus(QStringLiteral("Position: %1").arg(ResidueAtX(page.x())));
}

void ChartView::DrawOverlay(QPainter& painter)
{
    if (m_band.isNull()) {
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPen pen(Qt::black, 1, Qt::DotLine);
    pen.setCosmetic(true);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(m_band);
    painter.restore();
}

} // namespace quorin::plots::ui
