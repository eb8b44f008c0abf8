#include "shell/ui/CMainFrame.h"

#include "core/ui/Application.h"
#include "core/ui/Help.h"
#include "shell/ui/ChildFrame.h"
#include "shell/ui/HelpWindow.h"
#include "shell/ui/WindowFactories.h"

#include <QApplication>
#include <QClipboard>
#include <QIcon>
#include <QKeyEvent>
#include <QMdiArea>
#include <QTimer>

#include <algorithm>

namespace quorin::shell::ui {

CMainFrame::CMainFrame(core::ui::Application& app, QWidget* parent)
    : QMainWindow(parent), m_app(app)
{
    setObjectName(QStringLiteral("CMainFrame"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/quorin.svg")));
    m_workspace = new QMdiArea(this);
    m_workspace->setObjectName(QStringLiteral("workspace"));
    m_workspace->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_workspace->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_workspace);
    connect(m_workspace, &QMdiArea::subWindowActivated, this, [this] {
        rebuildMenus();
        updateTitle();
    });

    RegisterWindowKinds();
    buildToolBar();
    buildStatusBar();
    rebuildMenus();
    updateTitle();
    setAcceptDrops(true);

    connect(&m_app, &core::ui::Application::recentFilesChanged, this, &CMainFrame::rebuildMenus);
    connect(&m_app, &core::ui::Application::stateChanged, this, &CMainFrame::scheduleUpdate);
    connect(this, &CMainFrame::downloadFinished, this, &CMainFrame::takeDownload);
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, &CMainFrame::scheduleUpdate);
    connect(qApp, &QApplication::focusChanged, this, &CMainFrame::scheduleUpdate);

    core::ui::SetNotificationReceiver(this, this);
    core::ui::SetHelpHandler([this](const QString& keyword) { Help().ShowTopic(keyword); });
    qApp->installEventFilter(this);
}

CMainFrame::~CMainFrame()
{
    core::ui::SetNotificationReceiver(nullptr, nullptr);
    core::ui::SetHelpHandler({});
    qApp->removeEventFilter(this);
    // The windows go first, while the members their signals reach still live.
    m_closingDown = true;
    disconnect(QApplication::clipboard(), nullptr, this, nullptr);
    disconnect(qApp, nullptr, this, nullptr);
    disconnect(&m_app, nullptr, this, nullptr);
    delete m_workspace;
    m_workspace = nullptr;
    delete m_help.data();
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyRelease: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_CapsLock || key == Qt::Key_NumLock || key == Qt::Key_ScrollLock) {
            updateLockPanes();
        }
        break;
    }
    case QEvent::ApplicationActivate:
        updateLockPanes();
        break;
    case QEvent::Hide:
        // Without a window manager nobody hands the keyboard back when a
        // dialog or a menu closes: the program would stay inactive, its
        // shortcuts and menu letters dead, until a click. Only while the
        // program is the active one, so that a window closing on its own
        // steals nothing.
        if (watched != this && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->isWindow() &&
            QGuiApplication::applicationState() == Qt::ApplicationActive) {
            const QWidget* parent = static_cast<QWidget*>(watched)->parentWidget();
            QTimer::singleShot(0, this, [this, owner = QPointer(parent ? parent->window() : this)] {
                takeBackActivation(owner);
            });
        }
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

HelpWindow& CMainFrame::Help()
{
    if (!m_help) {
        m_help = new HelpWindow(nullptr);
    }
    return *m_help;
}

ChildFrame* CMainFrame::ActiveFrame() const
{
    auto* frame = qobject_cast<ChildFrame*>(m_workspace->currentSubWindow());
    if (frame == nullptr || frame->IsClosing()) {
        return nullptr;
    }
    return frame;
}

QList<ChildFrame*> CMainFrame::Frames() const
{
    QList<ChildFrame*> frames;
    for (QMdiSubWindow* window : m_workspace->subWindowList(QMdiArea::CreationOrder)) {
        auto* frame = qobject_cast<ChildFrame*>(window);
        if (frame != nullptr && !frame->IsClosing()) {
            frames.append(frame);
        }
    }
    return frames;
}

int CMainFrame::WindowCount(WindowKind kind, const core::ui::CPeptideDoc* document) const
{
    const QList<ChildFrame*> frames = Frames();
    return static_cast<int>(
        std::count_if(frames.begin(), frames.end(), [&](const ChildFrame* frame) {
            return frame->Kind() == kind &&
                   (document == nullptr || frame->SequenceDocument() == document);
        }));
}

WindowKind CMainFrame::ActiveKind() const
{
    const ChildFrame* frame = ActiveFrame();
    return frame ? frame->Kind() : WindowKind::Empty;
}

} // namespace quorin::shell::ui
