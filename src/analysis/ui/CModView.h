#pragma once

#include "analysis/ui/CReportView.h"

namespace quorin::analysis::ui {

/// The ModFinder window: the report of the document's last ModFinder search
/// as a page in the system fixed font, the title and the section headings in
/// red and underlined (the title twice). "&Complete digest" keeps only the
/// matches on fragments without a missed cleavage.
class CModView : public CReportView
{
    Q_OBJECT

public:
    explicit CModView(core::ui::CPeptideDoc& document, QWidget* parent = nullptr);

    bool CompleteOnly() const { return m_completeOnly; }

    std::optional<core::ui::CommandState> CommandStateOf(int id) override;
    bool OnCommand(int id) override;

    /// The ModFinder page's look.
    static ReportPageStyle Style();

protected:
    std::string MakeReport(const core::ui::CPeptideDoc& document) const override;

private:
    bool m_completeOnly = false;
};

} // namespace quorin::analysis::ui
