#pragma once

#include "core/ui/CommandTarget.h"
#include "core/ui/Notifications.h"
#include "shell/GenPept.h"
#include "shell/ProgressPanes.h"
#include "shell/WindowKinds.h"
#include "shell/ui/WindowHost.h"

#include <QDialog>
#include <QList>
#include <QMainWindow>
#include <QPointer>

#include <array>
#include <optional>

class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QToolBar;

namespace quorin::core::ui {
class Application;
class CPeptideDoc;
} // namespace quorin::core::ui

namespace quorin::shell::ui {

class ChildFrame;
class HelpWindow;

/// The main window: the document windows in its workspace, the menus and
/// accelerators of the active window's kind, the toolbar and the status bar.
/// It routes every command to the active view, then that view's document,
/// then itself, and handles the application's own commands: New, Open, the
/// recent files, Import, Print Setup, Exit, the windows and help.
///
/// Its jobs have a file each: MainFrameRouting.cpp (the route and the
/// application's commands), MainFrameDocuments.cpp (New, Open, Import, close,
/// drops), MainFrameDownload.cpp (the Download command), MainFramePlacement.cpp
/// (where windows open, which is active) and MainFrameBars.cpp (menus,
/// accelerators, toolbar, status bar).
class CMainFrame : public QMainWindow,
                   public core::ui::CommandTarget,
                   public core::ui::NotificationReceiver,
                   public WindowHost
{
    Q_OBJECT

public:
    explicit CMainFrame(core::ui::Application& app, QWidget* parent = nullptr);
    ~CMainFrame() override;

    /// The kind of the active document window; Empty when there is none.
    WindowKind ActiveKind() const;
    ChildFrame* ActiveFrame() const;
    QList<ChildFrame*> Frames() const override;
    QMdiArea* Workspace() const { return m_workspace; }
    /// The open windows are the one record of what is open: nothing else
    /// keeps flags or counts of them.
    int WindowCount(WindowKind kind,
                    const core::ui::CPeptideDoc* document = nullptr) const override;
    QMainWindow& Window() override { return *this; }
    void Activate(ChildFrame& frame) override;
    QSize WorkspaceSize() const override;

    /// A command's state along the route; nothing when no stop handles it
    /// (the command is then disabled).
    std::optional<core::ui::CommandState> RoutedStateOf(int id);
    /// Runs a command along the route when it is enabled; false otherwise.
    bool Execute(int id);

    bool CloseSequenceDocument() override;
    /// New: closes the current document, then creates an empty one with its
    /// editor window. Returns it, or nullptr when the close was cancelled.
    core::ui::CPeptideDoc* NewDocument();
    /// Closes the current document, then opens a sequence file (Open after
    /// its dialog, the recent files, the command line, dropped files).
    bool OpenDocumentFile(const QString& path);
    /// The Open command: asks for a file, then closes the current document
    /// (with its save question) and opens the file. Cancel in either changes
    /// nothing.
    void OpenWithDialog();
    /// The Import command, in the same order as Open.
    void ImportText();
    /// The Download command: asks for an accession number and downloads its
    /// record (CDownloadDialog); only then closes the current document (its
    /// save question may keep it, and the download is dropped). The record
    /// becomes a new, modified sequence document, "Accession X" in its
    /// remarks, when MSG_PROGRESS 111 arrives. One download at a time: while
    /// one runs the command does nothing.
    void DownloadSequence();

    ChildFrame* OpenWindow(WindowKind kind, core::ui::CPeptideDoc& document,
                           const std::any& request = {}) override;
    void CloseWindowsOf(QObject* plotDocument) override;
    void RedrawWindowsOf(QObject* plotDocument) override;

    /// Handles MSG_PROGRESS and MSG_BYTES_RECEIVED (from the GUI thread; use
    /// core::ui::PostNotification from workers).
    void OnNotification(int message, int value) override;
    const ProgressPanes& Progress() const { return m_progress; }
    /// The message pane: what a long run (the batch) is doing, then how it
    /// ended, until the next one; an empty text gives back "Ready".
    void SetStatusText(const QString& text) override;

    /// The help window, created on first use.
    HelpWindow& Help();

    /// Recomputes the enabled and checked state of every menu item and
    /// toolbar button now.
    void UpdateCommandStates();

    std::optional<core::ui::CommandState> CommandStateOf(int id) override;
    bool OnCommand(int id) override;

signals:
    /// MSG_PROGRESS 111: a download finished; the downloaded sequence is to
    /// become the sequence document.
    void downloadFinished();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    /// The first stop of the route that knows a command, with the state it
    /// gives: that stop also runs the command.
    struct Route
    {
        core::ui::CommandTarget* handler = nullptr;
        core::ui::CommandState state;
    };
    std::optional<Route> routeOf(int id);

    void buildToolBar();
    void buildStatusBar();
    void updateLockPanes();
    void rebuildMenus();
    void scheduleUpdate();
    void updateTitle();
    void watchDocument(core::ui::CPeptideDoc* document);
    core::ui::CPeptideDoc* createDocument();
    ChildFrame* openEditor(core::ui::CPeptideDoc& document);
    bool openWithoutClosing(const QString& path, bool fromRecentList);
    void discardDocument(core::ui::CPeptideDoc* document);
    /// MSG_PROGRESS 111: the downloaded record becomes the sequence document
    /// unless one was opened meanwhile.
    void takeDownload();
    void closeDocumentWindows(core::ui::CPeptideDoc* document);
    QAction* commandAction(int id, const QString& text, QObject* owner);
    /// Deletes the menus and accelerators a rebuild replaced, by a queued call
    /// once no command runs.
    void releaseRetired();
    void arrangeIcons();
    /// Gives the keyboard back when a dialog or menu closed and left no window
    /// active: to the dialog still open, else to owner (the window the closed
    /// one belonged to; nullptr when gone), else to the main window.
    void takeBackActivation(QWidget* owner);

    core::ui::Application& m_app;
    QMdiArea* m_workspace = nullptr;
    QToolBar* m_toolBar = nullptr;
    QLabel* m_messagePane = nullptr;
    QLabel* m_bytesPane = nullptr;
    QLabel* m_percentPane = nullptr;
    std::array<QLabel*, 3> m_lockPanes{}; ///< CAP, NUM, SCRL
    QList<QAction*> m_commandActions;
    QList<QAction*> m_toolBarActions;
    QList<QAction*> m_accelerators;
    QList<QMenu*> m_menus;
    /// Menus and accelerators a rebuild replaced: one of them may be running
    /// the command that caused the rebuild, so they are deleted only after it.
    QList<QPointer<QObject>> m_retired;
    /// Commands under way (a command's modal dialog may run another).
    int m_runningCommands = 0;
    std::optional<WindowKind> m_menuKind;
    QPointer<HelpWindow> m_help;
    ProgressPanes m_progress;
    /// The download under way (its dialog), null when none runs.
    QPointer<QDialog> m_download;
    /// A downloaded record waiting for MSG_PROGRESS 111.
    std::optional<GenPeptEntry> m_downloaded;
    int m_cascade = 0;
    bool m_updatePending = false;
    bool m_closingDown = false;
};

} // namespace quorin::shell::ui
