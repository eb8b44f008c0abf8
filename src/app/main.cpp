#include "core/FileIo.h"
#include "core/ui/Application.h"
#include "shell/ui/CMainFrame.h"
#include "shell/ui/StartUp.h"

#include <QApplication>
#include <QIcon>

#include <filesystem>

int main(int argc, char** argv)
{
    quorin::core::InstallTemporaryFileCleanup();
    QApplication qtApplication(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorin"));
    QApplication::setApplicationVersion(QStringLiteral("3.01"));
    QApplication::setDesktopFileName(QStringLiteral("quorin"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/quorin.svg")));

    std::error_code error;
    auto start = std::filesystem::current_path(error);
    quorin::core::ui::Application app(error ? std::filesystem::path(".") : start);
    auto mainFrame = quorin::shell::ui::InitInstance(app, QApplication::arguments().mid(1));
    return QApplication::exec();
}
