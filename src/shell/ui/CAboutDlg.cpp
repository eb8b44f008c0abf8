#include "shell/ui/CAboutDlg.h"

#include "core/ui/Application.h"
#include "core/ui/QtText.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QSysInfo>
#include <QVBoxLayout>

#include <filesystem>

namespace quorin::shell::ui {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("CAboutDlg"));
    setWindowTitle(QStringLiteral("About Quorin"));

    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/icons/quorin.svg")).pixmap(48, 48));
    auto* name = new QLabel(QStringLiteral("<b>Quorin</b>"), this);
    name->setObjectName(QStringLiteral("name"));
    auto* version = new QLabel(
        QStringLiteral("Version ") + core::ui::ToQString(core::ui::Application::kVersion), this);
    version->setObjectName(QStringLiteral("version"));
    auto* platform = new QLabel(PlatformText(), this);
    platform->setObjectName(QStringLiteral("platform"));
    auto* purpose = new QLabel(QStringLiteral("Analysis of protein and peptide sequences"), this);
    // Where the reference data live, so that a user can find, back up or
    // share them.
    auto* settings = new QLabel(this);
    settings->setObjectName(QStringLiteral("settings"));
    if (core::ui::Application::Exists()) {
        const std::filesystem::path& file = core::ui::Application::Instance().SettingsFile().Path();
        settings->setText(QStringLiteral("Settings: ") +
                          QDir::toNativeSeparators(core::ui::ToQString(file.string())));
    }
    settings->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* texts = new QVBoxLayout;
    for (QLabel* label : {name, version, purpose, platform, settings}) {
        texts->addWidget(label);
    }
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(texts);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    setFixedSize(sizeHint());
}

QString CAboutDlg::PlatformText()
{
    return QSysInfo::prettyProductName() + QStringLiteral(", ") +
           QSysInfo::currentCpuArchitecture() + QStringLiteral(", Qt ") +
           QString::fromLatin1(qVersion());
}

} // namespace quorin::shell::ui
