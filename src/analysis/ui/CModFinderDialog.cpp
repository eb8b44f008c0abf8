#include "analysis/ui/CModFinderDialog.h"

#include "analysis/ModFinder.h"
#include "analysis/ui/TwoListChooser.h"
#include "core/MessageTexts.h"
#include "core/ui/Help.h"
#include "core/ui/Messages.h"
#include "core/ui/QtText.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
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

QLineEdit* edit(const QString& name, QWidget* parent)
{
    auto* result = new QLineEdit(parent);
    result->setObjectName(name);
    return result;
}

} // namespace

CModFinderDialog::CModFinderDialog(core::PropertyRecord& record, QWidget* parent)
    : QDialog(parent), m_record(record)
{
    setObjectName(QStringLiteral("CModFinderDialog"));
    setWindowTitle(QStringLiteral("ModFinder"));

    m_weight = edit(QStringLiteral("weight"), this);
    m_uncertainty = edit(QStringLiteral("uncertainty"), this);
    m_uncertainty->setText(QStringLiteral("1.0"));
    m_available = new QListWidget(this);
    m_available->setObjectName(QStringLiteral("availableModifications"));
    m_specificity = edit(QStringLiteral("specificity"), this);
    m_specificity->setReadOnly(true);
    m_mass = edit(QStringLiteral("mass"), this);
    m_mass->setReadOnly(true);
    m_chosen = new QListWidget(this);
    m_chosen->setObjectName(QStringLiteral("selectedModifications"));

    auto* select = button(QStringLiteral("&Select >>"), QStringLiteral("select"), this);
    auto* unselect = button(QStringLiteral("<< &Unselect"), QStringLiteral("unselect"), this);
    auto* analyse = button(QStringLiteral("&Analyse"), QStringLiteral("analyse"), this);
    analyse->setDefault(true);
    auto* cancel = button(QStringLiteral("&Cancel"), QStringLiteral("cancel"), this);
    auto* help = button(QStringLiteral("?"), QStringLiteral("help"), this);

    auto* numbers = new QFormLayout;
    numbers->addRow(QStringLiteral("Weight of unknown peptide:"), m_weight);
    numbers->addRow(QStringLiteral("Uncertainty of weight:"), m_uncertainty);

    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("Available:"), this));
    left->addWidget(m_available, 1);
    auto* details = new QFormLayout;
    details->addRow(QStringLiteral("Specificity:"), m_specificity);
    details->addRow(QStringLiteral("MW:"), m_mass);
    left->addLayout(details);

    auto* middle = new QVBoxLayout;
    middle->addStretch();
    middle->addWidget(select);
    middle->addWidget(unselect);
    middle->addStretch();

    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel(QStringLiteral("Selected:"), this));
    right->addWidget(m_chosen, 1);

    auto* modifications = new QGroupBox(QStringLiteral("Modifications"), this);
    auto* lists = new QHBoxLayout(modifications);
    lists->addLayout(left, 1);
    lists->addLayout(middle);
    lists->addLayout(right, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(analyse);
    buttons->addWidget(cancel);
    buttons->addWidget(help);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(numbers);
    layout->addWidget(modifications, 1);
    layout->addLayout(buttons);

    std::vector<std::string> names;
    for (const core::MODIFICATION& modification : m_record.modifications) {
        names.push_back(modification.name);
    }
    m_chooser = new TwoListChooser(std::move(names), *m_available, *m_chosen, *select, *unselect);
    connect(m_available, &QListWidget::currentRowChanged, this,
            &CModFinderDialog::showModification);
    connect(analyse, &QPushButton::clicked, this, &CModFinderDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &CModFinderDialog::reject);
    connect(help, &QPushButton::clicked, this,
            [] { core::ui::OpenHelpTopic(QStringLiteral("MODFINDER DIALOG")); });

    if (!m_record.modifications.empty()) {
        m_available->setCurrentRow(0);
    }
    showModification();
    m_weight->setFocus();
    resize(480, 320);
}

void CModFinderDialog::showModification()
{
    const int row = m_available->currentRow();
    if (row < 0 || static_cast<std::size_t>(row) >= m_record.modifications.size()) {
        m_specificity->clear();
        m_mass->clear();
        return;
    }
    const core::MODIFICATION& modification = m_record.modifications[static_cast<std::size_t>(row)];
    m_specificity->setText(ToQString(modification.specificity));
    m_mass->setText(ToQString(ModificationMassText(modification.mw)));
}

void CModFinderDialog::accept()
{
    // The names as stored: one in an older encoding would not survive the
    // way through the list's text.
    const std::vector<std::string> names = m_chooser->ChosenNames();
    const std::string weightText = core::ui::ToStdString(m_weight->text());
    const std::string uncertaintyText = core::ui::ToStdString(m_uncertainty->text());
    const ModFinderFault fault = CheckModFinderInput(names, weightText, uncertaintyText);
    if (fault != ModFinderFault::None) {
        core::ui::ShowMessage(ToQString(ModFinderFaultMessage(fault)),
                              ToQString(core::msg::kError));
        QLineEdit* field = fault == ModFinderFault::InvalidWeight        ? m_weight
                           : fault == ModFinderFault::InvalidUncertainty ? m_uncertainty
                                                                         : nullptr;
        if (field != nullptr) {
            field->setFocus();
            field->selectAll();
        }
        return;
    }
    SelectModifications(m_record, names);
    FindModifications(m_record, WeightFromText(weightText), WeightFromText(uncertaintyText));
    QDialog::accept();
}

} // namespace quorin::analysis::ui
