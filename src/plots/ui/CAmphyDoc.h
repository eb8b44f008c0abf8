#pragma once

#include "plots/AmphipathyPage.h"
#include "plots/Hydropathy.h"
#include "plots/ui/PageDocument.h"

namespace quorin::plots::ui {

/// The amphipathy moment plot's document: the page of one sequence with the
/// stretch and window it shows. The page carries no marks or text items.
class CAmphyDoc : public PageDocument
{
    Q_OBJECT

public:
    /// Takes stretch and window from request. lineWidth is the "Line Width"
    /// setting in points.
    CAmphyDoc(core::PropertyRecord& record, const PendingPlotRequest& request, int lineWidth,
              QObject* parent = nullptr);

    AmphipathyPage& Page() { return m_page; }
    const AmphipathyPage& Page() const { return m_page; }
    AmphipathyPlot& Plot() { return m_page.Plot(); }

    PageSource Source() override;
    QString PrintJobName() const override;
    bool CarriesItems() const override { return false; }
    int TextItemAt(QPoint) const override { return -1; }
    int MarkAt(QPoint) const override { return -1; }

    /// A new "Line Width" setting, in points, for the curve.
    void SetLineWidth(int lineWidth);

    /// "Plot of Amphipathy Moment of residues 1-262 of name".
    QString Caption() const;

    /// "&Resize to 100%": the whole sequence.
    void ResizeToFull();

    /// "&Modify displayed part of sequence...": CAmphyDialog filled from the
    /// plot; OK takes stretch and window and redraws. Returns whether it was
    /// confirmed.
    bool ModifyDisplayedPart(QWidget* parent);

private:
    /// Stretch and window from request.
    void take(const PendingPlotRequest& request);

    AmphipathyPage m_page;
};

} // namespace quorin::plots::ui
