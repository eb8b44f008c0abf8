#include "analysis/ui/CDigestDialog.h"

#include "analysis/Digest.h"
#include "analysis/ui/TwoListChooser.h"
#include "core/MessageTexts.h"
#include "core/ui/Help.h"
#include "core/ui/Messages.h"
#include "core/ui/QtText.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace quorin::analysis::ui {
namespace {

using core::ui::ToQString;

QPushButton* button(const QString& text, const QString& name, QWidget* parent)
{
    auto* result = new QPushButton(text, parent);
    result->setObjectName(name);
    result->setAutoDefault(false);
    return result;
}

QGroupBox* group(const QString& title, QWidget* content, QWidget* parent)
{
    auto* box = new QGroupBox(title, parent);
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(content);
    return box;
}

} // namespace

CDigestDialog::CDigestDialog(const std::vector<core::ENZYME>& agents, QWidget* parent)
    : QDialog(parent), m_agents(agents)
{
    setObjectName(QStringLiteral("CDigestDialog"));
    setWindowTitle(QStringLiteral("Sequence specific cleavage"));

    m_available = new QListWidget(this);
    m_available->setObjectName(QStringLiteral("availableAgents"));
    m_specificityBox = new QLineEdit(this);
    m_specificityBox->setObjectName(QStringLiteral("specificity"));
    m_specificityBox->setReadOnly(true);
    m_chosen = new QListWidget(this);
    m_chosen->setObjectName(QStringLiteral("selectedAgents"));

    auto* select = button(QStringLiteral("&Select >>"), QStringLiteral("select"), this);
    auto* unselect = button(QStringLiteral("<< &Unselect"), QStringLiteral("unselect"), this);
    auto* analyse = button(QStringLiteral("&Analyse"), QStringLiteral("analyse"), this);
    analyse->setDefault(true);
    auto* cancel = button(QStringLiteral("&Cancel"), QStringLiteral("cancel"), this);
    auto* help = button(QStringLiteral("?"), QStringLiteral("help"), this);

    auto* middle = new QVBoxLayout;
    middle->addStretch();
    middle->addWidget(select);
    middle->addWidget(unselect);
    middle->addStretch();

    auto* left = new QVBoxLayout;
    left->addWidget(group(QStringLiteral("Available agents"), m_available, this), 1);
    left->addWidget(group(QStringLiteral("Specificity"), m_specificityBox, this));

    auto* lists = new QHBoxLayout;
    lists->addLayout(left, 1);
    lists->addLayout(middle);
    lists->addWidget(group(QStringLiteral("Selected agents"), m_chosen, this), 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(analyse);
    buttons->addWidget(cancel);
    buttons->addWidget(help);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists);
    layout->addLayout(buttons);

    std::vector<std::string> names;
    for (const core::ENZYME& agent : m_agents) {
        names.push_back(agent.name);
    }
    m_chooser = new TwoListChooser(std::move(names), *m_available, *m_chosen, *select, *unselect);
    connect(m_available, &QListWidget::currentRowChanged, this, &CDigestDialog::showSpecificity);
    connect(analyse, &QPushButton::clicked, this, &CDigestDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &CDigestDialog::reject);
    connect(help, &QPushButton::clicked, this,
            [] { core::ui::OpenHelpTopic(QStringLiteral("SELECT CLEAVAGE ^ BOX")); });

    if (!m_agents.empty()) {
        m_available->setCurrentRow(0);
    }
    showSpecificity();
    resize(460, 260);
}

void CDigestDialog::showSpecificity()
{
    const int row = m_available->currentRow();
    m_specificityBox->setText(row >= 0 && static_cast<std::size_t>(row) < m_agents.size()
                                  ? ToQString(m_agents[static_cast<std::size_t>(row)].specificity)
                                  : QString());
}

void CDigestDialog::accept()
{
    const std::vector<std::string> chosen = m_chooser->ChosenNames();
    if (chosen.empty()) {
        core::ui::ShowMessage(ToQString(core::msg::kSelectAnAgent), ToQString(core::msg::kError));
        return;
    }
    m_selected.clear();
    for (const std::string& name : chosen) {
        if (const core::ENZYME* agent = FindAgent(m_agents, name)) {
            m_selected.push_back(*agent);
        }
    }
    m_specificity = CombinedSpecificity(m_selected);
    QDialog::accept();
}

} // namespace quorin::analysis::ui
