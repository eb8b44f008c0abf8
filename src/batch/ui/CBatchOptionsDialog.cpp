#include "batch/ui/CBatchOptionsDialog.h"

#include "analysis/Digest.h"
#include "core/MessageTexts.h"
#include "core/NumberText.h"
#include "core/ui/Messages.h"
#include "core/ui/QtText.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quorin::batch::ui {

using core::ui::ToQString;

CBatchOptionsDialog::CBatchOptionsDialog(core::ProfileFile& settings,
                                         const core::PropertyRecord& record, QWidget* parent)
    : QDialog(parent), m_settings(settings), m_record(record), m_options(ReadBatchOptions(settings))
{
    setWindowTitle(tr("Batch Options"));
    const auto check = [this](int id, const QString& text, bool BatchOptions::*field) {
        auto* box = new QCheckBox(text, this);
        box->setObjectName(QStringLiteral("check%1").arg(id));
        box->setChecked(m_options.*field);
        m_checks.emplace_back(field, box);
        return box;
    };

    auto* properties = new QGroupBox(tr("Properties"), this);
    auto* propertyGrid = new QGridLayout(properties);
    propertyGrid->addWidget(check(335, tr("&Length"), &BatchOptions::length), 0, 0);
    propertyGrid->addWidget(check(341, tr("&Molecular weight"), &BatchOptions::molecularWeight), 1,
                            0);
    propertyGrid->addWidget(check(346, tr("&Isoelectric point"), &BatchOptions::isoelectricPoint),
                            2, 0);
    // Named as the properties window names the value; the results column and
    // the settings key keep their stored names, "eps(urea)" and "Eps (urea)".
    propertyGrid->addWidget(
        check(343, tr("Molar absorption (denatured, &6M GdnHCl)"), &BatchOptions::epsUrea), 3, 0);
    propertyGrid->addWidget(check(342, tr("Molar absorption (&native)"), &BatchOptions::epsNative),
                            4, 0);
    propertyGrid->addWidget(
        check(345, tr("&Relative composition"), &BatchOptions::relativeComposition), 0, 1);
    propertyGrid->addWidget(
        check(344, tr("&Absolute composition"), &BatchOptions::absoluteComposition), 1, 1);
    QCheckBox* gravy = check(347, tr("&GRAVY"), &BatchOptions::gravy);
    propertyGrid->addWidget(gravy, 2, 1);
    m_scales = new QListWidget(this);
    m_scales->setObjectName(QStringLiteral("scales306"));
    for (const core::HYDROPATHYSCALE& scale : record.scales) {
        m_scales->addItem(ToQString(scale.name));
    }
    m_scales->setCurrentRow(
        ResolvedScaleIndex(m_options.scaleIndex, static_cast<int>(record.scales.size())));
    m_scales->setMaximumHeight(80);
    propertyGrid->addWidget(m_scales, 3, 1, 2, 1);
    QCheckBox* helices =
        check(348, tr("Predict transmembrane helices (Use of &Kyte and Doolittles scale advised!)"),
              &BatchOptions::helices);
    propertyGrid->addWidget(helices, 5, 0, 1, 2);
    m_threshold = new QLineEdit(ToQString(m_options.thresholdText), this);
    m_threshold->setObjectName(QStringLiteral("threshold300"));
    m_threshold->setEnabled(helices->isChecked());
    auto* thresholdRow = new QHBoxLayout;
    thresholdRow->addWidget(new QLabel(tr("Threshold:"), this));
    thresholdRow->addWidget(m_threshold);
    propertyGrid->addLayout(thresholdRow, 6, 0, 1, 2);
    connect(helices, &QCheckBox::toggled, m_threshold, &QLineEdit::setEnabled);

    auto* statistics = new QGroupBox(tr("Statistics"), this);
    auto* statisticsGrid = new QGridLayout(statistics);
    statisticsGrid->addWidget(check(349, tr("M&ean"), &BatchOptions::mean), 0, 0);
    statisticsGrid->addWidget(check(350, tr("Me&dian"), &BatchOptions::median), 1, 0);
    statisticsGrid->addWidget(check(351, tr("Mi&nimum"), &BatchOptions::minimum), 2, 0);
    statisticsGrid->addWidget(check(352, tr("Ma&ximum"), &BatchOptions::maximum), 0, 1);
    statisticsGrid->addWidget(
        check(353, tr("&Standard deviation"), &BatchOptions::standardDeviation), 1, 1);
    statisticsGrid->addWidget(check(354, tr("S&tandard error"), &BatchOptions::standardError), 2,
                              1);

    const auto radio = [this](int id, const QString& text, QButtonGroup* group) {
        auto* button = new QRadioButton(text, this);
        button->setObjectName(QStringLiteral("radio%1").arg(id));
        group->addButton(button);
        return button;
    };
    auto* log = new QGroupBox(tr("Log file"), this);
    auto* logLayout = new QVBoxLayout(log);
    auto* logGroup = new QButtonGroup(this);
    m_noLog = radio(100, tr("Non&e"), logGroup);
    m_defaultLog = radio(321, tr("De&fault name"), logGroup);
    m_customLog = radio(330, tr("&Custom name"), logGroup);
    (m_options.noLog            ? m_noLog
     : m_options.defaultLogName ? m_defaultLog
                                : m_customLog)
        ->setChecked(true);
    logLayout->addWidget(m_noLog);
    logLayout->addWidget(m_defaultLog);
    logLayout->addWidget(m_customLog);

    auto* results = new QGroupBox(tr("Results file"), this);
    auto* resultsLayout = new QVBoxLayout(results);
    auto* resultsGroup = new QButtonGroup(this);
    m_defaultResults = radio(331, tr("Default &name"), resultsGroup);
    m_customResults = radio(332, tr("Cu&stom name"), resultsGroup);
    (m_options.defaultResultsName ? m_defaultResults : m_customResults)->setChecked(true);
    resultsLayout->addWidget(m_defaultResults);
    resultsLayout->addWidget(m_customResults);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* proceed = buttons->addButton(tr("Pr&oceed"), QDialogButtonBox::AcceptRole);
    proceed->setObjectName(QStringLiteral("proceed"));
    proceed->setDefault(true);
    QPushButton* digest = buttons->addButton(tr("Batch digest"), QDialogButtonBox::ActionRole);
    digest->setObjectName(QStringLiteral("button109"));
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &CBatchOptionsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CBatchOptionsDialog::reject);
    connect(digest, &QPushButton::clicked, this, &CBatchOptionsDialog::batchDigest);

    auto* layout = new QGridLayout(this);
    layout->addWidget(properties, 0, 0, 1, 2);
    layout->addWidget(statistics, 1, 0, 1, 2);
    layout->addWidget(log, 2, 0);
    layout->addWidget(results, 2, 1);
    layout->addWidget(buttons, 3, 0, 1, 2);
}

