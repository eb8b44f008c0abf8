#pragma once

#include "plots/TitrationPage.h"
#include "plots/ui/PageDocument.h"

namespace quorin::plots::ui {

/// The titration curve's document: the page of one sequence under one pK
/// set, or under several compared. The page carries no marks or text items.
class CTitrationDoc : public PageDocument
{
    Q_OBJECT

public:
    /// lineWidth is the "Line Width" setting in points.
    CTitrationDoc(core::PropertyRecord& record, analysis::PKaSet set, int lineWidth,
                  QObject* parent = nullptr);

    const TitrationPage& Page() const { return m_page; }
    analysis::PKaSet Set() const { return m_page.Set(); }
    /// Every set drawn, the page's own first.
    const std::vector<analysis::PKaSet>& Sets() const { return m_page.Sets(); }
    /// Draws the curves of sets, the first the page's own.
    void SetSets(const std::vector<analysis::PKaSet>& sets);

    PageSource Source() override;
    QString PrintJobName() const override;
    bool CarriesItems() const override { return false; }
    int TextItemAt(QPoint) const override { return -1; }
    int MarkAt(QPoint) const override { return -1; }

    /// A new "Line Width" setting, in points, for the curve.
    void SetLineWidth(int lineWidth);

    /// "Titration Curve (pK set: EMBOSS) of name".
    QString Caption() const;

    /// The table as the command line's `titration` writes it, CR LF and all.
    QString Table() const;
    /// "Copy &Table": the table on the clipboard as text.
    void CopyTable() const;

    /// "&Modify pK set...": CTitrationDialog on the current sets; OK draws
    /// the curves of the chosen ones. Returns whether it was confirmed.
    bool ModifySet(QWidget* parent);

private:
    TitrationPage m_page;
};

} // namespace quorin::plots::ui
