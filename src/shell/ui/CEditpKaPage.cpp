#include "core/MessageTexts.h"
#include "core/ui/QtText.h"
#include "shell/ui/PreferencePages.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace quorin::shell::ui {

using core::ui::ToQString;

CEditpKaPage::CEditpKaPage(const core::PropertyRecord& record, QWidget* parent)
    : CPreferencePage(QStringLiteral("Define pKa Values"), QStringLiteral("PREFERENCES PKA"),
                      parent),
      m_pKa(record.pKa), m_default(record.defaultPKa)
{
    setObjectName(QStringLiteral("CEditpKaPage"));
    m_groups = new QListWidget(this);
    m_groups->setObjectName(QStringLiteral("groups"));
    for (const PKaGroup& group : kPKaGroups) {
        m_groups->addItem(ToQString(group.caption));
    }
    m_value = field(QStringLiteral("pKa"), this);
    auto* groupCaption = new QLabel(QStringLiteral("Group:"), this);
    groupCaption->setBuddy(m_groups);
    auto* valueCaption = new QLabel(QStringLiteral("pKa:"), this);
    valueCaption->setBuddy(m_value);
    auto* defaults = defaultButton([this] {
        m_pKa = m_default;
        show(m_current);
    });

    auto* layout = new QGridLayout(this);
    layout->addWidget(groupCaption, 0, 0);
    layout->addWidget(m_groups, 1, 0, 4, 1);
    layout->addWidget(valueCaption, 0, 1);
    layout->addWidget(m_value, 1, 1);
    layout->addWidget(defaults, 2, 1);
    layout->setRowStretch(4, 1);

    m_groups->setCurrentRow(0);
    show(0);
    connect(m_groups, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row < 0 || row == m_current) {
            return;
        }
        if (!store()) {
            keepRow(m_groups, m_current);
            return;
        }
        show(row);
    });
}

void CEditpKaPage::show(int group)
{
    m_current = group;
    const auto index = static_cast<std::size_t>(kPKaGroups[static_cast<std::size_t>(group)].index);
    m_shownText = ToQString(PKaText(m_pKa[index]));
    m_value->setText(m_shownText);
}

bool CEditpKaPage::store()
{
    // A value left as shown stays as it is, unrounded.
    if (m_value->text() == m_shownText) {
        return true;
    }
    const auto value = ReadPKa(core::ui::ToStdString(m_value->text()));
    if (!value) {
        refuse(std::string(core::msg::kInvalidPKa), m_value);
        return false;
    }
    const auto index =
        static_cast<std::size_t>(kPKaGroups[static_cast<std::size_t>(m_current)].index);
    m_pKa[index] = *value;
    m_shownText = m_value->text();
    return true;
}

bool CEditpKaPage::CheckShown()
{
    return store();
}

void CEditpKaPage::Collect(PreferenceChanges& changes)
{
    changes.pKa = m_pKa;
}

} // namespace quorin::shell::ui
