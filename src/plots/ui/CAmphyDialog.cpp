#include "plots/ui/CAmphyDialog.h"

#include "core/MessageTexts.h"
#include "core/ui/Help.h"
#include "core/ui/Messages.h"
#include "core/ui/QtText.h"
#include "plots/AmphipathyPage.h"
#include "plots/ui/PlotDialogs.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quorin::plots::ui {
namespace {

using core::ui::ToQString;

QLineEdit* field(const QString& name, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    return edit;
}

} // namespace

CAmphyDialog::CAmphyDialog(const core::PropertyRecord& record, QWidget* parent)
    : QDialog(parent), m_record(record), m_from(field(QStringLiteral("from"), this)),
      m_to(field(QStringLiteral("to"), this)), m_window(field(QStringLiteral("window"), this))
{
    setWindowTitle(QStringLiteral("Properties for Plot of Amphypathy Moment"));
    const PendingPlotRequest& request = PendingRequest();
    const QString name = ToQString(record.Name());
    auto* use = new QLabel(this);
    use->setObjectName(QStringLiteral("usePart"));
    use->setText(
        QStringLiteral("Use a part of %1 (%2 aa)")
            // In one pass: a "%2" in the name stays as it is.
            .arg(core::ui::ElidedName(name, use->font()), QString::number(record.ResidueLength())));
    use->setToolTip(name);
    if (request.from != 0) {
        m_from->setText(QString::number(request.from));
        m_to->setText(QString::number(request.to));
        m_window->setText(QString::number(request.window));
    } else {
        m_from->setText(QStringLiteral("1"));
        m_to->setText(QString::number(PositionCount(record)));
        m_window->setText(QString::number(kDefaultAmphyWindow));
    }

    const auto label = [this](const QString& text, QWidget* buddy) {
        auto* shown = new QLabel(text, this);
        shown->setBuddy(buddy);
        return shown;
    };
    auto* stretch = new QGroupBox(QStringLiteral("Displayed part of the sequence"), this);
    auto* grid = new QGridLayout(stretch);
    grid->addWidget(use, 0, 0, 1, 4);
    grid->addWidget(label(QStringLiteral("&From:"), m_from), 1, 0);
    grid->addWidget(m_from, 1, 1);
    grid->addWidget(label(QStringLiteral("&To:"), m_to), 1, 2);
    grid->addWidget(m_to, 1, 3);
    grid->addWidget(label(QStringLiteral("Sliding &window:"), m_window), 2, 0);
    grid->addWidget(m_window, 2, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* help = buttons->addButton(QStringLiteral("?"), QDialogButtonBox::HelpRole);
    help->setObjectName(QStringLiteral("help"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CAmphyDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CAmphyDialog::reject);
    connect(help, &QPushButton::clicked, this, [] {
        core::ui::OpenHelpTopic(QStringLiteral("AMPHYPATHIC HELICAL MOMENT PROPERTIES"));
    });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(stretch);
    layout->addWidget(buttons);
}

void CAmphyDialog::accept()
{
    const PathyDialogCheck check =
        CheckAmphyDialog(m_from->text().toStdString(), m_to->text().toStdString(),
                         m_window->text().toStdString(), PositionCount(m_record));
    if (!PassesRangeCheck(check, {m_from, m_to, m_window})) {
        return;
    }
    PendingPlotRequest& request = PendingRequest();
    request.from = check.from;
    request.to = check.to;
    request.window = check.window;
    QDialog::accept();
}

void CAmphyDialog::reject()
{
    ClampPendingRequest(PendingRequest(), PositionCount(m_record));
    QDialog::reject();
}

} // namespace quorin::plots::ui
