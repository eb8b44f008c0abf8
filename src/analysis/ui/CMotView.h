#pragma once

#include "analysis/ui/CReportView.h"

namespace quorin::analysis::ui {

/// The last motif search of the document as a page: the motifs and the list
/// of sites, by sequence position (at first) or motif by motif. The title and
/// the two headings are red; the headings and the column header are
/// underlined, the title's row of "*" stays on the page.
class CMotView : public CReportView
{
    Q_OBJECT

public:
    explicit CMotView(core::ui::CPeptideDoc& document, QWidget* parent = nullptr);

    bool ByPosition() const { return m_byPosition; }

    std::optional<core::ui::CommandState> CommandStateOf(int id) override;
    bool OnCommand(int id) override;

    /// The motif page's look.
    static ReportPageStyle Style();

protected:
    std::string MakeReport(const core::ui::CPeptideDoc& document) const override;

private:
    void setOrder(bool byPosition);

    bool m_byPosition = true;
};

} // namespace quorin::analysis::ui
