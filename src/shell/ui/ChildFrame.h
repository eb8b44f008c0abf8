#pragma once

#include "shell/WindowKinds.h"
#include "shell/ui/WindowFactories.h"

#include <QMdiSubWindow>
#include <QPointer>

#include <functional>
#include <memory>

namespace quorin::core::ui {
class CommandTarget;
class CPeptideDoc;
} // namespace quorin::core::ui

namespace quorin::shell::ui {

class WindowHost;

/// A document window inside the main window: one view of one window kind, on
/// the sequence document (and, for plots, on a plot document it owns). It
/// holds the view's and the document's stops of the command route.
class ChildFrame : public QMdiSubWindow
{
    Q_OBJECT

public:
    ChildFrame(WindowHost& host, WindowKind kind, core::ui::CPeptideDoc& document,
               const WindowContent& content);
    ~ChildFrame() override;

    WindowKind Kind() const { return m_kind; }
    core::ui::CPeptideDoc* SequenceDocument() const;
    /// The plot document of a plot window, else nullptr.
    QObject* PlotDocument() const { return m_plotDocument.data(); }

    core::ui::CommandTarget* ViewTarget() const { return m_viewTarget; }
    /// The document's stop: the sequence document, or the plot document with
    /// what it forwards to the sequence document.
    core::ui::CommandTarget* DocumentTarget() const { return m_documentTarget.get(); }

    /// Closes the window without asking anything (the shell closes the
    /// documents' windows this way).
    void CloseByShell();
    bool IsClosing() const { return m_closing; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    WindowHost& m_host;
    WindowKind m_kind;
    QPointer<core::ui::CPeptideDoc> m_document;
    QPointer<QObject> m_plotDocument;
    core::ui::CommandTarget* m_viewTarget = nullptr;
    std::unique_ptr<core::ui::CommandTarget> m_documentTarget;
    bool m_closing = false;
};

} // namespace quorin::shell::ui
