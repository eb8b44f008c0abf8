#include "analysis/ui/CPhysChemView.h"

#include "analysis/ParameterSheet.h"
#include "analysis/PhysChem.h"
#include "analysis/ui/ParameterSheetPane.h"
#include "core/CommandIds.h"
#include "core/ui/CPeptideDoc.h"
#include "core/ui/CTempDialog.h"
#include "core/ui/Printing.h"
#include "core/ui/QtText.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPrinter>
#include <QScrollArea>

namespace quorin::analysis::ui {
namespace {

/// The page on screen; its height follows the lines the width allows.
class PageCanvas : public QWidget
{
public:
    PageCanvas(const std::unique_ptr<PhysChemPage>& page, QWidget* parent)
        : QWidget(parent), m_page(page)
    {
        setObjectName(QStringLiteral("physChemPage"));
        setBackgroundRole(QPalette::Base);
        setAutoFillBackground(true);
        QPalette white = palette();
        white.setColor(QPalette::Base, Qt::white);
        setPalette(white);
    }

    /// As tall as the lines the width allows, and at least as wide as the title.
    void fitHeight()
    {
        const PhysChemLayout layout = m_page->ScreenLayout(this, layoutWidth());
        setMinimumHeight(heightAt(layoutWidth()));
        setMinimumWidth(2 * layout.left + m_page->TitleWidth(layout, this));
    }

    /// The page's height when its rows are laid out width wide.
    int heightAt(int width)
    {
        const PhysChemLayout layout = m_page->ScreenLayout(this, width);
        return kTop * 2 + m_page->LineCount(layout) * layout.lineHeight;
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const PhysChemLayout layout = m_page->ScreenLayout(this, layoutWidth());
        const int lines = m_page->LineCount(layout);
        for (int line = 0; line < lines; ++line) {
            m_page->DrawLine(painter, layout, line, kTop + line * layout.lineHeight);
        }
    }

    void resizeEvent(QResizeEvent* event) override
    {
        QWidget::resizeEvent(event);
        fitHeight();
    }

private:
    /// The rows of entries follow the visible width, not a long title's.
    int layoutWidth() const
    {
        const QWidget* viewport = parentWidget();
        return viewport != nullptr ? std::min(width(), viewport->width()) : width();
    }

    static constexpr int kTop = 6;
    const std::unique_ptr<PhysChemPage>& m_page;
};

/// The report page: as large as the whole page, so that the tabs around it
/// ask for room to show all of it.
class ReportScroll : public QScrollArea
{
public:
    QSize sizeHint() const override
    {
        auto* canvas = static_cast<PageCanvas*>(widget());
        if (canvas == nullptr) {
            return QScrollArea::sizeHint();
        }
        const int width = canvas->minimumWidth();
        return QSize(width, canvas->heightAt(width)) + QSize(2 * frameWidth(), 2 * frameWidth());
    }
};

} // namespace

CPhysChemView::CPhysChemView(core::ui::CPeptideDoc& document, QWidget* parent)
    : QTabWidget(parent), m_document(&document)
{
    setObjectName(QStringLiteral("CPhysChemView"));
    setDocumentMode(true);
    m_report = new ReportScroll;
    m_report->setObjectName(QStringLiteral("propertiesPage"));
    m_sheet = new ParameterSheetPane;
    connect(m_sheet, &ParameterSheetPane::copyRequested, this,
            [this] { core::ui::CopyReport(SheetText(), this); });
    rebuild();
    m_canvas = new PageCanvas(m_page, m_report);
    m_report->setWidget(m_canvas);
    m_report->setWidgetResizable(true);
    addTab(m_report, QStringLiteral("Properties"));
    addTab(m_sheet, QStringLiteral("Parameter sheet"));
    static_cast<PageCanvas*>(m_canvas)->fitHeight();
    connect(&document, &core::ui::CPeptideDoc::viewsNeedUpdate, this, [this] {
        rebuild();
        static_cast<PageCanvas*>(m_canvas)->fitHeight();
        m_canvas->update();
    });
}

CPhysChemView::~CPhysChemView() = default;

QSize CPhysChemView::sizeHint() const
{
    return QTabWidget::sizeHint();
}

void CPhysChemView::rebuild()
{
    if (m_document) {
        m_page = std::make_unique<PhysChemPage>(m_document->Record());
        m_sheet->Show(ComputeParameterSheet(m_document->Record()));
    }
}

QString CPhysChemView::ReportText() const
{
    if (!m_document) {
        return {};
    }
    return core::ui::ToQString(PhysChemReportText(m_document->Record()));
}

QString CPhysChemView::SheetText() const
{
    if (!m_document) {
        return {};
    }
    return core::ui::ToQString(ParameterSheetText(ComputeParameterSheet(m_document->Record())));
}

int CPhysChemView::Print(QPrinter& printer)
{
    printer.setDocName(QStringLiteral("Physico-chemical Properties"));
    return core::ui::PrintTextPages(
        printer, PhysChemPage::PageFont(1.0), [&](core::ui::TextPagePrinter& pages) {
            const PhysChemLayout layout = m_page->PrinterLayout(&printer, pages.Geometry().width);
            const int lines = m_page->LineCount(layout);
            for (int line = 0; line < lines; ++line) {
                m_page->DrawLine(pages.Painter(), layout, line, *pages.NextRow());
            }
        });
}

std::optional<core::ui::CommandState> CPhysChemView::CommandStateOf(int id)
{
    switch (id) {
    case core::cmd::kCopy:
    case core::cmd::kPrint:
        return core::ui::CommandState{};
    default:
        return std::nullopt;
    }
}

bool CPhysChemView::OnCommand(int id)
{
    switch (id) {
    case core::cmd::kCopy:
        core::ui::CopyReport(currentIndex() == kSheetPage ? SheetText() : ReportText(), this);
        return true;
    case core::cmd::kPrint:
        core::ui::AskAndPrint(QStringLiteral("Physico-chemical Properties"),
                              [this](QPrinter& printer) { return Print(printer); });
        return true;
    default:
        return false;
    }
}

} // namespace quorin::analysis::ui
