#pragma once

#include "core/LogFont.h"
#include "core/ProfileFile.h"
#include "core/RecentFileList.h"
#include "core/Settings.h"

#include <QFont>
#include <QObject>
#include <QPointer>
#include <QString>

#include <filesystem>
#include <memory>
#include <string_view>
#include <vector>

class QPrinter;

namespace quorin::core::ui {

class CPeptideDoc;

/// The desktop program's process-wide state: where the settings live, the
/// settings read at start-up, the default fonts, the recent files, the
/// printer, and which sequence document is current. One exists while the
/// program runs; Instance() reaches it from everywhere.
class Application : public QObject
{
    Q_OBJECT

public:
    static constexpr std::string_view kVersion = "3.01";

    /// Start-up up to the document templates: records startDirectory, finds
    /// the user-data directory through the registry store ("User data", else
    /// core::DefaultUserDataDirectory(), never startDirectory), places the
    /// starter settings there when it holds no "quorin.ini", reads the
    /// settings file (ReadStartupSettings, which writes the keys the file must
    /// hold), prepares the report fonts, gives dialogs their light-grey
    /// background and reads the recent files.
    explicit Application(const std::filesystem::path& startDirectory, QObject* parent = nullptr);
    ~Application() override;
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    /// The one alive; precondition: one exists.
    static Application& Instance();
    static bool Exists();

    const std::filesystem::path& StartDirectory() const { return m_startDirectory; }
    const std::filesystem::path& UserDataDirectory() const { return m_userDataDirectory; }
    /// Points the program at "quorin.ini" of another user-data directory, once
    /// the settings file was moved there.
    void SetUserDataDirectory(const std::filesystem::path& directory);
    /// The settings file, "quorin.ini" in the user-data directory.
    ProfileFile& SettingsFile() { return m_settingsFile; }
    AppSettings& Settings() { return m_settings; }
    /// Tells the open windows that Settings() changed, so that they take over
    /// what they draw from it (the plots' "Line Width").
    void NotifySettingsChanged() { emit settingsChanged(); }
    /// Tells the open wheels that the wheel options of Settings() changed, so
    /// that every sequence's wheels take them over. A change of other settings
    /// leaves a sequence's own "&Color" and "&Numbers" choices alone.
    void NotifyWheelOptionsChanged() { emit wheelOptionsChanged(); }
    /// Where the Open, Import, Export and batch dialogs start.
    QString WorkingDirectory() const;

    /// Arial 16 and Courier New 15 (core::ReportFontA and B), the faces of the
    /// plot pages' texts; font A is also every new sequence's wheel font.
    LOGFONT ReportFontA() const { return core::ReportFontA(); }
    LOGFONT ReportFontB() const { return core::ReportFontB(); }
    const QFont& SystemFont() const { return m_systemFont; }
    const QFont& FixedFont() const { return m_fixedFont; }

    const RecentFileList& RecentFiles() const { return m_recentFiles; }
    void AddToRecentFiles(const QString& path);
    void RemoveFromRecentFiles(const QString& path);
    /// Writes the list into the settings file (at exit).
    void WriteRecentFiles();

    /// Shows one message naming the settings entries whose numbers were not
    /// used; an entry reported once is not reported again while the program runs.
    void ReportRefusedSettings(const std::vector<RefusedSetting>& refused);

    /// The printer every print command and Print Setup share.
    QPrinter& Printer();

    /// The sequence document constructed last, while it is open.
    CPeptideDoc* CurrentDocument() const;
    void SetCurrentDocument(CPeptideDoc* document);

signals:
    void recentFilesChanged();
    void settingsChanged();
    void wheelOptionsChanged();
    /// Something the enabling of commands depends on changed.
    void stateChanged();

private:
    std::filesystem::path m_startDirectory;
    std::filesystem::path m_userDataDirectory;
    ProfileFile m_settingsFile;
    AppSettings m_settings;
    QFont m_systemFont;
    QFont m_fixedFont;
    RecentFileList m_recentFiles;
    std::vector<RefusedSetting> m_reportedSettings;
    std::unique_ptr<QPrinter> m_printer;
    QPointer<CPeptideDoc> m_currentDocument;
};

} // namespace quorin::core::ui
