#include "plots/ui/CWheelDialog.h"

#include "core/MessageTexts.h"
#include "core/ui/Help.h"
#include "core/ui/Messages.h"
#include "core/ui/QtText.h"
#include "plots/Hydropathy.h"
#include "plots/ui/PlotDialogs.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace quorin::plots::ui {

CWheelDialog::CWheelDialog(const core::PropertyRecord& record, int from, int to, QWidget* parent)
    : QDialog(parent), m_record(record), m_chosenFrom(from), m_chosenTo(to),
      m_from(NamedField(QStringLiteral("from"), this)), m_to(NamedField(QStringLiteral("to"), this))
{
    setWindowTitle(QStringLiteral("Properties for Helical Wheel"));
    if (from != to) {
        m_from->setText(QString::number(from));
        m_to->setText(QString::number(to));
    }

    QLabel* use = UsePartLabel(record, this);

    auto* fromLabel = new QLabel(QStringLiteral("&From:"), this);
    fromLabel->setBuddy(m_from);
    auto* toLabel = new QLabel(QStringLiteral("&To:"), this);
    toLabel->setBuddy(m_to);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* help = buttons->addButton(QStringLiteral("?"), QDialogButtonBox::HelpRole);
    help->setObjectName(QStringLiteral("help"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CWheelDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CWheelDialog::reject);
    connect(help, &QPushButton::clicked, this,
            [] { core::ui::OpenHelpTopic(QStringLiteral("HELICAL WHEEL PROPERTIES BOX")); });

    auto* grid = new QGridLayout(this);
    grid->addWidget(use, 0, 0, 1, 4);
    grid->addWidget(fromLabel, 1, 0);
    grid->addWidget(m_from, 1, 1);
    grid->addWidget(toLabel, 1, 2);
    grid->addWidget(m_to, 1, 3);
    grid->addWidget(buttons, 2, 0, 1, 4);
}

void CWheelDialog::accept()
{
    const PathyDialogCheck check = CheckWheelDialog(
        m_from->text().toStdString(), m_to->text().toStdString(), PositionCount(m_record));
    if (!PassesRangeCheck(check, {m_from, m_to})) {
        return;
    }
    m_chosenFrom = check.from;
    m_chosenTo = check.to;
    QDialog::accept();
}

} // namespace quorin::plots::ui
