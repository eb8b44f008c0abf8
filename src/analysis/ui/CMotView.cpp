#include "analysis/ui/CMotView.h"

#include "analysis/Motifs.h"
#include "analysis/ui/PhysChemPage.h"
#include "core/CommandIds.h"
#include "core/ui/CPeptideDoc.h"

namespace quorin::analysis::ui {

namespace cmd = core::cmd;

CMotView::CMotView(core::ui::CPeptideDoc& document, QWidget* parent)
    : CReportView(document, Style(), parent)
{
    setObjectName(QStringLiteral("CMotView"));
    refresh();
}

ReportPageStyle CMotView::Style()
{
    ReportPageStyle style;
    style.pageName = QStringLiteral("motifPage");
    style.jobName = QStringLiteral("Motif Search");
    style.font = PhysChemPage::PageFont(1.0);
    style.margin = 10;
    style.underlineFromText = true;
    return style;
}

std::string CMotView::MakeReport(const core::ui::CPeptideDoc& document) const
{
    return MotifReportText(document.Record(), m_byPosition);
}

void CMotView::setOrder(bool byPosition)
{
    m_byPosition = byPosition;
    refresh();
}

std::optional<core::ui::CommandState> CMotView::CommandStateOf(int id)
{
    switch (id) {
    case cmd::kSortByPosition:
        return core::ui::CommandState{true, true, m_byPosition};
    case cmd::kSortByMotif:
        return core::ui::CommandState{true, true, !m_byPosition};
    default:
        return CReportView::CommandStateOf(id);
    }
}

bool CMotView::OnCommand(int id)
{
    switch (id) {
    case cmd::kSortByPosition:
        setOrder(true);
        return true;
    case cmd::kSortByMotif:
        setOrder(false);
        return true;
    default:
        return CReportView::OnCommand(id);
    }
}

} // namespace quorin::analysis::ui
