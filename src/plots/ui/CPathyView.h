#pragma once

#include "plots/ui/CPathyDoc.h"
#include "plots/ui/ChartView.h"

namespace quorin::plots::ui {

/// The hydropathy plot's view: shows the caption, selects stretches with a rubber band (zoom, or a
/// helical wheel in the wheel mode) and reports the residue under the
/// pointer in the status bar.
class CPathyView : public ChartView
{
    Q_OBJECT

public:
    explicit CPathyView(CPathyDoc& document, QWidget* parent = nullptr);

    CPathyDoc& PathyDocument() { return m_pathy; }

    std::optional<core::ui::CommandState> CommandStateOf(int id) override;
    bool OnCommand(int id) override;

protected:
    int ResidueAtX(int x) const override;
    void ZoomTo(int from, int to) override;
    void BeforeDraw() override;
    void BeforePrint() override;
    std::vector<ContextEntry> PageContextMenu() override;

private:
    /// What the stretch check last looked at, so that a stretch the user let
    /// stand is not asked about again at every paint.
    struct CheckedStretch
    {
        int from = 0;
        int to = 0;
        int window = 0;
        int positions = 0;
        friend bool operator==(const CheckedStretch&, const CheckedStretch&) = default;
    };
    CheckedStretch currentStretch() const;
    void checkStretch();

    CPathyDoc& m_pathy;
    CheckedStretch m_checked;
    bool m_checkPending = false;
};

} // namespace quorin::plots::ui
