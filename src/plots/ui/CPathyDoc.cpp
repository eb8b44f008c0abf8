#include "plots/ui/CPathyDoc.h"

#include "plots/Hydropathy.h"
#include "plots/ui/PageFonts.h"
#include "plots/ui/PagePainter.h"

namespace quorin::plots::ui {

CPathyDoc::CPathyDoc(core::PropertyRecord& record, int lineWidth, QObject* parent)
    : PageDocument(record, record.plots.pathy.marks, record.plots.pathy.texts, parent),
      m_page(record)
{
    core::HydropathyPlotSettings& settings = record.plots.pathy;
    PendingPlotRequest& request = PendingRequest();
    settings.from = request.from;
    settings.to = request.to;
    settings.window = request.window;
    settings.threshold = request.threshold;
    request = PendingPlotRequest{};
    settings.labelMarks = 1;
    settings.helixDisplay = 1;
    settings.lineWidth = lineWidth;
    Items().ClearSelection();
}

PageSource CPathyDoc::Source()
{
    return HydropathyPageSource(m_page);
}

QString CPathyDoc::PrintJobName() const
{
    return ToQString(kPathyPageTitle);
}

int CPathyDoc::TextItemAt(QPoint point) const
{
    return m_page.TextItemAt({point.x(), point.y()});
}

int CPathyDoc::MarkAt(QPoint point) const
{
    return m_page.MarkAt({point.x(), point.y()});
}

QString CPathyDoc::Caption() const
{
    return ToQString(m_page.Caption());
}

void CPathyDoc::SetLineWidth(int lineWidth)
{
    m_page.Settings().lineWidth = lineWidth;
}

void CPathyDoc::ToggleLabelMarks()
{
    std::uint8_t& flag = m_page.Settings().labelMarks;
    flag = flag != 0 ? 0 : 1;
    Changed();
}

void CPathyDoc::ToggleTransmembrane()
{
    int& flag = m_page.Settings().helixDisplay;
    flag = flag != 0 ? 0 : 1;
    Changed();
}

void CPathyDoc::ResizeToFull()
{
    m_page.Settings().from = 1;
    m_page.Settings().to = PositionCount();
    Changed();
}

CPathyView::CPathyView(CPathyDoc& document, QWidget* parent) : PageView(document, parent)
{
    document.Page().Settings().texts = LegendItems();
    document.Items().ClearSelection();
    setWindowTitle(document.Caption());
    connect(&document, &PageDocument::changed, this,
            [this, &document] { setWindowTitle(document.Caption()); });
}

} // namespace quorin::plots::ui
