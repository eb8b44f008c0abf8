#include "plots/ui/CAmphyView.h"

#include "core/CommandIds.h"

namespace quorin::plots::ui {
namespace {

namespace cmd = core::cmd;
using core::ui::CommandState;

} // namespace

CAmphyView::CAmphyView(CAmphyDoc& document, QWidget* parent)
    : ChartView(document, parent), m_amphy(document)
{
    setObjectName(QStringLiteral("CAmphyView"));
    setWindowTitle(document.Caption());
    connect(&document, &PageDocument::changed, this,
            [this, &document] { setWindowTitle(document.Caption()); });
}

std::optional<CommandState> CAmphyView::CommandStateOf(int id)
{
    switch (id) {
    case cmd::kResizeTo100:
    case cmd::kAmphipathyRange:
        return CommandState{};
    default:
        return ChartView::CommandStateOf(id);
    }
}

bool CAmphyView::OnCommand(int id)
{
    switch (id) {
    case cmd::kResizeTo100:
        m_amphy.ResizeToFull();
        return true;
    case cmd::kAmphipathyRange:
        m_amphy.ModifyDisplayedPart(this);
        return true;
    default:
        return ChartView::OnCommand(id);
    }
}

std::vector<PageView::ContextEntry> CAmphyView::PageContextMenu()
{
    return {
        {cmd::kResizeTo100, QStringLiteral("&Resize to 100%")},
        {cmd::kAmphipathyRange, QStringLiteral("&Modify displayed part of sequence...")},
        {0, {}},
        {cmd::kSelectObject, QStringLiteral("Mouse Selection for Amphipathy &Plot")},
        {cmd::kSelectionAsWheel, QStringLiteral("Mouse Selection for Helical &Wheel")},
        {0, {}},
        {cmd::kCopy, QStringLiteral("&Copy All")},
    };
}

int CAmphyView::ResidueAtX(int x) const
{
    return m_amphy.Page().ResidueAtX(x);
}

void CAmphyView::ZoomTo(int from, int to)
{
    m_amphy.Plot().from = from;
    m_amphy.Plot().to = to;
}

} // namespace quorin::plots::ui
