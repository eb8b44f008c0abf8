#pragma once

#include "plots/ui/CTitrationDoc.h"
#include "plots/ui/PageView.h"

namespace quorin::plots::ui {

/// The titration curve's view: the page, its caption, "Copy &Table" and
/// "&Modify pK set..." besides the page commands.
class CTitrationView : public PageView
{
    Q_OBJECT

public:
    explicit CTitrationView(CTitrationDoc& document, QWidget* parent = nullptr);

    CTitrationDoc& TitrationDocument() { return m_titration; }

    std::optional<core::ui::CommandState> CommandStateOf(int id) override;
    bool OnCommand(int id) override;

protected:
    std::vector<ContextEntry> PageContextMenu() override;

private:
    CTitrationDoc& m_titration;
};

} // namespace quorin::plots::ui
