#pragma once

#include "plots/ui/CWheelDoc.h"
#include "plots/ui/PageView.h"

namespace quorin::plots::ui {

/// The helical wheel's view: the page at trunc(zoom x 500) pixels, the
/// wheel's commands and its context menu; the caption names the stretch.
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
    std::vector<ContextEntry> PageContextMenu() override;

private:
    CWheelDoc& m_wheel;
};

} // namespace quorin::plots::ui
