#pragma once

#include "core/PropertyRecord.h"
#include "plots/Page.h"
#include "plots/PageSelection.h"
#include "plots/ui/PageOutput.h"

#include <QObject>
#include <QPoint>

namespace quorin::plots::ui {

/// What every page document shares: a link to its settings block in the
/// sequence's property record (marks and text items live there), the
/// selection, and the drawing of its page for any target. Every change ends
/// with Changed(), which refreshes the page (RefreshPage) and redraws the
/// page's views; drawing itself leaves the record alone.
class PageDocument : public QObject
{
    Q_OBJECT

public:
    PageDocument(core::PropertyRecord& record, std::vector<core::MARK>& marks,
                 std::vector<core::TEXTITEM>& texts, QObject* parent = nullptr);
    /// A page without marks and text items (CarriesItems false): its item
    /// lists are empty ones nothing ever adds to.
    explicit PageDocument(core::PropertyRecord& record, QObject* parent = nullptr);

    core::PropertyRecord& Record() { return m_record; }
    PageSelection& Selection() { return m_selection; }
    const std::vector<core::MARK>& Marks() const { return m_marks; }
    const std::vector<core::TEXTITEM>& Texts() const { return m_texts; }

    /// The page for the outputs: size, title, layouts and the drawing.
    virtual PageSource Source() = 0;
    /// The name of the print job.
    virtual QString PrintJobName() const = 0;
    /// The last valid position a mark may take.
    virtual int PositionCount() const;

    /// Pages without marks and text items (the amphipathy plot, the wheel)
    /// return false: their views offer no item commands.
    virtual bool CarriesItems() const { return true; }
    /// The label-marks flag of the page's settings, and "&Label marks".
    virtual bool LabelsMarks() const { return false; }
    virtual void ToggleLabelMarks() {}

    /// The items under a point of the screen page (page units), as the last
    /// refresh (Changed) placed them; -1 for none.
    virtual int TextItemAt(QPoint point) const = 0;
    virtual int MarkAt(QPoint point) const = 0;

    /// Whether an item is selected; pages with items of their own (the
    /// sketch's domains) count theirs too.
    virtual bool HasSelection() { return m_selection.HasSelection(); }
    /// Deselects every item.
    virtual void ClearSelection() { m_selection.ClearSelection(); }
    /// Deletes the selected text item, else the selected mark.
    virtual void DeleteSelected();
    void DeleteAllMarks();

    /// Refreshes the page, then tells the views to redraw.
    void Changed();

signals:
    void changed();

protected:
    /// Brings what the record keeps for the page (legend texts, text item
    /// extents) and the hit-test places up to date with the record.
    virtual void RefreshPage() {}

private:
    core::PropertyRecord& m_record;
    std::vector<core::MARK>& m_marks;
    std::vector<core::TEXTITEM>& m_texts;
    PageSelection m_selection;
};

} // namespace quorin::plots::ui