bool CBatchOptionsDialog::take()
{
    const std::string threshold = core::ui::ToStdString(m_threshold->text());
    if (!ThresholdTextValid(threshold)) {
        core::ui::ShowMessage(ToQString(core::msg::kBatchInvalidThreshold),
                              ToQString(core::msg::kError));
        m_threshold->setFocus();
        m_threshold->selectAll();
        return false;
    }
    for (const auto& [field, box] : m_checks) {
        m_options.*field = box->isChecked();
    }
    m_options.scaleIndex = std::max(m_scales->currentRow(), 0);
    m_options.thresholdText = threshold;
    m_options.threshold = core::ParseLeadingDouble(threshold);
    m_options.noLog = m_noLog->isChecked();
    m_options.defaultLogName = m_defaultLog->isChecked();
    m_options.defaultResultsName = m_defaultResults->isChecked();
    WriteBatchOptions(m_settings, m_options);
    return true;
}

void CBatchOptionsDialog::accept()
{
    m_options.batchDigest = false;
    if (take()) {
        QDialog::accept();
    }
}

void CBatchOptionsDialog::batchDigest()
{
    if (!analysis::CleavingAgentsDefined(m_record.agents)) {
        core::ui::ShowMessage(ToQString(core::msg::kNoCleavingAgents), ToQString(core::msg::kNote));
        return;
    }
    if (take()) {
        m_options.batchDigest = true;
        QDialog::accept();
    }
}

} // namespace quorin::batch::ui
