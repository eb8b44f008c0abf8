#include "plots/ui/CSchemeView.h"

#include "core/CommandIds.h"

namespace quorin::plots::ui {
namespace {

namespace cmd = core::cmd;
using core::ui::CommandState;

} // namespace

CSchemeView::CSchemeView(CSchemeDoc& document, QWidget* parent)
    : PageView(document, parent), m_scheme(document)
{
    setObjectName(QStringLiteral("CSchemeView"));
    setWindowTitle(document.Caption());
    connect(&document, &PageDocument::changed, this,
            [this, &document] { setWindowTitle(document.Caption()); });
}

std::optional<CommandState> CSchemeView::CommandStateOf(int id)
{
    switch (id) {
    case cmd::kModifySketch:
    case cmd::kAddDomain:
        return CommandState{};
    case cmd::kDomainProperties:
        return CommandState{m_scheme.SelectedDomain() >= 0};
    case cmd::kMarkProperties:
        // The sketch edits the selected mark from its context menu too.
        return CommandState{m_scheme.Selection().SelectedMark() >= 0};
    default:
        return PageView::CommandStateOf(id);
    }
}

bool CSchemeView::OnCommand(int id)
{
    switch (id) {
    case cmd::kModifySketch:
        m_scheme.ModifyStructure(this);
        return true;
    case cmd::kAddDomain:
        m_scheme.AddDomain(this);
        return true;
    case cmd::kDomainProperties:
        m_scheme.EditDomain(m_scheme.SelectedDomain(), this);
        return true;
    case cmd::kMarkProperties:
        EditMark(m_scheme.Selection().SelectedMark());
        return true;
    default:
        return PageView::OnCommand(id);
    }
}

std::vector<PageView::ContextEntry> CSchemeView::PageContextMenu()
{
    return {
        {cmd::kModifySketch, QStringLiteral("&Properties...")},
        {cmd::kAddDomain, QStringLiteral("&Add Domain...")},
        {0, {}},
        {cmd::kMarkPositions, QStringLiteral("&Mark positions...")},
        {cmd::kDeleteAllMarks, QStringLiteral("&Delete all marks")},
        {cmd::kNumbersOrLabels, QStringLiteral("&Label marks")},
        {0, {}},
        {cmd::kSelectObject, QStringLiteral("&Select object")},
        {cmd::kInsertText, QStringLiteral("&Insert text...")},
        {0, {}},
        {cmd::kCopy, QStringLiteral("&Copy All")},
    };
}

bool CSchemeView::SelectOwnItemAt(QPoint page)
{
    const int domain = m_scheme.DomainAt(page);
    if (domain < 0) {
        return false;
    }
    m_scheme.SelectDomain(domain);
    return true;
}

bool CSchemeView::EditOwnItemAt(QPoint page)
{
    const int domain = m_scheme.DomainAt(page);
    if (domain < 0) {
        return false;
    }
    m_scheme.EditDomain(domain, this);
    return true;
}

std::vector<PageView::ContextEntry> CSchemeView::OwnItemMenuAt(QPoint page)
{
    if (!SelectOwnItemAt(page)) {
        return {};
    }
    return {
        {cmd::kDomainProperties, QStringLiteral("Domain &Properties...")},
        {cmd::kDeleteSketchItem, QStringLiteral("&Delete Domain")},
        {0, {}},
        {cmd::kAddDomain, QStringLiteral("&Add Domain...")},
        {cmd::kModifySketch, QStringLiteral("&Modify domain structure...")},
        {0, {}},
        {cmd::kCopy, QStringLiteral("&Copy All")},
    };
}

} // namespace quorin::plots::ui
