#pragma once

#include "analysis/ui/PhysChemPage.h"
#include "core/ui/CommandTarget.h"

#include <QPointer>
#include <QScrollArea>

#include <memory>

class QPrinter;

namespace quorin::core::ui {
class CPeptideDoc;
}

namespace quorin::analysis::ui {

/// The physico-chemical properties of the document's whole sequence as a
/// page: isoelectric point, molecular weight, absorption coefficients and the
/// composition. Copy shows the report text in CTempDialog; Print prints the
/// page with a "page N" header.
class CPhysChemView : public QScrollArea, public core::ui::CommandTarget
{
    Q_OBJECT

public:
    explicit CPhysChemView(core::ui::CPeptideDoc& document, QWidget* parent = nullptr);
    /// Clears the document's physico-chemical-window flag.
    ~CPhysChemView() override;

    /// The report text that Copy shows (lines end with CR LF).
    QString ReportText() const;

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
    QWidget* m_canvas = nullptr;
};

} // namespace quorin::analysis::ui
