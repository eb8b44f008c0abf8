#pragma once

#include "shell/WindowKinds.h"

#include <QList>
#include <QMainWindow>

#include <any>

class QSize;

namespace quorin::core::ui {
class CPeptideDoc;
}

namespace quorin::shell::ui {

class ChildFrame;

/// What the document windows, their launchers and the application's commands
/// need of the window that holds them. The main window implements it; the
/// rest of the desktop knows only this, so that a window kind is written
/// without the main window's header.
class WindowHost
{
public:
    virtual ~WindowHost() = default;

    /// The main window itself: the parent of dialogs, the owner of the status
    /// bar, what the program closes to end.
    virtual QMainWindow& Window() = 0;

    /// Opens a new window of kind on the sequence document through the kind's
    /// factory, which gets request (what the kind's dialog chose), at the next
    /// cascade position; nullptr when the kind has no factory or it failed.
    virtual ChildFrame* OpenWindow(WindowKind kind, core::ui::CPeptideDoc& document,
                                   const std::any& request = {}) = 0;
    /// Every document window, in the order they were opened, closing ones left out.
    virtual QList<ChildFrame*> Frames() const = 0;
    /// How many windows of kind are open (on document when one is given).
    virtual int WindowCount(WindowKind kind,
                            const core::ui::CPeptideDoc* document = nullptr) const = 0;
    /// Brings an open window to the front of the workspace.
    virtual void Activate(ChildFrame& frame) = 0;
    /// The room the workspace shows windows in.
    virtual QSize WorkspaceSize() const = 0;

    /// Closes the sequence document with its analyses after the save
    /// question; false when the user cancelled (nothing changed).
    virtual bool CloseSequenceDocument() = 0;
    /// Closes the windows of a plot document (it goes with them).
    virtual void CloseWindowsOf(QObject* plotDocument) = 0;
    /// Repaints the windows of a plot document.
    virtual void RedrawWindowsOf(QObject* plotDocument) = 0;

    /// The message pane on the left of the status bar; an empty text gives
    /// back the idle prompt.
    virtual void SetStatusText(const QString& text) = 0;

protected:
    WindowHost() = default;
    WindowHost(const WindowHost&) = default;
    WindowHost& operator=(const WindowHost&) = default;
};

} // namespace quorin::shell::ui
