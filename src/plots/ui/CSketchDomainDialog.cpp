#include "plots/ui/CSketchDomainDialog.h"

#include "core/MessageTexts.h"
#include "core/ui/GdiTypes.h"
#include "core/ui/Messages.h"
#include "core/ui/QtText.h"
#include "plots/SketchPage.h"
#include "plots/ui/PlotDialogs.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace quorin::plots::ui {

using core::ui::ToQString;

CSketchDomainDialog::CSketchDomainDialog(const std::vector<core::DOMAINE>& domains, int editing,
                                         int positionCount, QWidget* parent)
    : QDialog(parent), m_domains(domains), m_editing(editing), m_positionCount(positionCount),
      m_name(new QLineEdit(this)), m_start(new QLineEdit(this)), m_end(new QLineEdit(this)),
      m_display(new QCheckBox(QStringLiteral("&Display name"), this)),
      m_colour(new QPushButton(this))
{
    setWindowTitle(QStringLiteral("Domain properties"));
    m_name->setObjectName(QStringLiteral("name"));
    m_start->setObjectName(QStringLiteral("start"));
    m_end->setObjectName(QStringLiteral("end"));
    m_display->setObjectName(QStringLiteral("displayName"));
    m_colour->setObjectName(QStringLiteral("domainColor"));
    m_name->setMaxLength(kDomainNameLength);
    if (editing >= 0 && static_cast<std::size_t>(editing) < domains.size()) {
        m_domain = domains[static_cast<std::size_t>(editing)];
        m_name->setText(ToQString(m_domain.name));
        m_start->setText(QString::number(m_domain.start));
        m_end->setText(QString::number(m_domain.end));
        m_display->setChecked(m_domain.displayName != 0);
    } else {
        m_editing = -1;
        m_domain.font = core::ReportFontA();
        m_domain.colour = kDefaultDomainColour;
    }
    showColour();

    auto* font = new QPushButton(QStringLiteral("Choose &Font"), this);
    font->setObjectName(QStringLiteral("chooseFont"));
    auto* ok = new QPushButton(QStringLiteral("&Ok"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cancel->setObjectName(QStringLiteral("cancel"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Name:"), m_name);
    form->addRow(QStringLiteral("&Start:"), m_start);
    form->addRow(QStringLiteral("&End:"), m_end);
    auto* looks = new QHBoxLayout;
    looks->addWidget(m_display);
    looks->addWidget(font);
    auto* colourLabel = new QLabel(QStringLiteral("&Set Domain Color:"), this);
    colourLabel->setBuddy(m_colour);
    looks->addWidget(colourLabel);
    looks->addWidget(m_colour);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(looks);
    layout->addLayout(buttons);

    connect(font, &QPushButton::clicked, this, &CSketchDomainDialog::chooseFont);
    connect(m_colour, &QPushButton::clicked, this, &CSketchDomainDialog::chooseColour);
    connect(ok, &QPushButton::clicked, this, &CSketchDomainDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &CSketchDomainDialog::reject);
}

void CSketchDomainDialog::chooseFont()
{
    if (const auto chosen =
            Choosers().font(this, ChosenFont{m_domain.font, m_domain.labelColour})) {
        m_domain.font = chosen->font;
        m_domain.labelColour = chosen->colour;
    }
}

void CSketchDomainDialog::chooseColour()
{
    if (const auto colour = Choosers().colour(this, m_domain.colour)) {
        m_domain.colour = *colour;
        showColour();
    }
}

void CSketchDomainDialog::showColour()
{
    QPixmap swatch(24, 16);
    swatch.fill(core::ui::ColorFromColorref(m_domain.colour));
    m_colour->setIcon(QIcon(swatch));
}

void CSketchDomainDialog::accept()
{
    const DomainCheck check =
        CheckDomain(m_name->text().toStdString(), m_start->text().toStdString(),
                    m_end->text().toStdString(), m_domains, m_editing, m_positionCount);
    if (!check.ok) {
        QLineEdit* field = check.field == DomainField::Name    ? m_name
                           : check.field == DomainField::Start ? m_start
                                                               : m_end;
        if (!check.message.empty()) {
            core::ui::ShowMessage(ToQString(check.message), ToQString(core::msg::kError));
        }
        field->setFocus();
        field->selectAll();
        return;
    }
    m_domain.name = m_name->text().toStdString();
    m_domain.start = check.start;
    m_domain.end = check.end;
    m_domain.displayName = m_display->isChecked() ? 1 : 0;
    QDialog::accept();
}

} // namespace quorin::plots::ui
