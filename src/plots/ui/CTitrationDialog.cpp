#include "plots/ui/CTitrationDialog.h"

#include "core/ui/QtText.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QListWidget>

#include <algorithm>

namespace quorin::plots::ui {
using analysis::PKaSet;

CTitrationDialog::CTitrationDialog(PKaSet set, QWidget* parent)
    : CTitrationDialog(std::vector<PKaSet>{set}, parent)
{}

CTitrationDialog::CTitrationDialog(const std::vector<PKaSet>& sets, QWidget* parent)
    : QDialog(parent), m_set(new QComboBox(this)), m_compared(new QListWidget(this))
{
    setWindowTitle(QStringLiteral("Titration Curve"));
    m_set->setObjectName(QStringLiteral("pkaSet"));
    m_compared->setObjectName(QStringLiteral("comparedSets"));
    for (const PKaSet each : analysis::kPKaSets) {
        const QString name = core::ui::ToQString(analysis::PKaSetName(each));
        m_set->addItem(name, static_cast<int>(each));
        auto* item = new QListWidgetItem(name, m_compared);
        item->setData(Qt::UserRole, static_cast<int>(each));
        item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
        const bool compared =
            std::find(sets.begin() + (sets.empty() ? 0 : 1), sets.end(), each) != sets.end();
        item->setCheckState(compared ? Qt::Checked : Qt::Unchecked);
    }
    m_set->setCurrentIndex(
        m_set->findData(static_cast<int>(sets.empty() ? PKaSet::Settings : sets.front())));
    // Every set fits without a scroll bar.
    m_compared->setMinimumHeight(m_compared->sizeHintForRow(0) * m_compared->count() +
                                 2 * m_compared->frameWidth());

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* form = new QFormLayout(this);
    auto* label = new QLabel(QStringLiteral("&pK values:"), this);
    label->setBuddy(m_set);
    form->addRow(label, m_set);
    auto* comparedLabel = new QLabel(QStringLiteral("C&ompare with:"), this);
    comparedLabel->setBuddy(m_compared);
    form->addRow(comparedLabel, m_compared);
    form->addRow(buttons);
}

PKaSet CTitrationDialog::Set() const
{
    return static_cast<PKaSet>(m_set->currentData().toInt());
}

std::vector<PKaSet> CTitrationDialog::Sets() const
{
    std::vector<PKaSet> sets{Set()};
    for (int row = 0; row < m_compared->count(); ++row) {
        const QListWidgetItem* item = m_compared->item(row);
        const auto set = static_cast<PKaSet>(item->data(Qt::UserRole).toInt());
        if (item->checkState() == Qt::Checked && set != sets.front()) {
            sets.push_back(set);
        }
    }
    return sets;
}

} // namespace quorin::plots::ui
