#pragma once

#include "plots/ui/CWheelDoc.h"
#include "plots/ui/PageView.h"

namespace quorin::plots::ui {

/// The helical wheel's view: the page at trunc(zoom x 500) pixels, in the
/// middle of a larger view, zoomed about the wheel's centre; the wheel's
/// commands and its context menu; the caption names the stretch.
class CWheelView : public PageView
{
    Q_OBJECT

public:
    explicit CWheelView(CWheelDoc& document, QWidget* parent = nullptr);

    CWheelDoc& WheelDocument() { return m_wheel; }

    std::optional<core::ui::CommandState> CommandStateOf(int id) override;
    bool OnCommand(int id) override;

protected:
    QSize ShownPageSize() const override;
    bool CentresPage() const override { return true; }
    std::vector<ContextEntry> PageContextMenu() override;

private:
    /// After a zoom: scrolls so that the wheel's centre stays where it was
    /// shown, as far as the scroll range allows.
    void keepCentre(QPoint shownCentre);

    CWheelDoc& m_wheel;
    int m_shownSide = 0; ///< the page's side at the last change, device units
};

} // namespace quorin::plots::ui
