#include "plots/ui/CSchemeDoc.h"

#include "core/ui/QtText.h"
#include "plots/ui/CSketchDialog.h"
#include "plots/ui/CSketchDomainDialog.h"
#include "plots/ui/PagePainter.h"
#include "plots/ui/PlotDialogs.h"

#include <algorithm>
#include <limits>

namespace quorin::plots::ui {

using core::ui::ToQString;

CSchemeDoc::CSchemeDoc(core::PropertyRecord& record, int lineWidth, QObject* parent)
    : CSchemeDoc(record, lineWidth, storedSelection(record.sketch), parent)
{}

CSchemeDoc::CSchemeDoc(core::PropertyRecord& record, int lineWidth, StoredSelection stored,
                       QObject* parent)
    : PageDocument(record, record.sketch.marks, record.sketch.texts, parent), m_page(record)
{
    record.sketch.lineWidth = static_cast<std::uint16_t>(
        std::clamp(lineWidth, 0, int{std::numeric_limits<std::uint16_t>::max()}));
    // The selected bytes are part of the file: reopened, a sketch is saved
    // again as it was read.
    if (stored.text >= 0) {
        Selection().SelectText(stored.text);
    } else if (stored.mark >= 0) {
        Selection().SelectMark(stored.mark);
    }
    RefreshSketchPage(m_page);
}

CSchemeDoc::StoredSelection CSchemeDoc::storedSelection(const core::SketchData& sketch)
{
    StoredSelection stored;
    const auto selected = [](const auto& item) { return item.selected != 0; };
    const auto text = std::find_if(sketch.texts.begin(), sketch.texts.end(), selected);
    if (text != sketch.texts.end()) {
        stored.text = static_cast<int>(text - sketch.texts.begin());
        return stored;
    }
    const auto mark = std::find_if(sketch.marks.begin(), sketch.marks.end(), selected);
    if (mark != sketch.marks.end()) {
        stored.mark = static_cast<int>(mark - sketch.marks.begin());
    }
    return stored;
}

void CSchemeDoc::RefreshPage()
{
    RefreshSketchPage(m_page);
}

PageSource CSchemeDoc::Source()
{
    return SketchPageSource(m_page);
}

QString CSchemeDoc::PrintJobName() const
{
    return ToQString(kSketchPageTitle);
}

int CSchemeDoc::TextItemAt(QPoint point) const
{
    return m_page.TextItemAt({point.x(), point.y()});
}

int CSchemeDoc::MarkAt(QPoint point) const
{
    return m_page.MarkAt({point.x(), point.y()});
}

int CSchemeDoc::DomainAt(QPoint point) const
{
    return m_page.DomainAt({point.x(), point.y()});
}

bool CSchemeDoc::LabelsMarks() const
{
    return m_page.Sketch().labelMarks != 0;
}

void CSchemeDoc::ToggleLabelMarks()
{
    std::uint8_t& flag = Sketch().labelMarks;
    flag = flag != 0 ? 0 : 1;
    Changed();
}

void CSchemeDoc::SelectDomain(int index)
{
    Selection().ClearSelection();
    m_page.SetSelectedDomain(index);
}

bool CSchemeDoc::HasSelection()
{
    return PageDocument::HasSelection() || m_page.SelectedDomain() >= 0;
}

void CSchemeDoc::ClearSelection()
{
    PageDocument::ClearSelection();
    m_page.SetSelectedDomain(-1);
}

void CSchemeDoc::DeleteSelected()
{
    if (Selection().DeleteSelected()) {
        m_page.SetSelectedDomain(-1);
    } else if (const int domain = m_page.SelectedDomain(); domain >= 0) {
        Sketch().domains.erase(Sketch().domains.begin() + domain);
        m_page.SetSelectedDomain(-1);
    } else {
        return;
    }
    Changed();
}

void CSchemeDoc::SetLineWidth(int lineWidth)
{
    const auto width = static_cast<std::uint16_t>(
        std::clamp(lineWidth, 0, int{std::numeric_limits<std::uint16_t>::max()}));
    if (Sketch().lineWidth == width) {
        return;
    }
    Sketch().lineWidth = width;
    Changed();
}

QString CSchemeDoc::Caption() const
{
    return ToQString(m_page.Caption());
}

bool CSchemeDoc::ModifyStructure(QWidget* parent)
{
    CSketchDialog dialog(Sketch().domains, Sketch().scale, PositionCount(), parent,
                         Record().CleanSequence());
    const bool confirmed = Choosers().run(dialog) == QDialog::Accepted;
    if (confirmed) {
        Sketch().scale = dialog.Scale();
    }
    // A domain deleted in the dialog may have been the selected one.
    m_page.SetSelectedDomain(-1);
    Changed();
    return confirmed;
}

void CSchemeDoc::EditDomain(int index, QWidget* parent)
{
    if (index < 0 || static_cast<std::size_t>(index) >= Sketch().domains.size()) {
        return;
    }
    CSketchDomainDialog dialog(Sketch().domains, index, PositionCount(), parent);
    if (Choosers().run(dialog) != QDialog::Accepted) {
        return;
    }
    Sketch().domains[static_cast<std::size_t>(index)] = dialog.Domain();
    Changed();
}

void CSchemeDoc::AddDomain(QWidget* parent)
{
    CSketchDomainDialog dialog(Sketch().domains, -1, PositionCount(), parent);
    if (Choosers().run(dialog) != QDialog::Accepted) {
        return;
    }
    Sketch().domains.push_back(dialog.Domain());
    Changed();
}

} // namespace quorin::plots::ui
