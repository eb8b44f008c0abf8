#include "shell/ui/CGoToDialog.h"

#include "shell/ui/NumberFields.h"

#include <QLineEdit>

namespace quorin::shell::ui {

using namespace number_fields;

CGoToDialog::CGoToDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("CGoToDialog"));
    setWindowTitle(QStringLiteral("Go to position"));
    m_position = numberField(QStringLiteral("position"), this);
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Position"), m_position);
    layOut(*this, fields);
    m_position->setFocus();
}

int CGoToDialog::Position() const
{
    return numberOf(m_position);
}

} // namespace quorin::shell::ui
