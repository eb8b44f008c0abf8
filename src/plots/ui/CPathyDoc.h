#pragma once

#include "plots/HydropathyPage.h"
#include "plots/ui/PageDocument.h"

namespace quorin::plots::ui {

/// The hydropathy plot's document: the page of the record's hydropathy plot
/// settings, and the commands that change them.
class CPathyDoc : public PageDocument
{
    Q_OBJECT

public:
    /// Starts the plot (StartHydropathyPlot) from request. lineWidth is the
    /// "Line Width" setting in points.
    CPathyDoc(core::PropertyRecord& record, const PendingPlotRequest& request, int lineWidth,
              QObject* parent = nullptr);

    HydropathyPage& Page() { return m_page; }
    core::HydropathyPlotSettings& Settings() { return m_page.Settings(); }

    PageSource Source() override;
    QString PrintJobName() const override;
    int TextItemAt(QPoint point) const override;
    int MarkAt(QPoint point) const override;
    bool LabelsMarks() const override;

    /// A new "Line Width" setting, in points: the curve and the mark arrows
    /// are drawn with it from now on.
    void SetLineWidth(int lineWidth);
    void ToggleLabelMarks() override;

    /// "Hydropathy Plot of residues 1-262 of name".
    QString Caption() const;

    /// "&Transmembrane prediction", "&Resize to 100%".
    void ToggleTransmembrane();
    void ResizeToFull();

    /// "&Modify displayed part of sequence...": CPathyDialog filled from the
    /// plot settings; OK copies stretch, window and threshold back and
    /// redraws. Returns whether it was confirmed.
    bool ModifyDisplayedPart(QWidget* parent);

    /// "&Export hydropathy data...": a file name, the overwrite question, the
    /// delimiter, then the curve values as text. The file is written only
    /// after the delimiter was chosen, so cancelling leaves a file that was
    /// there as it was.
    void ExportData(QWidget* parent);

    /// Whether the displayed stretch no longer suits the sequence: its end
    /// lies past the last position (the sequence was shortened) or, on
    /// screen, it holds fewer residues than the window.
    bool StretchNeedsDialog() const;

protected:
    void RefreshPage() override;

private:
    HydropathyPage m_page;
};

} // namespace quorin::plots::ui
