#pragma once

#include "plots/SketchPage.h"
#include "plots/ui/PageDocument.h"

namespace quorin::plots::ui {

/// The domain sketch's document: the page of the record's sketch block, the
/// selected domain beside the selected mark or text item, and the commands
/// that change the domains and the scale. The sketch itself lives in the
/// record, so that it is saved with the sequence.
class CSchemeDoc : public PageDocument
{
    Q_OBJECT

public:
    /// Takes the record's sketch as it is (the launcher starts a new one
    /// first); lineWidth is the "Line Width" setting in points. A mark or
    /// text item the file stored as selected is selected again.
    CSchemeDoc(core::PropertyRecord& record, int lineWidth, QObject* parent = nullptr);

    SketchPage& Page() { return m_page; }
    core::SketchData& Sketch() { return m_page.Sketch(); }

    PageSource Source() override;
    QString PrintJobName() const override;
    int TextItemAt(QPoint point) const override;
    int MarkAt(QPoint point) const override;
    int DomainAt(QPoint point) const;
    bool LabelsMarks() const override;
    void ToggleLabelMarks() override;

    int SelectedDomain() const { return m_page.SelectedDomain(); }
    /// Selects a domain and deselects marks and text items.
    void SelectDomain(int index);
    bool HasSelection() override;
    void ClearSelection() override;
    /// Deletes the selected text item, else the selected mark, else the
    /// selected domain, and clears the selection.
    void DeleteSelected() override;

    /// A new "Line Width" setting, in points.
    void SetLineWidth(int lineWidth);

    /// "Sketch of domains of name".
    QString Caption() const;

    /// "&Modify domain structure..." / "&Properties...": the structure
    /// dialog on the current scale; OK stores the scale. Domain edits stay
    /// either way. Returns whether it was confirmed.
    bool ModifyStructure(QWidget* parent);
    /// "Domain &Properties...": the domain dialog on a domain.
    void EditDomain(int index, QWidget* parent);
    /// "&Add Domain...": the domain dialog for a new domain, appended on OK.
    void AddDomain(QWidget* parent);

protected:
    void RefreshPage() override;

private:
    struct StoredSelection
    {
        int text = -1;
        int mark = -1;
    };
    CSchemeDoc(core::PropertyRecord& record, int lineWidth, StoredSelection stored,
               QObject* parent);
    static StoredSelection storedSelection(const core::SketchData& sketch);

    SketchPage m_page;
};

} // namespace quorin::plots::ui
