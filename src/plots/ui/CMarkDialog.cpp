#include "plots/ui/CMarkDialog.h"

#include "core/MessageTexts.h"
#include "core/ui/GdiTypes.h"
#include "core/ui/Messages.h"
#include "core/ui/QtText.h"
#include "plots/PageSelection.h"
#include "plots/ui/PlotDialogs.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace quorin::plots::ui {

CMarkDialog::CMarkDialog(const core::MARK& start, int length, QWidget* parent)
    : QDialog(parent), m_mark(start), m_length(length), m_position(new QLineEdit(this)),
      m_lineColour(new QPushButton(QStringLiteral("&Line Color"), this))
{
    setWindowTitle(QStringLiteral("Mark Positions"));
    m_position->setObjectName(QStringLiteral("position"));
    if (start.position != 0) {
        m_position->setText(QString::number(start.position));
    }
    auto* font = new QPushButton(QStringLiteral("&Set Font"), this);
    font->setObjectName(QStringLiteral("setFont"));
    m_lineColour->setObjectName(QStringLiteral("lineColor"));
    showLineColour();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Position:"), m_position);
    auto* choosers = new QHBoxLayout;
    choosers->addWidget(font);
    choosers->addWidget(m_lineColour);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(choosers);
    layout->addWidget(buttons);

    connect(font, &QPushButton::clicked, this, &CMarkDialog::chooseFont);
    connect(m_lineColour, &QPushButton::clicked, this, &CMarkDialog::chooseLineColour);
    connect(buttons, &QDialogButtonBox::accepted, this, &CMarkDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CMarkDialog::reject);
}

void CMarkDialog::chooseFont()
{
    if (const auto chosen = Choosers().font(this, ChosenFont{m_mark.font, m_mark.labelColour})) {
        m_mark.font = chosen->font;
        m_mark.labelColour = chosen->colour;
    }
}

void CMarkDialog::chooseLineColour()
{
    if (const auto colour = Choosers().colour(this, m_mark.lineColour)) {
        m_mark.lineColour = *colour;
        showLineColour();
    }
}

void CMarkDialog::showLineColour()
{
    QPixmap swatch(16, 16);
    swatch.fill(core::ui::ColorFromColorref(m_mark.lineColour));
    m_lineColour->setIcon(QIcon(swatch));
}

void CMarkDialog::accept()
{
    const MarkPositionCheck check = CheckMarkPosition(m_position->text().toStdString(), m_length);
    if (!check.ok) {
        core::ui::ShowMessage(core::ui::ToQString(check.message),
                              core::ui::ToQString(core::msg::kError));
        m_position->setFocus();
        m_position->selectAll();
        return;
    }
    m_mark.position = static_cast<std::uint16_t>(check.position);
    m_mark.selected = 0;
    QDialog::accept();
}

} // namespace quorin::plots::ui
