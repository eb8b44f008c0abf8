#include "analysis/ui/CDigestOptionsDialog.h"

#include "core/MessageTexts.h"
#include "core/ui/Messages.h"
#include "core/ui/QtText.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include <limits>

namespace quorin::analysis::ui {
namespace {

using core::ui::ToQString;

/// The missed cleavages the field offers while the limit is off: the common
/// choice for tryptic peptides.
constexpr int kSuggestedMissed = 2;

QLineEdit* numberField(const QString& name, QWidget* parent)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setMaximumWidth(80);
    return field;
}

} // namespace

CDigestOptionsDialog::CDigestOptionsDialog(const DigestOptions& options, QWidget* parent)
    : QDialog(parent), m_options(options)
{
    setObjectName(QStringLiteral("CDigestOptionsDialog"));
    setWindowTitle(QStringLiteral("Digest Options"));

    m_limitMissed = new QCheckBox(QStringLiteral("&Limit missed cleavages"), this);
    m_limitMissed->setObjectName(QStringLiteral("limitMissed"));
    m_limitMissed->setChecked(options.maxMissed.has_value());
    m_maxMissed = numberField(QStringLiteral("maxMissed"), this);
    m_maxMissed->setText(QString::number(options.maxMissed.value_or(kSuggestedMissed)));
    m_maxMissed->setEnabled(m_limitMissed->isChecked());
    connect(m_limitMissed, &QCheckBox::toggled, m_maxMissed, &QWidget::setEnabled);

    m_minLength = numberField(QStringLiteral("minLength"), this);
    if (options.minLength > 0) {
        m_minLength->setText(QString::number(options.minLength));
    }
    m_maxLength = numberField(QStringLiteral("maxLength"), this);
    if (options.maxLength < std::numeric_limits<int>::max()) {
        m_maxLength->setText(QString::number(options.maxLength));
    }
    auto* minLabel = new QLabel(QStringLiteral("Mi&nimum length:"), this);
    minLabel->setBuddy(m_minLength);
    auto* maxLabel = new QLabel(QStringLiteral("Ma&ximum length:"), this);
    maxLabel->setBuddy(m_maxLength);

    auto* fragments = new QGroupBox(QStringLiteral("Fragments"), this);
    auto* fragmentGrid = new QGridLayout(fragments);
    fragmentGrid->addWidget(m_limitMissed, 0, 0);
    fragmentGrid->addWidget(m_maxMissed, 0, 1);
    fragmentGrid->addWidget(minLabel, 1, 0);
    fragmentGrid->addWidget(m_minLength, 1, 1);
    fragmentGrid->addWidget(maxLabel, 2, 0);
    fragmentGrid->addWidget(m_maxLength, 2, 1);
    fragmentGrid->addWidget(new QLabel(QStringLiteral("residues; empty: no bound"), this), 1, 2, 2,
                            1);

    m_average = new QRadioButton(QStringLiteral("&Average"), this);
    m_average->setObjectName(QStringLiteral("average"));
    m_monoisotopic = new QRadioButton(QStringLiteral("&Monoisotopic"), this);
    m_monoisotopic->setObjectName(QStringLiteral("monoisotopic"));
    (options.monoisotopic ? m_monoisotopic : m_average)->setChecked(true);
    auto* masses = new QGroupBox(QStringLiteral("Masses"), this);
    auto* massRow = new QHBoxLayout(masses);
    massRow->addWidget(m_average);
    massRow->addWidget(m_monoisotopic);
    massRow->addStretch();

    m_charges = new QLineEdit(this);
    m_charges->setObjectName(QStringLiteral("charges"));
    m_charges->setPlaceholderText(QStringLiteral("e.g. 1,2,3"));
    QStringList charges;
    for (const int charge : options.charges) {
        charges << QString::number(charge);
    }
    m_charges->setText(charges.join(QLatin1Char(',')));
    auto* chargeLabel = new QLabel(QStringLiteral("&Charge states for m/z columns:"), this);
    chargeLabel->setBuddy(m_charges);
    auto* chargeRow = new QHBoxLayout;
    chargeRow->addWidget(chargeLabel);
    chargeRow->addWidget(m_charges, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CDigestOptionsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CDigestOptionsDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fragments);
    layout->addWidget(masses);
    layout->addLayout(chargeRow);
    layout->addWidget(buttons);
}

void CDigestOptionsDialog::accept()
{
    const std::string maxMissed = m_maxMissed->text().toStdString();
    const std::string minLength = m_minLength->text().toStdString();
    const std::string maxLength = m_maxLength->text().toStdString();
    const std::string charges = m_charges->text().toStdString();
    const DigestOptionsCheck check =
        CheckDigestOptions({m_limitMissed->isChecked(), maxMissed, minLength, maxLength,
                            m_monoisotopic->isChecked(), charges});
    if (!check.ok) {
        core::ui::ShowMessage(ToQString(check.message), ToQString(core::msg::kError));
        QLineEdit* offending = nullptr;
        switch (check.focus) {
        case DigestOptionsField::MaxMissed:
            offending = m_maxMissed;
            break;
        case DigestOptionsField::MinLength:
            offending = m_minLength;
            break;
        case DigestOptionsField::MaxLength:
            offending = m_maxLength;
            break;
        case DigestOptionsField::Charges:
            offending = m_charges;
            break;
        case DigestOptionsField::None:
            break;
        }
        if (offending != nullptr) {
            offending->setFocus();
            offending->selectAll();
        }
        return;
    }
    const std::uint64_t maxFragments = m_options.maxFragments;
    const bool completeOnly = m_options.completeOnly;
    m_options = check.options;
    m_options.maxFragments = maxFragments;
    m_options.completeOnly = completeOnly;
    QDialog::accept();
}

} // namespace quorin::analysis::ui
