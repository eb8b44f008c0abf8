#include "plots/ui/CPathyView.h"

#include "core/CommandIds.h"
#include "core/ui/Messages.h"
#include "core/ui/QtText.h"
#include "plots/Hydropathy.h"

#include <QTimer>

#include <algorithm>

namespace quorin::plots::ui {
namespace {

namespace cmd = core::cmd;
using core::ui::CommandState;

} // namespace

CPathyView::CPathyView(CPathyDoc& document, QWidget* parent)
    : ChartView(document, parent), m_pathy(document)
{
    setObjectName(QStringLiteral("CPathyView"));
    setWindowTitle(document.Caption());
    connect(&document, &PageDocument::changed, this,
            [this, &document] { setWindowTitle(document.Caption()); });
}

std::optional<CommandState> CPathyView::CommandStateOf(int id)
{
    switch (id) {
    case cmd::kTransmembrane:
        return CommandState{true, true, m_pathy.Settings().helixDisplay != 0};
    case cmd::kResizeTo100:
    case cmd::kHydropathyRange:
    case cmd::kExportHydropathy:
        return CommandState{};
    default:
        return ChartView::CommandStateOf(id);
    }
}

bool CPathyView::OnCommand(int id)
{
    switch (id) {
    case cmd::kTransmembrane:
        m_pathy.ToggleTransmembrane();
        return true;
    case cmd::kResizeTo100:
        m_pathy.ResizeToFull();
        return true;
    case cmd::kHydropathyRange:
        m_pathy.ModifyDisplayedPart(this);
        return true;
    case cmd::kExportHydropathy:
        m_pathy.ExportData(this);
        return true;
    default:
        return ChartView::OnCommand(id);
    }
}

std::vector<PageView::ContextEntry> CPathyView::PageContextMenu()
{
    return {
        {cmd::kResizeTo100, QStringLiteral("&Resize to 100%")},
        {cmd::kHydropathyRange, QStringLiteral("&Modify displayed part of sequence...")},
        {0, {}},
        {cmd::kMarkPositions, QStringLiteral("&Mark Positions...")},
        {cmd::kDeleteAllMarks, QStringLiteral("&Delete All Marks")},
        {0, {}},
        {cmd::kSelectObject, QStringLiteral("&Select Objects")},
        {cmd::kSelectionAsWheel, QStringLiteral("Display Selection as Helical &Wheel")},
        {cmd::kInsertText, QStringLiteral("&Insert Text...")},
        {0, {}},
        {cmd::kCopy, QStringLiteral("&Copy All")},
    };
}

int CPathyView::ResidueAtX(int x) const
{
    return m_pathy.Page().ResidueAtX(x);
}

void CPathyView::ZoomTo(int from, int to)
{
    m_pathy.Settings().from = from;
    m_pathy.Settings().to = to;
}

CPathyView::CheckedStretch CPathyView::currentStretch() const
{
    const core::HydropathyPlotSettings& settings = m_pathy.Page().Settings();
    return CheckedStretch{settings.from, settings.to, settings.window,
                          plots::PositionCount(m_pathy.Page().Record())};
}

void CPathyView::BeforeDraw()
{
    if (m_checkPending || currentStretch() == m_checked || !m_pathy.StretchNeedsDialog()) {
        return;
    }
    // A modal dialog cannot open inside a paint; it opens right after.
    m_checkPending = true;
    QTimer::singleShot(0, this, &CPathyView::checkStretch);
}

void CPathyView::BeforePrint()
{
    // The printed page shows any stretch that lies within the sequence.
    if (m_pathy.Settings().to > plots::PositionCount(m_pathy.Page().Record())) {
        m_pathy.ModifyDisplayedPart(this);
        m_checked = currentStretch();
    }
}

void CPathyView::checkStretch()
{
    if (m_pathy.StretchNeedsDialog()) {
        m_pathy.ModifyDisplayedPart(this);
    }
    // What the user confirmed or let stand is not asked about again.
    m_checked = currentStretch();
    m_checkPending = false;
    viewport()->update();
}

} // namespace quorin::plots::ui
