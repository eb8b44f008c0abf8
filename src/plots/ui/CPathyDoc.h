#pragma once

#include "plots/HydropathyPage.h"
#include "plots/ui/PageDocument.h"
#include "plots/ui/PageView.h"

#include <QRect>

#include <functional>

namespace quorin::plots::ui {

/// The hydropathy plot's document: the page of the record's hydropathy plot
/// settings, and the commands that change them.
class CPathyDoc : public PageDocument
{
    Q_OBJECT

public:
    /// Takes the pending request (stretch, window, threshold) into the plot
    /// settings and clears it, switches mark labels and helix bars on and
    /// selects nothing. lineWidth gives the "Line Width" setting; it is read
    /// now and again before every drawing.
    CPathyDoc(core::PropertyRecord& record, std::function<int()> lineWidth,
              QObject* parent = nullptr);
    /// The same with a fixed line width.
    CPathyDoc(core::PropertyRecord& record, int lineWidth, QObject* parent = nullptr);

    HydropathyPage& Page() { return m_page; }
    core::HydropathyPlotSettings& Settings() { return m_page.Settings(); }

    PageSource Source() override;
    QString PrintJobName() const override;
    int TextItemAt(QPoint point) const override;
    int MarkAt(QPoint point) const override;
    bool LabelsMarks() const override;
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

private:
    /// Stretch, window and threshold from the pending request, which is
    /// cleared.
    void takePendingRequest();
    void takeLineWidth();

    HydropathyPage m_page;
    std::function<int()> m_lineWidth;
};

/// The hydropathy plot's view: starts the page with the four legend items,
/// shows the caption, selects stretches with a rubber band (zoom, or a
/// helical wheel in the wheel mode) and reports the residue under the
/// pointer in the status bar.
class CPathyView : public PageView
{
    Q_OBJECT

public:
    explicit CPathyView(CPathyDoc& document, QWidget* parent = nullptr);

    CPathyDoc& PathyDocument() { return m_pathy; }
    /// The rubber band of a stretch selection in page units; empty when none.
    QRect RubberBand() const { return m_band; }

    std::optional<core::ui::CommandState> CommandStateOf(int id) override;
    bool OnCommand(int id) override;

protected:
    bool SelectsStretches() const override { return true; }
    bool StretchPress(QPoint page) override;
    void StretchMove(QPoint page) override;
    void StretchRelease(QPoint page) override;
    void Hover(QPoint page) override;
    void BeforeDraw() override;
    void BeforePrint() override;
    void DrawOverlay(QPainter& painter) override;
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
    int m_dragStartX = 0; ///< page units; 0: no stretch selection
    QRect m_band;
    CheckedStretch m_checked;
    bool m_checkPending = false;
};

} // namespace quorin::plots::ui
