#include "analysis/ui/ParameterSheetPane.h"

#include "analysis/Titration.h"
#include "core/Residue.h"
#include "core/ui/QtText.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QTableWidget>
#include <QVBoxLayout>

namespace quorin::analysis::ui {
namespace {

using core::ui::ToQString;

QString fixed(double value, int decimals)
{
    return ToQString(FixedText(value, decimals));
}

/// Digits of a formula set as subscripts.
QString formulaHtml(const std::string& formula)
{
    QString html;
    bool inDigits = false;
    for (const char c : formula) {
        const bool digit = c >= '0' && c <= '9';
        if (digit != inDigits) {
            html += digit ? QStringLiteral("<sub>") : QStringLiteral("</sub>");
            inDigits = digit;
        }
        html += QLatin1Char(c);
    }
    return inDigits ? html + QStringLiteral("</sub>") : html;
}

// Guruprasad et al. call a protein of an index below 40 stable.
QString instabilityText(double index)
{
    return fixed(index, 2) +
           (index < 40.0 ? QStringLiteral(" (stable)") : QStringLiteral(" (unstable)"));
}

} // namespace

ParameterSheetPane::ParameterSheetPane(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("parameterSheet"));
    auto* figures = new QWidget;
    auto* form = new QFormLayout(figures);
    form->setLabelAlignment(Qt::AlignLeft);
    addRow(form, QStringLiteral("length"), QStringLiteral("Length:"));
    addRow(form, QStringLiteral("average_mass"), QStringLiteral("Average mass:"));
    addRow(form, QStringLiteral("monoisotopic_mass"), QStringLiteral("Monoisotopic mass:"));
    addRow(form, QStringLiteral("formula"), QStringLiteral("Formula:"))
        ->setTextFormat(Qt::RichText);
    addRow(form, QStringLiteral("net_charge_ph7"), QStringLiteral("Net charge at pH 7:"));
    addRow(form, QStringLiteral("extinction_280_cystines"),
           QStringLiteral("Extinction at 280 nm, cystines:"));
    addRow(form, QStringLiteral("extinction_280_reduced"),
           QStringLiteral("Extinction at 280 nm, reduced:"));
    addRow(form, QStringLiteral("absorbance_0_1_percent_cystines"),
           QStringLiteral("Abs 0.1% (1 g/l), cystines:"));
    addRow(form, QStringLiteral("absorbance_0_1_percent_reduced"),
           QStringLiteral("Abs 0.1% (1 g/l), reduced:"));
    addRow(form, QStringLiteral("instability_index"), QStringLiteral("Instability index:"));
    addRow(form, QStringLiteral("aliphatic_index"), QStringLiteral("Aliphatic index:"));
    addRow(form, QStringLiteral("gravy"), QStringLiteral("GRAVY:"));
    addRow(form, QStringLiteral("aromaticity"), QStringLiteral("Aromaticity:"));
    addRow(form, QStringLiteral("half_life_mammalian"),
           QStringLiteral("Half-life, mammalian reticulocytes (in vitro):"));
    addRow(form, QStringLiteral("half_life_yeast"), QStringLiteral("Half-life, yeast (in vivo):"));
    addRow(form, QStringLiteral("half_life_e_coli"),
           QStringLiteral("Half-life, E. coli (in vivo):"));
    addRow(form, QStringLiteral("composition"), QStringLiteral("Composition:"))->setWordWrap(true);

    auto* pIBox = new QGroupBox(QStringLiteral("Isoelectric point"));
    auto* pILayout = new QVBoxLayout(pIBox);
    m_pIs = new QTableWidget(0, 2);
    m_pIs->setObjectName(QStringLiteral("isoelectricPoints"));
    m_pIs->setHorizontalHeaderLabels({QStringLiteral("pKa set"), QStringLiteral("pI")});
    m_pIs->verticalHeader()->hide();
    m_pIs->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pIs->setSelectionMode(QAbstractItemView::NoSelection);
    m_pIs->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_pIs->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    pILayout->addWidget(m_pIs);
    m_spread = new QLabel;
    m_spread->setObjectName(QStringLiteral("isoelectric_point_spread"));
    pILayout->addWidget(m_spread);
    auto* copy = new QPushButton(QStringLiteral("&Copy"));
    copy->setObjectName(QStringLiteral("copySheet"));
    connect(copy, &QPushButton::clicked, this, &ParameterSheetPane::copyRequested);
    pILayout->addStretch();
    pILayout->addWidget(copy, 0, Qt::AlignRight);

