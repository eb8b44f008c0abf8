#include "core/ui/QtText.h"
#include "shell/ui/PreferencePages.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <variant>

namespace quorin::shell::ui {

using core::ui::ToQString;
using core::ui::ToStdString;

CEditModificationsPage::CEditModificationsPage(const core::PropertyRecord& record, QWidget* parent)
    : CEntryListPage(QStringLiteral("Edit Modifications"),
                     QStringLiteral("PREFERENCES MODIFICATIONS"), record.modifications,
                     {"New modification", "", 0.0}, parent)
{
    setObjectName(QStringLiteral("CEditModificationsPage"));
    auto* box = new QGroupBox(QStringLiteral("Available Modifications"), this);
    auto* list = new QListWidget(box);
    list->setObjectName(QStringLiteral("modifications"));
    (new QVBoxLayout(box))->addWidget(list);
    m_name = field(QStringLiteral("name"), this);
    m_specificity = field(QStringLiteral("specificity"), this);
    m_weight = field(QStringLiteral("weight"), this);
    auto* fields = new QFormLayout;
    fields->setRowWrapPolicy(QFormLayout::WrapAllRows);
    fields->addRow(QStringLiteral("Name:"), m_name);
    fields->addRow(QStringLiteral("Specificity"), m_specificity);
    fields->addRow(QStringLiteral("Weight"), m_weight);
    auto* newButton = new QPushButton(QStringLiteral("&New"), this);
    newButton->setObjectName(QStringLiteral("new"));
    auto* deleteButton = new QPushButton(QStringLiteral("&Delete"), this);
    deleteButton->setObjectName(QStringLiteral("delete"));

    auto* layout = new QGridLayout(this);
    layout->addWidget(box, 0, 0, 3, 1);
    layout->addLayout(fields, 0, 1, 1, 2);
    layout->addWidget(newButton, 1, 1);
    layout->addWidget(deleteButton, 1, 2);
    layout->setRowStretch(2, 1);
    connectList(list, newButton, deleteButton);
    refill(0);
}

void CEditModificationsPage::showEntry(int row)
{
    const bool any = row >= 0;
    const core::MODIFICATION none;
    const core::MODIFICATION& entry = any ? m_entries[static_cast<std::size_t>(row)] : none;
    m_name->setText(ToQString(entry.name));
    m_specificity->setText(ToQString(entry.specificity));
    m_shownWeight = ToQString(WeightText(entry.mw));
    m_weight->setText(m_shownWeight);
    for (QLineEdit* edit : {m_name, m_specificity, m_weight}) {
        edit->setEnabled(any);
    }
}

bool CEditModificationsPage::storeShown(Moment)
{
    auto checked =
        CheckModification(ToStdString(m_name->text()), ToStdString(m_specificity->text()),
                          ToStdString(m_weight->text()));
    if (const auto* problem = std::get_if<EntryProblem>(&checked)) {
        refuse(problem->message,
               problem->field == EntryProblem::Field::Weight ? m_weight : m_specificity);
        return false;
    }
    core::MODIFICATION& entry = m_entries[static_cast<std::size_t>(current())];
    auto modification = std::get<core::MODIFICATION>(std::move(checked));
    // A weight left as shown keeps its digits beyond the ones the field shows.
    if (m_weight->text() == m_shownWeight) {
        modification.mw = entry.mw;
    }
    entry = std::move(modification);
    m_shownWeight = m_weight->text();
    return true;
}

void CEditModificationsPage::Collect(PreferenceChanges& changes)
{
    changes.modifications = m_entries;
}

} // namespace quorin::shell::ui
