#include "shell/ui/CMainFrame.h"
#include "shell/ui/CPepFrame.h"
#include "shell/ui/CPeptideFrame.h"
#include "shell/ui/WindowFactories.h"

#include <QApplication>
#include <QMdiArea>

namespace quorin::shell::ui {

using core::ui::CPeptideDoc;

ChildFrame* CMainFrame::OpenWindow(WindowKind kind, CPeptideDoc& document, const std::any& request)
{
    const WindowFactory* factory = FindWindowFactory(kind);
    if (factory == nullptr) {
        return nullptr;
    }
    const WindowContent content = (*factory)(document, request);
    if (content.view == nullptr) {
        delete content.plotDocument;
        return nullptr;
    }
    ChildFrame* frame = nullptr;
    if (kind == WindowKind::SequenceEditor) {
        frame = new CPepFrame(*this, document, content);
    } else {
        frame = new CPeptideFrame(*this, kind, document, content);
    }
    m_workspace->addSubWindow(frame);
    if (kind == WindowKind::SequenceEditor) {
        frame->resize(720, 460);
        frame->move(0, 0);
    } else {
        // Each analysis window opens one step below and right of the last.
        constexpr int kStep = 28;
        const int n = ++m_cascade % 10;
        frame->resize(640, 300);
        frame->move(n * kStep, n * kStep);
    }
    connect(frame, &QObject::destroyed, this, &CMainFrame::rebuildMenus);
    connect(frame, &QWidget::windowTitleChanged, this, &CMainFrame::rebuildMenus);
    frame->show();
    QWidget* view = frame->widget();
    if (InfoOf(kind).family == DocumentFamily::Plot) {
        // A plot window shows its whole page where the workspace has room.
        frame->resize(view->sizeHint() + (frame->size() - view->size()));
    }
    // A view with a caption of its own (a plot's stretch, a scan's library)
    // names its window.
    if (view != nullptr && !view->windowTitle().isEmpty()) {
        frame->setWindowTitle(view->windowTitle());
        connect(view, &QWidget::windowTitleChanged, frame, &QWidget::setWindowTitle);
    }
    m_workspace->setActiveSubWindow(frame);
    rebuildMenus();
    return frame;
}

void CMainFrame::Activate(ChildFrame& frame)
{
    m_workspace->setActiveSubWindow(&frame);
}

QSize CMainFrame::WorkspaceSize() const
{
    return m_workspace->viewport()->size();
}

void CMainFrame::CloseWindowsOf(QObject* plotDocument)
{
    if (plotDocument == nullptr) {
        return;
    }
    for (ChildFrame* frame : Frames()) {
        if (frame->PlotDocument() == plotDocument) {
            frame->CloseByShell();
        }
    }
}

void CMainFrame::RedrawWindowsOf(QObject* plotDocument)
{
    for (ChildFrame* frame : Frames()) {
        if (plotDocument != nullptr && frame->PlotDocument() == plotDocument && frame->widget()) {
            frame->widget()->update();
        }
    }
}

void CMainFrame::takeBackActivation(QWidget* owner)
{
    if (m_closingDown || !isVisible() || QApplication::activePopupWidget() != nullptr) {
        return;
    }
    const QWidget* active = QApplication::activeWindow();
    if (active != nullptr && active->isVisible()) {
        return;
    }
    // A dialog that opened another gets the keyboard back first, then the
    // window the closed one belonged to.
    QWidget* target = QApplication::activeModalWidget();
    if (target == nullptr && owner != nullptr && owner != this && owner->isVisible()) {
        target = owner;
    }
    if (target == nullptr) {
        target = this;
        if (ChildFrame* frame = ActiveFrame(); frame != nullptr && focusWidget() == nullptr) {
            frame->widget()->setFocus();
        }
    }
    target->activateWindow();
}

void CMainFrame::arrangeIcons()
{
    int x = 0;
    for (ChildFrame* frame : Frames()) {
        if (frame->isMinimized()) {
            frame->move(x, m_workspace->viewport()->height() - frame->height());
            x += frame->width();
        }
    }
}

} // namespace quorin::shell::ui
