#include "plots/ui/CTitrationDialog.h"

#include "core/ui/QtText.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>

namespace quorin::plots::ui {
using analysis::PKaSet;

CTitrationDialog::CTitrationDialog(PKaSet set, QWidget* parent)
    : QDialog(parent), m_set(new QComboBox(this))
{
    setWindowTitle(QStringLiteral("Titration Curve"));
    m_set->setObjectName(QStringLiteral("pkaSet"));
    for (const PKaSet each : analysis::kPKaSets) {
        m_set->addItem(core::ui::ToQString(analysis::PKaSetName(each)), static_cast<int>(each));
    }
    m_set->setCurrentIndex(m_set->findData(static_cast<int>(set)));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* form = new QFormLayout(this);
    auto* label = new QLabel(QStringLiteral("&pK values:"), this);
    label->setBuddy(m_set);
    form->addRow(label, m_set);
    form->addRow(buttons);
}

PKaSet CTitrationDialog::Set() const
{
    return static_cast<PKaSet>(m_set->currentData().toInt());
}

} // namespace quorin::plots::ui
