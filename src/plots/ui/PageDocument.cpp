#include "plots/ui/PageDocument.h"

#include "plots/Hydropathy.h"

namespace quorin::plots::ui {

PageDocument::PageDocument(core::PropertyRecord& record, std::vector<core::MARK>& marks,
                           std::vector<core::TEXTITEM>& texts, QObject* parent)
    : QObject(parent), m_record(record), m_marks(marks), m_texts(texts), m_selection(marks, texts)
{}

int PageDocument::PositionCount() const
{
    return plots::PositionCount(m_record);
}

void PageDocument::DeleteSelected()
{
    if (m_selection.DeleteSelected()) {
        Changed();
    }
}

void PageDocument::DeleteAllMarks()
{
    m_selection.DeleteAllMarks();
    Changed();
}

void PageDocument::Changed()
{
    RefreshPage();
    emit changed();
}

} // namespace quorin::plots::ui
