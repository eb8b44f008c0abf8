#include "plots/ui/PageDocument.h"

#include "plots/Hydropathy.h"

namespace quorin::plots::ui {

PageDocument::PageDocument(core::PropertyRecord& record, std::vector<core::MARK>& marks,
                           std::vector<core::TEXTITEM>& texts, QObject* parent)
    : QObject(parent), m_record(record), m_marks(marks), m_texts(texts), m_selection(marks, texts)
{}

namespace {

std::vector<core::MARK>& noMarks()
{
    static std::vector<core::MARK> none;
    return none;
}

std::vector<core::TEXTITEM>& noTexts()
{
    static std::vector<core::TEXTITEM> none;
    return none;
}

} // namespace

PageDocument::PageDocument(core::PropertyRecord& record, QObject* parent)
    : PageDocument(record, noMarks(), noTexts(), parent)
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
