#pragma once

#include "plots/ui/CSchemeDoc.h"
#include "plots/ui/PageView.h"

namespace quorin::plots::ui {

/// The domain sketch's view: the page machinery of every page, plus the
/// domains as items of their own (selected, edited by a double click,
/// deleted), the sketch's commands and its four context menus: over a text
/// item, a domain, a mark, and elsewhere, tried in that order.
class CSchemeView : public PageView
{
    Q_OBJECT

public:
    explicit CSchemeView(CSchemeDoc& document, QWidget* parent = nullptr);

    CSchemeDoc& SchemeDocument() { return m_scheme; }

    std::optional<core::ui::CommandState> CommandStateOf(int id) override;
    bool OnCommand(int id) override;

protected:
    std::vector<ContextEntry> PageContextMenu() override;
    bool SelectOwnItemAt(QPoint page) override;
    bool EditOwnItemAt(QPoint page) override;
    std::vector<ContextEntry> OwnItemMenuAt(QPoint page) override;

private:
    CSchemeDoc& m_scheme;
};

} // namespace quorin::plots::ui
