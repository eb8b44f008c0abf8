#include "analysis/ui/CMotifDialog.h"

#include "analysis/Motifs.h"
#include "core/MessageTexts.h"
#include "core/ui/Help.h"
#include "core/ui/Messages.h"
#include "core/ui/QtText.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

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

    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("search"));
    m_edit->setMaxLength(258);
    auto* box = new QGroupBox(QStringLiteral("Search string"), this);
    auto* boxLayout = new QVBoxLayout(box);
    boxLayout->addWidget(m_edit);
    boxLayout->addWidget(new QLabel(QStringLiteral("(AS;AT;AY;GX)"), box));

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
    resize(380, 120);
}

void CMotifDialog::accept()
{
    // A refusal leaves the text selected for correction.
    const auto refuse = [this](const std::string& message) {
        core::ui::ShowMessage(core::ui::ToQString(message), core::ui::ToQString(core::msg::kError));
        m_edit->setFocus();
        m_edit->selectAll();
    };
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
