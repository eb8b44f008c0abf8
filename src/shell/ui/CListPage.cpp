#include "core/MessageTexts.h"
#include "core/ui/Messages.h"
#include "core/ui/QtText.h"
#include "shell/ui/PreferencePages.h"

#include <QListWidget>
#include <QPushButton>

#include <algorithm>

namespace quorin::shell::ui {

using core::ui::ToQString;

void CListPage::connectList(QListWidget* list, QPushButton* newButton, QPushButton* deleteButton)
{
    m_list = list;
    connect(list, &QListWidget::currentRowChanged, this, &CListPage::selectionChanged);
    connect(newButton, &QPushButton::clicked, this, &CListPage::addNew);
    connect(deleteButton, &QPushButton::clicked, this, &CListPage::deleteShown);
}

void CListPage::refill(int row)
{
    m_filling = true;
    m_list->clear();
    for (int i = 0; i < count(); ++i) {
        m_list->addItem(nameOf(i));
    }
    m_current = count() == 0 ? -1 : std::clamp(row, 0, count() - 1);
    m_list->setCurrentRow(m_current);
    m_filling = false;
    showEntry(m_current);
}

void CListPage::selectionChanged(int row)
{
    if (m_filling || row == m_current) {
        return;
    }
    if (m_current >= 0 && !storeShown(Moment::Selection)) {
        // The entry being edited stays selected until its fields pass.
        keepRow(m_list, m_current);
        return;
    }
    // The list is not rebuilt inside its own selection change: only the name
    // of the entry stored can have changed.
    if (m_current >= 0) {
        m_list->item(m_current)->setText(nameOf(m_current));
    }
    m_current = row;
    showEntry(row);
}

bool CListPage::CheckShown()
{
    return m_current < 0 || storeShown(Moment::Confirm);
}

void CListPage::addNew()
{
    if (m_current >= 0 && !storeShown(Moment::New)) {
        return;
    }
    appendNew();
    refill(count() - 1);
    SetModified();
}

void CListPage::deleteShown()
{
    if (m_current < 0) {
        return;
    }
    if (checksBeforeDelete() && !storeShown(Moment::Delete)) {
        return;
    }
    if (core::ui::ShowMessage(ToQString(core::msg::kDeleteItem), ToQString(core::msg::kNote),
                              core::ui::MessageIcon::Question,
                              core::ui::MessageButtons::YesNo) != core::ui::MessageAnswer::Yes) {
        return;
    }
    const int row = m_current;
    removeAt(row);
    if (count() == 0) {
        afterLastDeleted();
    }
    refill(row);
    SetModified();
}

} // namespace quorin::shell::ui
