#include "core/ui/Application.h"

#include "core/MessageTexts.h"
#include "core/StarterSettings.h"
#include "core/UserData.h"
#include "core/ui/CPeptideDoc.h"
#include "core/ui/Messages.h"
#include "core/ui/QtText.h"

#include <QApplication>
#include <QDialog>
#include <QFontDatabase>
#include <QPalette>
#include <QPrinter>
#include <QStringList>

#include <algorithm>
#include <cassert>

namespace quorin::core::ui {
namespace {

Application* g_instance = nullptr;

std::filesystem::path findUserDataDirectory(const std::filesystem::path& startDirectory)
{
    const ProfileFile registry(RegistryStorePath());
    std::filesystem::path directory = core::UserDataDirectory(registry);
    if (directory.empty()) {
        // No home at all: the start directory is the one place left.
        return startDirectory;
    }
    PlaceStarterSettings(directory);
    return directory;
}

} // namespace

Application::Application(const std::filesystem::path& startDirectory, QObject* parent)
    : QObject(parent), m_startDirectory(startDirectory),
      m_userDataDirectory(findUserDataDirectory(startDirectory)),
      m_settingsFile(SettingsFilePath(m_userDataDirectory))
{
    assert(g_instance == nullptr && "one application object at a time");
    g_instance = this;

    ReadStartupSettings(m_settingsFile, m_settings, m_startDirectory.string());

    m_systemFont = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    m_fixedFont = QFontDatabase::systemFont(QFontDatabase::FixedFont);

    if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) {
        QPalette dialogs = QApplication::palette();
        dialogs.setColor(QPalette::Window, QColor(192, 192, 192));
        dialogs.setColor(QPalette::WindowText, Qt::black);
        QApplication::setPalette(dialogs, "QDialog");
    }

    m_recentFiles.Read(m_settingsFile);
}

Application::~Application()
{
    g_instance = nullptr;
}

Application& Application::Instance()
{
    assert(g_instance != nullptr);
    return *g_instance;
}

bool Application::Exists()
{
    return g_instance != nullptr;
}

void Application::SetUserDataDirectory(const std::filesystem::path& directory)
{
    m_userDataDirectory = directory;
    m_settingsFile = ProfileFile(SettingsFilePath(directory));
}

QString Application::WorkingDirectory() const
{
    return ToQString(m_settings.workingDirectory);
}

void Application::AddToRecentFiles(const QString& path)
{
    m_recentFiles.Add(ToStdString(path));
    emit recentFilesChanged();
}

void Application::RemoveFromRecentFiles(const QString& path)
{
    m_recentFiles.Remove(ToStdString(path));
    emit recentFilesChanged();
}

void Application::WriteRecentFiles()
{
    m_recentFiles.Write(m_settingsFile);
}

void Application::ReportRefusedSettings(const std::vector<RefusedSetting>& refused)
{
    QStringList lines;
    for (const RefusedSetting& entry : refused) {
        if (std::find(m_reportedSettings.begin(), m_reportedSettings.end(), entry) ==
            m_reportedSettings.end()) {
            m_reportedSettings.push_back(entry);
            lines << ToQString(msg::RefusedSettingNumber(entry.section, entry.key));
        }
    }
    if (!lines.isEmpty()) {
        ShowMessage(lines.join('\n'), ToQString(msg::kProgramTitle));
    }
}

QPrinter& Application::Printer()
{
    if (!m_printer) {
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    }
    return *m_printer;
}

CPeptideDoc* Application::CurrentDocument() const
{
    return m_currentDocument.data();
}

void Application::SetCurrentDocument(CPeptideDoc* document)
{
    m_currentDocument = document;
    emit stateChanged();
}

} // namespace quorin::core::ui
