#include "plots/ui/CPathyDoc.h"

#include "core/FileIo.h"
#include "core/MessageTexts.h"
#include "core/ui/Messages.h"
#include "core/ui/QtText.h"
#include "plots/Hydropathy.h"
#include "plots/ui/CExportDialog.h"
#include "plots/ui/CPathyDialog.h"
#include "plots/ui/PagePainter.h"
#include "plots/ui/PlotDialogs.h"

#include <QDir>

#include <algorithm>
#include <filesystem>

namespace quorin::plots::ui {

using core::ui::ToQString;

CPathyDoc::CPathyDoc(core::PropertyRecord& record, const PendingPlotRequest& request, int lineWidth,
                     QObject* parent)
    : PageDocument(record, record.plots.pathy.marks, record.plots.pathy.texts, parent),
      m_page(record)
{
    StartHydropathyPlot(record, request, lineWidth);
    m_page.SetShowsTopology(request.topology);
    RefreshHydropathyPage(m_page);
}

void CPathyDoc::RefreshPage()
{
    RefreshHydropathyPage(m_page);
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

bool CPathyDoc::LabelsMarks() const
{
    return m_page.Settings().labelMarks != 0;
}

void CPathyDoc::SetLineWidth(int lineWidth)
{
    if (Settings().lineWidth == lineWidth) {
        return;
    }
    Settings().lineWidth = lineWidth;
    Changed();
}

void CPathyDoc::ToggleLabelMarks()
{
    std::uint8_t& flag = Settings().labelMarks;
    flag = flag != 0 ? 0 : 1;
    Changed();
}

QString CPathyDoc::Caption() const
{
    return ToQString(m_page.Caption());
}

void CPathyDoc::ToggleTransmembrane()
{
    int& flag = Settings().helixDisplay;
    flag = flag != 0 ? 0 : 1;
    Changed();
}

void CPathyDoc::ResizeToFull()
{
    Settings().from = 1;
    Settings().to = PositionCount();
    Changed();
}

bool CPathyDoc::StretchNeedsDialog() const
{
    const core::HydropathyPlotSettings& settings = m_page.Settings();
    return settings.to > plots::PositionCount(m_page.Record()) ||
           settings.to - settings.from + 1 < settings.window;
}

bool CPathyDoc::ModifyDisplayedPart(QWidget* parent)
{
    core::HydropathyPlotSettings& settings = Settings();
    CPathyDialog dialog(Record(),
                        PendingPlotRequest{settings.from, settings.to, settings.window,
                                           settings.threshold, m_page.ShowsTopology()},
                        parent);
    if (Choosers().run(dialog) != QDialog::Accepted) {
        return false;
    }
    const PendingPlotRequest& chosen = dialog.Request();
    settings.from = chosen.from;
    settings.to = chosen.to;
    settings.window = chosen.window;
    settings.threshold = chosen.threshold;
    m_page.SetShowsTopology(chosen.topology);
    Changed();
    return true;
}

void CPathyDoc::ExportData(QWidget* parent)
{
    const auto path = AskFileToWrite(QStringLiteral("Export hydropythy values"),
                                     {QStringLiteral("All (*.*)"), QStringLiteral("Text (*.TXT)")},
                                     QStringLiteral("*.txt"));
    if (!path) {
        return;
    }
    CExportDialog delimiter(parent);
    if (Choosers().run(delimiter) != QDialog::Accepted) {
        return;
    }
    const core::HydropathyPlotSettings& settings = Settings();
    const std::string text = HydropathyExportText(Record(), settings.from, settings.to,
                                                  settings.window, delimiter.Delimiter());
    const auto written =
        core::WriteFileAtomically(std::filesystem::path(path->toStdString()), text);
    if (!written) {
        core::ui::ShowMessage(ToQString(core::msg::CannotSaveFile(
                                  QDir::toNativeSeparators(*path).toStdString(), written.Error())),
                              ToQString(core::msg::kProgramTitle));
    }
}

} // namespace quorin::plots::ui
