#pragma once

#include "plots/HydropathyPage.h"
#include "plots/ui/PageDocument.h"
#include "plots/ui/PageView.h"

namespace quorin::plots::ui {

/// The hydropathy plot's document: the page of the record's hydropathy plot
/// settings.
class CPathyDoc : public PageDocument
{
    Q_OBJECT

public:
    /// Takes the pending request (stretch, window, threshold) into the plot
    /// settings and clears it, switches mark labels and helix bars on, takes
    /// the line width and selects nothing.
    CPathyDoc(core::PropertyRecord& record, int lineWidth, QObject* parent = nullptr);

    HydropathyPage& Page() { return m_page; }

    PageSource Source() override;
    QString PrintJobName() const override;
    int TextItemAt(QPoint point) const override;
    int MarkAt(QPoint point) const override;

    /// "Hydropathy Plot of residues 1-262 of name".
    QString Caption() const;

    /// The "Line Width" setting, taken again before each drawing.
    void SetLineWidth(int lineWidth);

    /// "&Label marks", "&Transmembrane prediction", "&Resize to 100%".
    void ToggleLabelMarks();
    void ToggleTransmembrane();
    void ResizeToFull();

private:
    HydropathyPage m_page;
};

/// The hydropathy plot's view: starts the page with the four legend items.
class CPathyView : public PageView
{
    Q_OBJECT

public:
    explicit CPathyView(CPathyDoc& document, QWidget* parent = nullptr);
};

} // namespace quorin::plots::ui
