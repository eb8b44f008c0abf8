#include "plots/ui/CTitrationView.h"

#include "core/CommandIds.h"

namespace quorin::plots::ui {
namespace {

namespace cmd = core::cmd;
using core::ui::CommandState;

} // namespace

CTitrationView::CTitrationView(CTitrationDoc& document, QWidget* parent)
    : PageView(document, parent), m_titration(document)
{
    setObjectName(QStringLiteral("CTitrationView"));
    setWindowTitle(document.Caption());
    connect(&document, &PageDocument::changed, this,
            [this] { setWindowTitle(m_titration.Caption()); });
}

std::optional<CommandState> CTitrationView::CommandStateOf(int id)
{
    switch (id) {
    case cmd::kCopyTable:
    case cmd::kTitrationSet:
        return CommandState{};
    default:
        return PageView::CommandStateOf(id);
    }
}

bool CTitrationView::OnCommand(int id)
{
    switch (id) {
    case cmd::kCopyTable:
        m_titration.CopyTable();
        return true;
    case cmd::kTitrationSet:
        m_titration.ModifySet(this);
        return true;
    default:
        return PageView::OnCommand(id);
    }
}

std::vector<PageView::ContextEntry> CTitrationView::PageContextMenu()
{
    return {
        {cmd::kTitrationSet, QStringLiteral("&Modify pK set...")},
        {0, {}},
        {cmd::kCopy, QStringLiteral("&Copy")},
        {cmd::kCopyTable, QStringLiteral("Copy &Table")},
    };
}

} // namespace quorin::plots::ui
