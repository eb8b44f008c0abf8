#pragma once

#include "core/LogFont.h"
#include "core/Residue.h"
#include "shell/Preferences.h"

#include <QDialog>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

class QDialogButtonBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;

namespace quorin::core::ui {
class Application;
class CPeptideDoc;
} // namespace quorin::core::ui

namespace quorin::shell::ui {

class WindowHost;
class CWorkDirPage;

/// One page of the Preferences sheet: it edits copies of the settings, checks
/// its entries as the user moves between them, and on confirmation adds what
/// it writes to the sheet's changes.
class CPreferencePage : public QWidget
{
    Q_OBJECT

public:
    CPreferencePage(const QString& title, const QString& helpKeyword, QWidget* parent = nullptr);

    QString Title() const { return m_title; }
    QString HelpKeyword() const { return m_helpKeyword; }

    bool IsModified() const { return m_modified; }
    /// Marks the page changed (enabling Apply) or, after a confirmation, not.
    void SetModified(bool modified = true);

    /// The confirm step's check of the entry on show. False after its message,
    /// with the page on show and the offending field focused and selected.
    virtual bool CheckShown() { return true; }
    /// Adds the settings the page writes.
    virtual void Collect(PreferenceChanges& changes) = 0;
    /// The changes were written and taken over: the page's copies are now the
    /// program's.
    virtual void Confirmed() { SetModified(false); }

signals:
    void modifiedChanged(bool modified);
    /// The page shows a message about one of its entries and is to be on show.
    void showRequested();

protected:
    /// Shows a check's message titled "Error" with the page on show, then
    /// gives field the focus with its text selected.
    void refuse(const std::string& message, QLineEdit* field);
    /// Puts the selection of list back on row after a refused check, without
    /// signals, now and once more when the event that moved it (a mouse press
    /// still selecting) is over.
    static void keepRow(QListWidget* list, int row);
    /// A line edit whose edits mark the page modified.
    QLineEdit* field(const QString& name, QWidget* parent);
    /// A field of a size in [minimum, maximum] kept in accepted: each edit is
    /// taken when it is digits only and in range, an empty field keeps the last
    /// value, any other text is replaced at once by the last value accepted.
    QLineEdit* sizeField(const QString& name, QWidget* parent, int& accepted, int minimum,
                         int maximum);
    /// The page's "&Default" button (object name "default"): a click calls
    /// reset, which puts the page's entries back, and marks the page modified.
    QPushButton* defaultButton(std::function<void()> reset);

private:
    QString m_title;
    QString m_helpKeyword;
    bool m_modified = false;
};

/// "Preferences": the pages of the settings, the four that edit the
/// sequence's tables only with a sequence document. OK and Apply run the
/// confirm step of each modified page: every check passes, then every change
/// is written in one replacement of the settings file, and only then taken
/// over by the program; a failed check or write keeps the sheet open with
/// nothing changed. Cancel drops what the pages hold.
class COptionsPropSheet : public QDialog
{
    Q_OBJECT

public:
    COptionsPropSheet(core::ui::Application& app, core::ui::CPeptideDoc* document,
                      QWidget* parent = nullptr);

    /// The pages in their tab order.
    const std::vector<CPreferencePage*>& Pages() const { return m_pages; }
    QTabWidget& Tabs() { return *m_tabs; }

    /// Confirms the modified pages; false when a check or the write failed
    /// (the sheet then stays open).
    bool Apply();
    void accept() override;

    /// The settings moved to another directory: the program is to end and
    /// start again.
    bool RestartRequested() const { return m_restart; }

private:
    void updateApply();

    core::ui::Application& m_app;
    core::ui::CPeptideDoc* m_document;
    QTabWidget* m_tabs = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
    CWorkDirPage* m_directories = nullptr;
    std::vector<CPreferencePage*> m_pages;
    bool m_restart = false;
};

/// The colour and font dialogs of the wheel page and the program's restart,
/// replaceable by tests.
struct PreferenceChoosers
{
    std::function<std::optional<core::COLORREF>(QWidget* parent, core::COLORREF current)> colour;
    std::function<std::optional<core::LOGFONT>(QWidget* parent, const core::LOGFONT& current)> font;
    /// Starts the program file again with arguments and ends this run with
    /// exit code 1; called once the main window has closed.
    std::function<void(const QStringList& arguments)> restart;
};

PreferenceChoosers& PrefChoosers();
/// The colour and font dialogs, and the restart through a new process.
PreferenceChoosers StandardPrefChoosers();

/// The Preferences command: shows the sheet over the main window; after OK the
/// sequence's windows show it again, and a moved settings file restarts the
/// program: the save question, the main window closed, then the program
/// started again with the sequence's file when it has one that opens.
/// Cancel in the save question keeps this run going with the settings in
/// their new place.
void ShowPreferences(WindowHost& frame);

} // namespace quorin::shell::ui
