#pragma once

#include "plots/ui/CAmphyDoc.h"
#include "plots/ui/ChartView.h"

namespace quorin::plots::ui {

/// The amphipathy moment plot's view: shows the caption, zooms to a dragged
/// stretch in the select mode and opens a helical wheel for it in the wheel
/// mode.
class CAmphyView : public ChartView
{
    Q_OBJECT

public:
    explicit CAmphyView(CAmphyDoc& document, QWidget* parent = nullptr);

    CAmphyDoc& AmphyDocument() { return m_amphy; }

    std::optional<core::ui::CommandState> CommandStateOf(int id) override;
    bool OnCommand(int id) override;

protected:
    int ResidueAtX(int x) const override;
    void ZoomTo(int from, int to) override;
    std::vector<ContextEntry> PageContextMenu() override;

private:
    CAmphyDoc& m_amphy;
};

} // namespace quorin::plots::ui
