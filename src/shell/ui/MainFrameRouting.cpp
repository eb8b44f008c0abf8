#include "core/CommandIds.h"
#include "core/ui/Application.h"
#include "core/ui/QtText.h"
#include "shell/CommandTable.h"
#include "shell/ui/CAboutDlg.h"
#include "shell/ui/CMainFrame.h"
#include "shell/ui/ChildFrame.h"
#include "shell/ui/HelpWindow.h"
#include "shell/ui/Launchers.h"

#include <QAction>
#include <QMdiArea>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QTimer>

namespace quorin::shell::ui {
namespace {

namespace cmd = core::cmd;
using core::ui::CommandState;
using core::ui::ToQString;

} // namespace

std::optional<CMainFrame::Route> CMainFrame::routeOf(int id)
{
    if (ChildFrame* frame = ActiveFrame()) {
        for (core::ui::CommandTarget* target : {frame->ViewTarget(), frame->DocumentTarget()}) {
            if (target == nullptr) {
                continue;
            }
            if (auto state = target->CommandStateOf(id)) {
                return Route{target, *state};
            }
        }
    }
    if (auto state = CommandStateOf(id)) {
        return Route{this, *state};
    }
    return std::nullopt;
}

std::optional<CommandState> CMainFrame::RoutedStateOf(int id)
{
    const auto route = routeOf(id);
    return route ? std::optional(route->state) : std::nullopt;
}

bool CMainFrame::Execute(int id)
{
    const auto route = routeOf(id);
    if (!route || !route->state.enabled) {
        return false;
    }
    // While the command runs, the menu item or shortcut that chose it is on
    // the call stack: menus rebuilt meanwhile are deleted only after it.
    ++m_runningCommands;
    const bool done = route->handler->OnCommand(id);
    --m_runningCommands;
    releaseRetired();
    scheduleUpdate();
    return done;
}

std::optional<CommandState> CMainFrame::CommandStateOf(int id)
{
    switch (id) {
    case cmd::kNew:
    case cmd::kOpen:
    case cmd::kImport:
    case cmd::kDownload:
    case cmd::kExit:
    case cmd::kPrintSetup:
    case cmd::kAbout:
    case cmd::kHelp:
    case cmd::kHelpContents:
    case cmd::kHelpUsing:
        return CommandState{};
    case cmd::kCascade:
    case cmd::kTile:
    case cmd::kArrangeIcons:
        return CommandState{!Frames().isEmpty()};
    default:
        break;
    }
    if (id >= cmd::kRecentFirst && id <= cmd::kRecentLast) {
        const auto index = static_cast<std::size_t>(id - cmd::kRecentFirst);
        return CommandState{index < m_app.RecentFiles().Entries().size()};
    }
    if (id >= cmd::kWindowFirst && id <= cmd::kWindowLast) {
        const QList<ChildFrame*> frames = Frames();
        const int index = id - cmd::kWindowFirst;
        if (index < frames.size()) {
            return CommandState{true, true, frames[index] == ActiveFrame()};
        }
        return std::nullopt;
    }
    if (const ApplicationCommand* command = FindApplicationCommand(id)) {
        return command->state ? command->state() : CommandState{};
    }
    return std::nullopt;
}

bool CMainFrame::OnCommand(int id)
{
    switch (id) {
    case cmd::kNew:
        NewDocument();
        return true;
    case cmd::kOpen:
        OpenWithDialog();
        return true;
    case cmd::kImport:
        ImportText();
        return true;
    case cmd::kDownload:
        DownloadSequence();
        return true;
    case cmd::kExit:
        close();
        return true;
    case cmd::kPrintSetup: {
        QPageSetupDialog dialog(&m_app.Printer(), this);
        dialog.exec();
        return true;
    }
    case cmd::kAbout: {
        CAboutDlg dialog(this);
        dialog.exec();
        return true;
    }
    case cmd::kHelp:
        Help().ShowTopic(ToQString(InfoOf(ActiveKind()).HelpTopic()));
        return true;
    case cmd::kHelpContents:
        Help().ShowContents();
        return true;
    case cmd::kHelpUsing:
        Help().ShowTopic(QString::fromLatin1(HelpWindow::kUsingHelp));
        return true;
    case cmd::kCascade:
        m_workspace->cascadeSubWindows();
        return true;
    case cmd::kTile:
        m_workspace->tileSubWindows();
        return true;
    case cmd::kArrangeIcons:
        arrangeIcons();
        return true;
    default:
        break;
    }
    if (id >= cmd::kRecentFirst && id <= cmd::kRecentLast) {
        const auto& entries = m_app.RecentFiles().Entries();
        const auto index = static_cast<std::size_t>(id - cmd::kRecentFirst);
        if (index < entries.size()) {
            const QString path = ToQString(entries[index]);
            if (CloseSequenceDocument()) {
                openWithoutClosing(path, true);
            }
        }
        return true;
    }
    if (id >= cmd::kWindowFirst && id <= cmd::kWindowLast) {
        const QList<ChildFrame*> frames = Frames();
        const int index = id - cmd::kWindowFirst;
        if (index < frames.size()) {
            m_workspace->setActiveSubWindow(frames[index]);
        }
        return true;
    }
    if (const ApplicationCommand* command = FindApplicationCommand(id)) {
        command->run(*this);
        return true;
    }
    return false;
}

void CMainFrame::scheduleUpdate()
{
    if (m_updatePending || m_closingDown) {
        return;
    }
    m_updatePending = true;
    QTimer::singleShot(0, this, [this] {
        m_updatePending = false;
        UpdateCommandStates();
    });
}

void CMainFrame::UpdateCommandStates()
{
    if (m_closingDown) {
        return;
    }
    for (const QList<QAction*>* actions : {&m_commandActions, &m_toolBarActions}) {
        for (QAction* action : *actions) {
            const auto state = RoutedStateOf(action->data().toInt());
            action->setEnabled(state && state->enabled);
            action->setCheckable(state && state->checkable);
            action->setChecked(state && state->checkable && state->checked);
        }
    }
}

} // namespace quorin::shell::ui
