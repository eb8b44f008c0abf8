#include "analysis/ui/CModView.h"

#include "analysis/ModFinder.h"
#include "core/CommandIds.h"
#include "core/ui/CPeptideDoc.h"

#include <QFontDatabase>

namespace quorin::analysis::ui {

namespace cmd = core::cmd;

CModView::CModView(core::ui::CPeptideDoc& document, QWidget* parent)
    : CReportView(document, Style(), parent)
{
    setObjectName(QStringLiteral("CModView"));
    refresh();
}

ReportPageStyle CModView::Style()
{
    ReportPageStyle style;
    style.pageName = QStringLiteral("modFinderPage");
    style.jobName = QStringLiteral("ModFinder");
    style.font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    style.margin = 8;
    style.titleUnderlined = true;
    style.textCentred = true;
    return style;
}

std::string CModView::MakeReport(const core::ui::CPeptideDoc& document) const
{
    return ModReportText(document.Record(), m_completeOnly);
}

std::optional<core::ui::CommandState> CModView::CommandStateOf(int id)
{
    if (id == cmd::kCompleteDigest) {
        return core::ui::CommandState{true, true, m_completeOnly};
    }
    return CReportView::CommandStateOf(id);
}

bool CModView::OnCommand(int id)
{
    if (id == cmd::kCompleteDigest) {
        m_completeOnly = !m_completeOnly;
        refresh();
        return true;
    }
    return CReportView::OnCommand(id);
}

} // namespace quorin::analysis::ui
