#include "shell/ui/CSelectRangeDialog.h"

#include "shell/ui/NumberFields.h"

#include <QLineEdit>

namespace quorin::shell::ui {

using namespace number_fields;

CSelectRangeDialog::CSelectRangeDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("CSelectRangeDialog"));
    setWindowTitle(QStringLiteral("Select part of sequence"));
    m_first = numberField(QStringLiteral("first"), this);
    m_last = numberField(QStringLiteral("last"), this);
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Start position"), m_first);
    fields->addRow(QStringLiteral("End position"), m_last);
    layOut(*this, fields);
    m_first->setFocus();
}

int CSelectRangeDialog::First() const
{
    return numberOf(m_first);
}

int CSelectRangeDialog::Last() const
{
    return numberOf(m_last);
}

} // namespace quorin::shell::ui
