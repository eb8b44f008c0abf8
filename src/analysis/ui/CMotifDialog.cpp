#include "analysis/ui/CMotifDialog.h"

#include "analysis/Motifs.h"
#include "analysis/Prosite.h"
#include "core/MessageTexts.h"
#include "core/ui/Help.h"
#include "core/ui/Messages.h"
#include "core/ui/QtText.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace quorin::analysis::ui {
namespace {

QPushButton* button(const QString& text, const QString& name, QWidget* parent)
{
    auto* result = new QPushButton(text, parent);
    result->setObjectName(name);
    result->setAutoDefault(false);
    return result;
}

} // namespace

CMotifDialog::CMotifDialog(core::PropertyRecord& record, QWidget* parent)
    : QDialog(parent), m_record(record)
{
    setObjectName(QStringLiteral("CMotifDialog"));
    setWindowTitle(QStringLiteral("Search for Sequence Motifs"));

    auto* box = new QGroupBox(QStringLiteral("Search string"), this);
    auto* quorin = new QRadioButton(QStringLiteral("&Quorin motifs"), box);
    quorin->setObjectName(QStringLiteral("quorinMotifs"));
    quorin->setChecked(true);
    m_prosite = new QRadioButton(QStringLiteral("P&ROSITE pattern"), box);
    m_prosite->setObjectName(QStringLiteral("prositePattern"));
    m_edit = new QLineEdit(box);
    m_edit->setObjectName(QStringLiteral("search"));
    m_example = new QLabel(box);
    auto* kinds = new QHBoxLayout;
    kinds->addWidget(quorin);
    kinds->addWidget(m_prosite);
    kinds->addStretch();
    auto* boxLayout = new QVBoxLayout(box);
    boxLayout->addLayout(kinds);
    boxLayout->addWidget(m_edit);
    boxLayout->addWidget(m_example);
    showSyntax();
    connect(m_prosite, &QRadioButton::toggled, this, [this] {
        showSyntax();
        m_edit->setFocus();
    });

    auto* ok = button(QStringLiteral("&OK"), QStringLiteral("ok"), this);
    ok->setDefault(true);
    auto* cancel = button(QStringLiteral("&Cancel"), QStringLiteral("cancel"), this);
    auto* help = button(QStringLiteral("?"), QStringLiteral("help"), this);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    buttons->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(box, 1);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &CMotifDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &CMotifDialog::reject);
    connect(help, &QPushButton::clicked, this,
            [] { core::ui::OpenHelpTopic(QStringLiteral("SEQUENCE MOTIF SEARCH")); });
    m_edit->setFocus();
    resize(380, 140);
}

bool CMotifDialog::PrositePattern() const
{
    return m_prosite->isChecked();
}

void CMotifDialog::showSyntax()
{
    // A pattern spells out what a motif abbreviates, so it may be longer.
    m_edit->setMaxLength(PrositePattern() ? 4096 : 258);
    m_example->setText(PrositePattern() ? QStringLiteral("(N-{P}-[ST]-{P}, C-x(2,4)-C)")
                                        : QStringLiteral("(AS;AT;AY;GX)"));
}

void CMotifDialog::accept()
{
    // A refusal leaves the text selected for correction.
    const auto refuse = [this](const std::string& message) {
        core::ui::ShowMessage(core::ui::ToQString(message), core::ui::ToQString(core::msg::kError));
        m_edit->setFocus();
        m_edit->selectAll();
    };
    if (PrositePattern()) {
        const PrositeParse parse = ParsePrositePattern(m_edit->text().toStdString());
        if (parse.Refused()) {
            core::ui::ShowMessage(core::ui::ToQString(parse.message),
                                  core::ui::ToQString(core::msg::kError));
            m_edit->setFocus();
            // The character at fault, or the end when the pattern stops short.
            const int at = static_cast<int>(parse.position) - 1;
            m_edit->setSelection(std::min(at, static_cast<int>(m_edit->text().size())), 1);
            return;
        }
        SearchPrositeMotif(m_record, parse.pattern);
        m_search = parse.pattern.Text();
        QDialog::accept();
        return;
    }
    const MotifSearchCheck check = CheckMotifSearch(m_edit->text().toStdString());
    if (check.Refused()) {
        refuse(check.message);
        return;
    }
    // A search past the site ceiling is refused as well: other motifs may
    // find fewer.
    const MotifSearchResult result = SearchMotifs(m_record, check.search);
    if (result.Refused()) {
        refuse(result.refusal);
        return;
    }
    m_search = check.search;
    QDialog::accept();
}

} // namespace quorin::analysis::ui
