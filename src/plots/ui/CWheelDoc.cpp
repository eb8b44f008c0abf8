#include "plots/ui/CWheelDoc.h"

#include "core/MessageTexts.h"
#include "core/ui/Messages.h"
#include "core/ui/QtText.h"
#include "plots/Amphipathy.h"
#include "plots/Hydropathy.h"
#include "plots/ui/CWheelDialog.h"
#include "plots/ui/PagePainter.h"
#include "plots/ui/PlotDialogs.h"

#include <cassert>

namespace quorin::plots::ui {
namespace {

using core::ui::ToQString;

} // namespace

CWheelDoc::CWheelDoc(core::PropertyRecord& record, int index, int serial, QObject* parent)
    : PageDocument(record, parent), m_record(record), m_index(index), m_serial(serial)
{}

CWheelDoc::~CWheelDoc()
{
    emit closing();
}

core::WHEELPLOT& CWheelDoc::Wheel()
{
    assert(m_index >= 0 && static_cast<std::size_t>(m_index) < m_record.plots.wheels.size());
    return m_record.plots.wheels[static_cast<std::size_t>(m_index)];
}

const core::WHEELPLOT& CWheelDoc::Wheel() const
{
    assert(m_index >= 0 && static_cast<std::size_t>(m_index) < m_record.plots.wheels.size());
    return m_record.plots.wheels[static_cast<std::size_t>(m_index)];
}

PageSource CWheelDoc::Source()
{
    return WheelPageSource(m_record, Wheel());
}

QString CWheelDoc::PrintJobName() const
{
    return ToQString(kWheelPrintJob);
}

QString CWheelDoc::Caption() const
{
    return ToQString(WheelCaption(m_record, Wheel()));
}

void CWheelDoc::ZoomIn()
{
    Wheel().zoom *= kWheelZoomIn;
    Changed();
}

void CWheelDoc::ZoomOut()
{
    Wheel().zoom *= kWheelZoomOut;
    Changed();
}

void CWheelDoc::ToggleColours()
{
    m_record.wheelColorCode = m_record.wheelColorCode != 0 ? 0 : 1;
    Changed();
}

void CWheelDoc::ToggleNumbers()
{
    m_record.wheelNumbers = m_record.wheelNumbers != 0 ? 0 : 1;
    Changed();
}

QString CWheelDoc::MomentText() const
{
    return ToQString(AmphipathyMomentText(WheelMoment(m_record, Wheel())));
}

void CWheelDoc::ShowMoment()
{
    core::ui::ShowMessage(MomentText(), ToQString(core::msg::kResult),
                          core::ui::MessageIcon::Information);
}

bool CWheelDoc::ModifyDisplayedPart(QWidget* parent)
{
    CWheelDialog dialog(m_record, Wheel().from, Wheel().to, parent);
    if (Choosers().run(dialog) != QDialog::Accepted) {
        return false;
    }
    Wheel().from = dialog.From();
    Wheel().to = dialog.To();
    Changed();
    return true;
}

} // namespace quorin::plots::ui
