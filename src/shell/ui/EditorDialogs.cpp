#include "shell/ui/EditorDialogs.h"

#include "core/NumberText.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

namespace quorin::shell::ui {
namespace {

QLineEdit* numberField(const QString& name, QWidget* parent)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    return field;
}

int numberOf(const QLineEdit* field)
{
    return core::ParseLeadingInt(field->text().toStdString());
}

/// The fields above OK and Cancel.
void layOut(QDialog& dialog, QFormLayout* fields)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addLayout(fields);
    layout->addWidget(buttons);
}

} // namespace

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
