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

CAmphyDialog::CAmphyDialog(const core::PropertyRecord& record, const PendingPlotRequest& request,
                           QWidget* parent)
    : QDialog(parent), m_record(record), m_request(request),
      m_from(NamedField(QStringLiteral("from"), this)),
      m_to(NamedField(QStringLiteral("to"), this)),
      m_window(NamedField(QStringLiteral("window"), this))
{
    setWindowTitle(QStringLiteral("Properties for Plot of Amphypathy Moment"));
    QLabel* use = UsePartLabel(record, this);
    ProposeStretch(record, request, RangeFields{m_from, m_to, m_window}, kDefaultAmphyWindow);

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
    m_request.from = check.from;
    m_request.to = check.to;
    m_request.window = check.window;
    QDialog::accept();
}

void CAmphyDialog::reject()
{
    ClampPlotRequest(m_request, PositionCount(m_record));
    QDialog::reject();
}

} // namespace quorin::plots::ui
