#include "plots/ui/CWheelView.h"

#include "core/CommandIds.h"

#include <QScrollBar>

namespace quorin::plots::ui {
namespace {

namespace cmd = core::cmd;
using core::ui::CommandState;

} // namespace

CWheelView::CWheelView(CWheelDoc& document, QWidget* parent)
    : PageView(document, parent), m_wheel(document)
{
    setObjectName(QStringLiteral("CWheelView"));
    setWindowTitle(document.Caption());
    m_shownSide = ShownPageSize().width();
    connect(&document, &PageDocument::changed, this, [this] {
        setWindowTitle(m_wheel.Caption());
        const int side = ShownPageSize().width();
        if (side == m_shownSide) {
            return;
        }
        // The wheel's centre is the page's; a zoom grows or shrinks the page
        // about it instead of about the corner.
        const QPoint shownCentre = ToViewport(QPoint(m_shownSide / 2, m_shownSide / 2));
        m_shownSide = side;
        ShownPageSizeChanged();
        keepCentre(shownCentre);
    });
}

void CWheelView::keepCentre(QPoint shownCentre)
{
    const QPoint drift = ToViewport(QPoint(m_shownSide / 2, m_shownSide / 2)) - shownCentre;
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() + drift.x());
    verticalScrollBar()->setValue(verticalScrollBar()->value() + drift.y());
}

QSize CWheelView::ShownPageSize() const
{
    const int side = WheelShownSize(m_wheel.Wheel().zoom);
    return QSize(side, side);
}

std::optional<CommandState> CWheelView::CommandStateOf(int id)
{
    switch (id) {
    case cmd::kZoomIn:
    case cmd::kZoomOut:
    case cmd::kWheelAmphipathy:
    case cmd::kWheelRange:
        return CommandState{};
    case cmd::kWheelColours:
        return CommandState{true, true, m_wheel.UsesColours()};
    case cmd::kNumbersOrLabels:
        return CommandState{true, true, m_wheel.ShowsNumbers()};
    default:
        return PageView::CommandStateOf(id);
    }
}

bool CWheelView::OnCommand(int id)
{
    switch (id) {
    case cmd::kZoomIn:
        m_wheel.ZoomIn();
        return true;
    case cmd::kZoomOut:
        m_wheel.ZoomOut();
        return true;
    case cmd::kWheelColours:
        m_wheel.ToggleColours();
        return true;
    case cmd::kNumbersOrLabels:
        m_wheel.ToggleNumbers();
        return true;
    case cmd::kWheelAmphipathy:
        m_wheel.ShowMoment();
        return true;
    case cmd::kWheelRange:
        m_wheel.ModifyDisplayedPart(this);
        return true;
    default:
        return PageView::OnCommand(id);
    }
}

std::vector<PageView::ContextEntry> CWheelView::PageContextMenu()
{
    return {
        {cmd::kWheelAmphipathy, QStringLiteral("Calculate &Amphipathy Moment")},
        {cmd::kWheelRange, QStringLiteral("&Modify displayed part of sequence...")},
        {cmd::kCopy, QStringLiteral("&Copy")},
        {cmd::kZoomIn, QStringLiteral("Zoom &In")},
        {cmd::kZoomOut, QStringLiteral("Zoom &Out")},
    };
}

} // namespace quorin::plots::ui
