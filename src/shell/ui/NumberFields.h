#pragma once

#include "core/NumberText.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

// The number fields of the editor's small dialogs (Go to, Select from... to...).
namespace quorin::shell::ui::number_fields {

inline QLineEdit* numberField(const QString& name, QWidget* parent)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    return field;
}

inline int numberOf(const QLineEdit* field)
{
    return core::ParseLeadingInt(field->text().toStdString());
}

/// The fields above OK and Cancel.
inline void layOut(QDialog& dialog, QFormLayout* fields)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addLayout(fields);
    layout->addWidget(buttons);
}

} // namespace quorin::shell::ui::number_fields
