#pragma once

#include "analysis/ui/PhysChemPage.h"
#include "core/ui/CommandTarget.h"

#include <QPointer>
#include <QTabWidget>

#include <memory>

class QPrinter;
class QScrollArea;

namespace quorin::core::ui {
class CPeptideDoc;
}

namespace quorin::analysis::ui {

class ParameterSheetPane;

/// The physico-chemical properties of the document's whole sequence on two
/// pages: the report page (isoelectric point, molecular weight, absorption
/// coefficients and the composition) and the parameter sheet. Copy shows the
/// text of the page on top in CTempDialog (the report, or the sheet as
/// `quorin-cli params` writes it); Print prints the report page with a
/// "page N" header.
class CPhysChemView : public QTabWidget, public core::ui::CommandTarget
{
    Q_OBJECT

public:
    explicit CPhysChemView(core::ui::CPeptideDoc& document, QWidget* parent = nullptr);
    /// Clears the document's physico-chemical-window flag.
    ~CPhysChemView() override;

    /// The report text that Copy shows (lines end with CR LF).
    QString ReportText() const;

    /// The parameter sheet's text that Copy shows on its page (lines end
    /// with LF).
    QString SheetText() const;

    /// The page index of the parameter sheet.
    static constexpr int kSheetPage = 1;

    /// Prints the page on printer, starting a new page whenever the lines of
    /// one are used up. Returns the number of pages.
    int Print(QPrinter& printer);

    /// The page as it is drawn now.
    const PhysChemPage& Page() const { return *m_page; }

    /// The whole page at the width of its title: a window opens as large as
    /// this where it has room.
    QSize sizeHint() const override;

    std::optional<core::ui::CommandState> CommandStateOf(int id) override;
    bool OnCommand(int id) override;

private:
    void rebuild();

    QPointer<core::ui::CPeptideDoc> m_document;
    std::unique_ptr<PhysChemPage> m_page;
    QScrollArea* m_report = nullptr;
    QWidget* m_canvas = nullptr;
    ParameterSheetPane* m_sheet = nullptr;
};

} // namespace quorin::analysis::ui
