#include "core/MessageTexts.h"
#include "core/NumberText.h"
#include "core/ui/QtText.h"
#include "shell/ui/PreferencePages.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace quorin::shell::ui {

using core::ui::ToQString;
using core::ui::ToStdString;

CEditPathyScalePage::CEditPathyScalePage(const core::PropertyRecord& record, QWidget* parent)
    : CEntryListPage(QStringLiteral("Edit Hydropathy Scales"), QStringLiteral("PREFERENCES SCALES"),
                     record.scales, {"New Scale", {}}, parent)
{
    setObjectName(QStringLiteral("CEditPathyScalePage"));
    auto* list = new QListWidget(this);
    list->setObjectName(QStringLiteral("scales"));
    m_residues = new QListWidget(this);
    m_residues->setObjectName(QStringLiteral("residues"));
    for (const std::string_view caption : kScaleResidueCaptions) {
        m_residues->addItem(ToQString(caption));
    }
    m_name = field(QStringLiteral("name"), this);
    m_value = field(QStringLiteral("value"), this);
    auto* nameCaption = new QLabel(QStringLiteral("Name:"), this);
    nameCaption->setBuddy(m_name);
    auto* valueCaption = new QLabel(QStringLiteral("Hydropathy:"), this);
    valueCaption->setBuddy(m_value);
    auto* newButton = new QPushButton(QStringLiteral("&New"), this);
    newButton->setObjectName(QStringLiteral("new"));
    auto* deleteButton = new QPushButton(QStringLiteral("&Delete"), this);
    deleteButton->setObjectName(QStringLiteral("delete"));

    auto* layout = new QGridLayout(this);
    layout->addWidget(list, 0, 0, 5, 1);
    layout->addWidget(nameCaption, 0, 1, 1, 2);
    layout->addWidget(m_name, 1, 1, 1, 2);
    layout->addWidget(m_residues, 2, 1, 3, 1);
    layout->addWidget(valueCaption, 2, 2);
    layout->addWidget(m_value, 3, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(newButton);
    buttons->addWidget(deleteButton);
    buttons->addStretch(1);
    layout->addLayout(buttons, 5, 0, 1, 3);
    layout->setRowStretch(4, 1);

    connect(m_residues, &QListWidget::currentRowChanged, this,
            &CEditPathyScalePage::residueChanged);
    connectList(list, newButton, deleteButton);
    m_residues->setCurrentRow(0);
    if (m_entries.empty()) {
        appendNew();
    }
    refill(0);
}

void CEditPathyScalePage::showEntry(int row)
{
    m_name->setText(row >= 0 ? nameOf(row) : QString());
    showValue();
}

void CEditPathyScalePage::showValue()
{
    const int row = current();
    m_shownValue = row >= 0
                       ? ToQString(ScaleValueText(m_entries[static_cast<std::size_t>(row)]
                                                      .values[static_cast<std::size_t>(m_residue)]))
                       : QString();
    m_value->setText(m_shownValue);
}

bool CEditPathyScalePage::storeValue(const std::string& message)
{
    if (current() < 0 || m_value->text() == m_shownValue) {
        return true;
    }
    const std::string text = ToStdString(m_value->text());
    if (!IsScaleValueText(text)) {
        refuse(message, m_value);
        return false;
    }
    m_entries[static_cast<std::size_t>(current())].values[static_cast<std::size_t>(m_residue)] =
        core::ParseLeadingDouble(text);
    m_shownValue = m_value->text();
    return true;
}

bool CEditPathyScalePage::storeShown(Moment moment)
{
    // The residue list and "&New" call a bad value a weight, the rest a number.
    const std::string_view message =
        moment == Moment::New ? core::msg::kInvalidWeight : core::msg::kInvalidNumber;
    if (!storeValue(std::string(message))) {
        return false;
    }
    m_entries[static_cast<std::size_t>(current())].name = ToStdString(m_name->text());
    return true;
}

void CEditPathyScalePage::residueChanged(int row)
{
    if (row < 0 || row == m_residue) {
        return;
    }
    if (!storeValue(std::string(core::msg::kInvalidWeight))) {
        keepRow(m_residues, m_residue);
        return;
    }
    m_residue = row;
    showValue();
}

void CEditPathyScalePage::Collect(PreferenceChanges& changes)
{
    changes.scales = m_entries;
}

} // namespace quorin::shell::ui
