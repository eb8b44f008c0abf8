#include "plots/ui/CTextDialog.h"

#include "core/ui/QtText.h"
#include "plots/ui/PlotDialogs.h"

#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quorin::plots::ui {

CTextDialog::CTextDialog(const core::TEXTITEM& start, QWidget* parent)
    : QDialog(parent), m_text(new QPlainTextEdit(this)), m_font(start.font), m_colour(start.colour)
{
    setWindowTitle(QStringLiteral("Insert Text"));
    m_text->setObjectName(QStringLiteral("text"));
    QString shown = core::ui::ToQString(start.text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_text->setPlainText(shown);
    auto* font = new QPushButton(QStringLiteral("&Font"), this);
    font->setObjectName(QStringLiteral("font"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->addButton(font, QDialogButtonBox::ActionRole);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(buttons);

    connect(font, &QPushButton::clicked, this, [this] {
        if (const auto chosen = Choosers().font(this, ChosenFont{m_font, m_colour})) {
            m_font = chosen->font;
            m_colour = chosen->colour;
        }
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &CTextDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CTextDialog::reject);
}

std::string CTextDialog::Text() const
{
    QString text = m_text->toPlainText();
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text.toStdString();
}

} // namespace quorin::plots::ui
