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

namespace {

QPushButton* button(const QString& text, const QString& name, QWidget* parent)
{
    auto* pushButton = new QPushButton(text, parent);
    pushButton->setObjectName(name);
    return pushButton;
}

} // namespace

CEditProteases::CEditProteases(const core::PropertyRecord& record, QWidget* parent)
    : CEntryListPage(QStringLiteral("Edit Cleaving Agents"), QStringLiteral("PREFERENCES AGENTS"),
                     record.agents, {"New agent", ""}, parent)
{
    setObjectName(QStringLiteral("CEditProteases"));
    auto* box = new QGroupBox(QStringLiteral("Available Agents"), this);
    auto* list = new QListWidget(box);
    list->setObjectName(QStringLiteral("agents"));
    (new QVBoxLayout(box))->addWidget(list);
    m_name = field(QStringLiteral("name"), this);
    m_name->setMaxLength(static_cast<int>(kAgentFieldLength));
    m_specificity = field(QStringLiteral("specificity"), this);
    m_specificity->setMaxLength(static_cast<int>(kAgentFieldLength));
    auto* fields = new QFormLayout;
    fields->setRowWrapPolicy(QFormLayout::WrapAllRows);
    fields->addRow(QStringLiteral("Name"), m_name);
    fields->addRow(QStringLiteral("Specificity"), m_specificity);
    auto* newButton = button(QStringLiteral("&New"), QStringLiteral("new"), this);
    auto* deleteButton = button(QStringLiteral("&Delete"), QStringLiteral("delete"), this);

    auto* layout = new QGridLayout(this);
    layout->addWidget(box, 0, 0, 3, 1);
    layout->addLayout(fields, 0, 1, 1, 2);
    layout->addWidget(newButton, 1, 1);
    layout->addWidget(deleteButton, 1, 2);
    layout->setRowStretch(2, 1);
    connectList(list, newButton, deleteButton);
    if (m_entries.empty()) {
        appendNew();
    }
    refill(0);
}

void CEditProteases::showEntry(int row)
{
    const bool any = row >= 0;
    m_name->setText(any ? nameOf(row) : QString());
    m_specificity->setText(any ? ToQString(m_entries[static_cast<std::size_t>(row)].specificity)
                               : QString());
}

bool CEditProteases::storeShown(Moment)
{
    auto checked = CheckAgent(ToStdString(m_name->text()), ToStdString(m_specificity->text()));
    if (const auto* problem = std::get_if<EntryProblem>(&checked)) {
        refuse(problem->message, m_specificity);
        return false;
    }
    m_entries[static_cast<std::size_t>(current())] = std::get<core::ENZYME>(std::move(checked));
    return true;
}

void CEditProteases::Collect(PreferenceChanges& changes)
{
    changes.agents = m_entries;
}

} // namespace quorin::shell::ui
