#pragma once

#include "plots/ui/PageView.h"

#include <QRect>

namespace quorin::plots::ui {

/// The view of a frame chart (the hydropathy and amphipathy plots): a press
/// beside the items starts a stretch selection with a rubber band over the
/// frame; the release zooms to the stretch in the select mode or opens a
/// helical wheel for it in the wheel mode. The status bar shows the residue
/// under the pointer.
class ChartView : public PageView
{
    Q_OBJECT

public:
    using PageView::PageView;

    /// The rubber band of a stretch selection in page units; empty when none.
    QRect RubberBand() const { return m_band; }

protected:
    bool SelectsStretches() const override { return true; }
    bool StretchPress(QPoint page) override;
    void StretchMove(QPoint page) override;
    void StretchRelease(QPoint page) override;
    void Hover(QPoint page) override;
    void DrawOverlay(QPainter& painter) override;

    /// The residue of the displayed stretch under a page x.
    virtual int ResidueAtX(int x) const = 0;
    /// Shows from..to (from < to); the document redraws afterwards.
    virtual void ZoomTo(int from, int to) = 0;

private:
    int m_dragStartX = 0; ///< page units; 0: no stretch selection
    QRect m_band;
};

} // namespace quorin::plots::ui
