#include "plots/ui/CAmphyDoc.h"

#include "core/ui/QtText.h"
#include "plots/Hydropathy.h"
#include "plots/ui/CAmphyDialog.h"
#include "plots/ui/PagePainter.h"
#include "plots/ui/PlotDialogs.h"

namespace quorin::plots::ui {

CAmphyDoc::CAmphyDoc(core::PropertyRecord& record, const PendingPlotRequest& request, int lineWidth,
                     QObject* parent)
    : PageDocument(record, parent), m_page(record)
{
    Plot().lineWidth = lineWidth;
    take(request);
}

void CAmphyDoc::take(const PendingPlotRequest& request)
{
    AmphipathyPlot& plot = Plot();
    plot.from = request.from;
    plot.to = request.to;
    plot.window = request.window;
}

PageSource CAmphyDoc::Source()
{
    return AmphipathyPageSource(m_page);
}

QString CAmphyDoc::PrintJobName() const
{
    return core::ui::ToQString(kAmphyPageTitle);
}

void CAmphyDoc::SetLineWidth(int lineWidth)
{
    if (Plot().lineWidth == lineWidth) {
        return;
    }
    Plot().lineWidth = lineWidth;
    Changed();
}

QString CAmphyDoc::Caption() const
{
    return core::ui::ToQString(m_page.Caption());
}

void CAmphyDoc::ResizeToFull()
{
    Plot().from = 1;
    Plot().to = PositionCount();
    Changed();
}

bool CAmphyDoc::ModifyDisplayedPart(QWidget* parent)
{
    const AmphipathyPlot& plot = Plot();
    CAmphyDialog dialog(Record(), PendingPlotRequest{plot.from, plot.to, plot.window, 0.0}, parent);
    if (Choosers().run(dialog) != QDialog::Accepted) {
        return false;
    }
    take(dialog.Request());
    Changed();
    return true;
}

} // namespace quorin::plots::ui
