#include "core/ui/GdiTypes.h"
#include "core/ui/Help.h"
#include "core/ui/QtText.h"
#include "shell/ui/PreferencePages.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace quorin::shell::ui {

using core::ui::ToQString;

CWheelPropertiesPage::CWheelPropertiesPage(const core::AppSettings& settings, QWidget* parent)
    : CPreferencePage(QStringLiteral("Helical Wheel Options"),
                      QStringLiteral("PREFERENCES HELICAL WHEEL"), parent)
{
    setObjectName(QStringLiteral("CWheelPropertiesPage"));
    m_wheel.lineWidth = settings.wheelLineWidth;
    m_wheel.colorCode = settings.wheelColorCode;
    m_wheel.numbers = settings.wheelNumbers;
    m_wheel.font = settings.wheelFont;
    m_wheel.colours = settings.colours;

    m_residues = new QListWidget(this);
    m_residues->setObjectName(QStringLiteral("residues"));
    for (const std::string_view caption : kWheelResidueCaptions) {
        m_residues->addItem(ToQString(caption));
    }
    auto* group = new QLabel(QStringLiteral("Group:"), this);
    group->setBuddy(m_residues);

    auto* colourBox = new QGroupBox(QStringLiteral("Color"), this);
    m_swatch = new QPushButton(colourBox);
    m_swatch->setObjectName(QStringLiteral("colour"));
    m_swatch->setMinimumSize(64, 32);
    m_swatch->setIconSize(QSize(48, 20));
    (new QVBoxLayout(colourBox))->addWidget(m_swatch);

    auto* changeFont = new QPushButton(QStringLiteral("Change &Font"), this);
    changeFont->setObjectName(QStringLiteral("changeFont"));
    m_useColours = new QCheckBox(QStringLiteral("Use &Colors"), this);
    m_useColours->setObjectName(QStringLiteral("useColors"));
    m_useColours->setChecked(m_wheel.colorCode != 0);
    m_numbers = new QCheckBox(QStringLiteral("Display &Numbers"), this);
    m_numbers->setObjectName(QStringLiteral("displayNumbers"));
    m_numbers->setChecked(m_wheel.numbers != 0);
    m_lineWidth = sizeField(QStringLiteral("lineWidth"), this, m_wheel.lineWidth, kMinLineWidth,
                            kMaxLineWidth);
    auto* lineWidth = new QFormLayout;
    lineWidth->addRow(QStringLiteral("&Line Width"), m_lineWidth);
    auto* defaults = new QPushButton(QStringLiteral("All to &Default"), this);
    defaults->setObjectName(QStringLiteral("allToDefault"));
    auto* help = new QPushButton(QStringLiteral("?"), this);
    help->setObjectName(QStringLiteral("pageHelp"));

    auto* side = new QVBoxLayout;
    side->addWidget(colourBox);
    side->addWidget(changeFont);
    side->addWidget(m_useColours);
    side->addWidget(m_numbers);
    side->addLayout(lineWidth);
    side->addStretch(1);
    side->addWidget(defaults);
    side->addWidget(help);
    auto* layout = new QGridLayout(this);
    layout->addWidget(group, 0, 0);
    layout->addWidget(m_residues, 1, 0);
    layout->addLayout(side, 0, 1, 2, 1);

    connect(m_residues, &QListWidget::currentRowChanged, this, &CWheelPropertiesPage::showColour);
    connect(m_swatch, &QPushButton::clicked, this, &CWheelPropertiesPage::chooseColour);
    connect(changeFont, &QPushButton::clicked, this, &CWheelPropertiesPage::chooseFont);
    connect(defaults, &QPushButton::clicked, this, &CWheelPropertiesPage::allToDefault);
    connect(help, &QPushButton::clicked, this, [this] { core::ui::OpenHelpTopic(HelpKeyword()); });
    connect(m_useColours, &QCheckBox::toggled, this, [this](bool on) {
        m_wheel.colorCode = on ? 1 : 0;
        SetModified();
    });
    connect(m_numbers, &QCheckBox::toggled, this, [this](bool on) {
        m_wheel.numbers = on ? 1 : 0;
        SetModified();
    });
    m_residues->setCurrentRow(0);
}

int CWheelPropertiesPage::residue() const
{
    return std::max(0, m_residues->currentRow()) + 1;
}

void CWheelPropertiesPage::showColour()
{
    QPixmap swatch(m_swatch->iconSize());
    swatch.fill(core::ui::ColorFromColorref(m_wheel.colours[static_cast<std::size_t>(residue())]));
    m_swatch->setIcon(swatch);
}

void CWheelPropertiesPage::chooseColour()
{
    core::COLORREF& colour = m_wheel.colours[static_cast<std::size_t>(residue())];
    if (const auto chosen = PrefChoosers().colour(this, colour)) {
        colour = *chosen;
        showColour();
        SetModified();
    }
}

void CWheelPropertiesPage::chooseFont()
{
    if (const auto chosen = PrefChoosers().font(this, m_wheel.font)) {
        m_wheel.font = *chosen;
        SetModified();
    }
}

void CWheelPropertiesPage::allToDefault()
{
    for (int i = 1; i <= 20; ++i) {
        m_wheel.colours[static_cast<std::size_t>(i)] = core::DefaultResidueColour(i);
    }
    showColour();
    SetModified();
}

void CWheelPropertiesPage::Collect(PreferenceChanges& changes)
{
    changes.wheel = m_wheel;
}

} // namespace quorin::shell::ui