    auto* scroll = new QScrollArea;
    scroll->setWidget(figures);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(scroll, 1);
    pIBox->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);
    layout->addWidget(pIBox);
}

QLabel* ParameterSheetPane::addRow(QFormLayout* form, const QString& key, const QString& label)
{
    auto* value = new QLabel;
    value->setObjectName(key);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(label, value);
    return value;
}

QString ParameterSheetPane::ValueText(const QString& key) const
{
    const auto* label = findChild<QLabel*>(key);
    return label != nullptr ? label->text() : QString();
}

void ParameterSheetPane::Show(const ParameterSheet& sheet)
{
    const auto set = [this](const QString& key, const QString& text) {
        findChild<QLabel*>(key)->setText(text);
    };
    set(QStringLiteral("length"), QString::number(sheet.length) + QStringLiteral(" residues"));
    set(QStringLiteral("average_mass"), fixed(sheet.averageMassDa, 2) + QStringLiteral(" Da"));
    set(QStringLiteral("monoisotopic_mass"),
        fixed(sheet.monoisotopicMassDa, 4) + QStringLiteral(" Da"));
    set(QStringLiteral("formula"), formulaHtml(sheet.formula));
    set(QStringLiteral("net_charge_ph7"),
        fixed(sheet.netChargePH7, 2) + QStringLiteral(" (settings' pKa values)"));
    const QString unit = QStringLiteral(" M\u207B\u00B9 cm\u207B\u00B9");
    set(QStringLiteral("extinction_280_cystines"),
        QString::number(sheet.extinctionCystines) + unit);
    set(QStringLiteral("extinction_280_reduced"), QString::number(sheet.extinctionReduced) + unit);
    set(QStringLiteral("absorbance_0_1_percent_cystines"), fixed(sheet.absorbanceCystines, 3));
    set(QStringLiteral("absorbance_0_1_percent_reduced"), fixed(sheet.absorbanceReduced, 3));
    set(QStringLiteral("instability_index"), instabilityText(sheet.instabilityIndex));
    set(QStringLiteral("aliphatic_index"), fixed(sheet.aliphaticIndex, 2));
    set(QStringLiteral("gravy"), fixed(sheet.gravy, 3));
    set(QStringLiteral("aromaticity"), fixed(sheet.aromaticity, 4));
    set(QStringLiteral("half_life_mammalian"), ToQString(sheet.halfLife.mammalian));
    set(QStringLiteral("half_life_yeast"), ToQString(sheet.halfLife.yeast));
    set(QStringLiteral("half_life_e_coli"), ToQString(sheet.halfLife.eColi));
    QStringList composition;
    for (std::size_t i = 0; i < sheet.composition.size(); ++i) {
        composition << QString(QLatin1Char(core::kResidueLetters[i])) + QLatin1Char(' ') +
                           QString::number(sheet.composition[i]);
    }
    set(QStringLiteral("composition"), composition.join(QStringLiteral(", ")));

    m_pIs->setRowCount(static_cast<int>(sheet.isoelectricPoints.size()));
    for (int row = 0; row < m_pIs->rowCount(); ++row) {
        const SetIsoelectricPoint& entry = sheet.isoelectricPoints[static_cast<std::size_t>(row)];
        m_pIs->setItem(row, 0, new QTableWidgetItem(ToQString(entry.set)));
        auto* pI = new QTableWidgetItem(fixed(entry.pI, 4));
        pI->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_pIs->setItem(row, 1, pI);
    }
    m_spread->setText(QStringLiteral("Spread (max \u2212 min): ") +
                      fixed(sheet.isoelectricPointSpread, 4));
}

} // namespace quorin::analysis::ui
