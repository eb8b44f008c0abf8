#include "plots/ui/CExportDialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include <array>

namespace quorin::plots::ui {
namespace {

struct Choice
{
    const char* text;
    const char* delimiter; ///< nullptr: the edit field's text
};

constexpr std::array<Choice, 6> kChoices = {{
    {"tabulator", "\t"},
    {"space", " "},
    {";", ";"},
    {",", ","},
    {"-", "-"},
    {"other", nullptr},
}};

constexpr int kOther = 5;
constexpr int kOtherField = 9;

} // namespace

CExportDialog::CExportDialog(QWidget* parent)
    : QDialog(parent), m_choices(new QButtonGroup(this)), m_other(new QLineEdit(this))
{
    setWindowTitle(QStringLiteral("Choose Delimiter!"));
    m_other->setObjectName(QStringLiteral("otherDelimiter"));
    m_other->setMaxLength(kOtherField);
    m_other->setEnabled(false);
    auto* grid = new QGridLayout;
    for (int i = 0; i < static_cast<int>(kChoices.size()); ++i) {
        auto* button =
            new QRadioButton(QString::fromLatin1(kChoices[static_cast<std::size_t>(i)].text), this);
        button->setObjectName(QStringLiteral("delimiter%1").arg(i));
        m_choices->addButton(button, i);
        grid->addWidget(button, i, 0);
    }
    grid->addWidget(m_other, kOther, 1);
    m_choices->button(0)->setChecked(true);
    connect(m_choices, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (id == kOther) {
            m_other->setEnabled(checked);
            if (checked) {
                m_other->setFocus();
            }
        }
    });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CExportDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CExportDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
}

void CExportDialog::accept()
{
    const int chosen = m_choices->checkedId();
    if (chosen < 0) {
        return;
    }
    if (chosen == kOther) {
        const QString typed = m_other->text().left(kOtherField);
        if (typed.isEmpty()) {
            return;
        }
        m_delimiter = typed.toStdString();
    } else {
        m_delimiter = kChoices[static_cast<std::size_t>(chosen)].delimiter;
    }
    QDialog::accept();
}

} // namespace quorin::plots::ui
