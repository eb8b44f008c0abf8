#include "core/CommandIds.h"
#include "core/ui/Application.h"
#include "core/ui/QtText.h"
#include "shell/CommandTable.h"
#include "shell/ui/CMainFrame.h"
#include "shell/ui/ChildFrame.h"
#include "shell/ui/LockKeys.h"

#include <QDir>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include <array>
#include <map>
#include <utility>

namespace quorin::shell::ui {
namespace {

namespace cmd = core::cmd;
using core::ui::ElidedName;
using core::ui::ToQString;

/// The widest a window's title may make the Window menu, in pixels.
constexpr int kWindowMenuTitleWidth = 420;

const std::map<int, QString>& toolBarIcons()
{
    static const std::map<int, QString> icons = {
        {cmd::kNew, QStringLiteral("new")},
        {cmd::kOpen, QStringLiteral("open")},
        {cmd::kSave, QStringLiteral("save")},
        {cmd::kPrint, QStringLiteral("print")},
        {cmd::kCopy, QStringLiteral("copy")},
        {cmd::kPaste, QStringLiteral("paste")},
        {cmd::kPhysChem, QStringLiteral("physchem")},
        {cmd::kCleavage, QStringLiteral("cleavage")},
        {cmd::kMotifs, QStringLiteral("motifs")},
        {cmd::kHelicalWheel, QStringLiteral("wheel")},
        {cmd::kHydropathy, QStringLiteral("hydropathy")},
        {cmd::kDomainSketch, QStringLiteral("domains")},
        {cmd::kBatch, QStringLiteral("batch")},
        {cmd::kHelp, QStringLiteral("help")},
    };
    return icons;
}

QString menuTextOfPath(int number, const QString& path)
{
    QString shown = QDir::toNativeSeparators(path);
    shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(number).arg(shown);
}

QLabel* statusPane(const QString& name, const QString& text, const QString& sizeText,
                   QWidget* parent)
{
    auto* pane = new QLabel(text, parent);
    pane->setObjectName(name);
    pane->setAlignment(Qt::AlignCenter);
    pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(sizeText) + 8);
    return pane;
}

} // namespace

QAction* CMainFrame::commandAction(int id, const QString& text, QObject* owner)
{
    auto* action = new QAction(text, owner);
    action->setData(id);
    if (const CommandInfo* info = FindCommand(id)) {
        action->setStatusTip(ToQString(info->prompt));
    }
    connect(action, &QAction::triggered, this, [this, id] { Execute(id); });
    return action;
}

void CMainFrame::rebuildMenus()
{
    if (m_closingDown) {
        return;
    }
    const WindowKind kind = ActiveKind();
    // The old menus leave the menu bar now but live on until the command that
    // caused the rebuild returned into the menu that ran it: deleted inside a
    // modal dialog's event loop, that menu would write into freed memory.
    for (QMenu* menu : m_menus) {
        m_retired.append(menu);
    }
    m_menus.clear();
    m_commandActions.clear();
    menuBar()->clear();

    for (const Menu& menu : MenusOf(kind)) {
        auto* popup = new QMenu(ToQString(menu.title), menuBar());
        QString name = popup->title();
        name.remove(QLatin1Char('&'));
        popup->setObjectName(QStringLiteral("menu") + name);
        connect(popup, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandStates);
        for (const MenuItem& item : menu.items) {
            if (item.id == kSeparator) {
                popup->addSeparator();
            } else if (item.id == kRecentFilesBlock) {
                const auto& entries = m_app.RecentFiles().Entries();
                if (entries.empty()) {
                    popup->addAction(QStringLiteral("Recent File"))->setEnabled(false);
                }
                for (std::size_t i = 0; i < entries.size(); ++i) {
                    const int id = cmd::kRecentFirst + static_cast<int>(i);
                    QAction* action = commandAction(
                        id, menuTextOfPath(static_cast<int>(i) + 1, ToQString(entries[i])), popup);
                    action->setStatusTip(QStringLiteral("Open this document"));
                    popup->addAction(action);
                    m_commandActions.append(action);
                }
            } else if (item.id == kWindowListBlock) {
                const QList<ChildFrame*> frames = Frames();
                for (int i = 0; i < frames.size() && cmd::kWindowFirst + i <= cmd::kWindowLast;
                     ++i) {
                    // A long sequence name would widen the menu beyond the
                    // screen, and its "&" would underline the next letter.
                    const QString title =
                        ElidedName(frames[i]->windowTitle(), popup->font(), kWindowMenuTitleWidth)
                            .replace(QLatin1Char('&'), QStringLiteral("&&"));
                    QAction* action =
                        commandAction(cmd::kWindowFirst + i,
                                      QStringLiteral("&%1 %2").arg(i + 1).arg(title), popup);
                    action->setStatusTip(QStringLiteral("Activate this window"));
                    popup->addAction(action);
                    m_commandActions.append(action);
                }
            } else {
                QAction* action = commandAction(item.id, ToQString(item.text), popup);
                popup->addAction(action);
                m_commandActions.append(action);
            }
        }
        menuBar()->addMenu(popup);
        m_menus.append(popup);
    }

    if (!m_menuKind || *m_menuKind != kind) {
        for (QAction* action : m_accelerators) {
            removeAction(action);
            m_retired.append(action);
        }
        m_accelerators.clear();
        for (const Accelerator& key : AcceleratorsOf(kind)) {
            auto* action = new QAction(this);
            action->setObjectName(QStringLiteral("accelerator ") + ToQString(key.keys));
            action->setShortcut(QKeySequence(ToQString(key.keys)));
            action->setShortcutContext(Qt::WindowShortcut);
            action->setData(key.id);
            const int id = key.id;
            connect(action, &QAction::triggered, this, [this, id] { Execute(id); });
            addAction(action);
            m_accelerators.append(action);
        }
        m_menuKind = kind;
    }
    releaseRetired();
    UpdateCommandStates();
}

void CMainFrame::releaseRetired()
{
    if (m_retired.isEmpty() || m_runningCommands > 0) {
        return;
    }
    QTimer::singleShot(0, this, [this] {
        // A command that started meanwhile releases them when it ends.
        if (m_runningCommands > 0) {
            return;
        }
        for (const QPointer<QObject>& retired : std::exchange(m_retired, {})) {
            delete retired.data();
        }
    });
}

void CMainFrame::buildToolBar()
{
    m_toolBar = addToolBar(QStringLiteral("Standard"));
    m_toolBar->setObjectName(QStringLiteral("toolBar"));
    m_toolBar->setMovable(false);
    m_toolBar->setIconSize(QSize(20, 20));
    for (const int id : ToolbarLayout()) {
        if (id == kSeparator) {
            m_toolBar->addSeparator();
            continue;
        }
        const QString tip = ToQString(TooltipOf(id));
        QAction* action = commandAction(id, tip, m_toolBar);
        action->setToolTip(tip);
        const auto icon = toolBarIcons().find(id);
        if (icon != toolBarIcons().end()) {
            action->setIcon(QIcon(QStringLiteral(":/icons/%1.svg").arg(icon->second)));
        }
        m_toolBar->addAction(action);
        m_toolBarActions.append(action);
    }
}

void CMainFrame::buildStatusBar()
{
    QStatusBar* bar = statusBar();
    m_messagePane = new QLabel(ToQString(kIdlePrompt), bar);
    m_messagePane->setObjectName(QStringLiteral("messagePane"));
    bar->addWidget(m_messagePane, 1);
    m_bytesPane = statusPane(QStringLiteral("bytesPane"), QStringLiteral(" "),
                             ToQString(ProgressPanes::kBytesPaneSizeText), bar);
    m_percentPane = statusPane(QStringLiteral("percentPane"), ToQString(m_progress.PercentText()),
                               ToQString(ProgressPanes::kPercentPaneSizeText), bar);
    bar->addPermanentWidget(m_bytesPane);
    bar->addPermanentWidget(m_percentPane);
    // The lock-key indicators: greyed while the key is off (or the platform
    // does not tell).
    const std::array<std::pair<const char*, const char*>, 3> locks = {
        {{"capPane", "CAP"}, {"numPane", "NUM"}, {"scrlPane", "SCRL"}}};
    for (std::size_t i = 0; i < locks.size(); ++i) {
        const QString text = QString::fromLatin1(locks[i].second);
        m_lockPanes[i] = statusPane(QString::fromLatin1(locks[i].first), text, text, bar);
        bar->addPermanentWidget(m_lockPanes[i]);
    }
    updateLockPanes();
}

void CMainFrame::updateLockPanes()
{
    const std::optional<LockKeys> keys = QueryLockKeys();
    m_lockPanes[0]->setEnabled(keys && keys->capsLock);
    m_lockPanes[1]->setEnabled(keys && keys->numLock);
    m_lockPanes[2]->setEnabled(keys && keys->scrollLock);
}

void CMainFrame::OnNotification(int message, int value)
{
    if (message == core::ui::MSG_PROGRESS) {
        const bool finished = m_progress.OnProgress(value);
        m_percentPane->setText(ToQString(m_progress.PercentText()));
        m_percentPane->repaint();
        statusBar()->repaint();
        update();
        if (finished) {
            emit downloadFinished();
        }
    } else if (message == core::ui::MSG_BYTES_RECEIVED) {
        m_progress.OnBytesReceived(value);
        m_bytesPane->setText(ToQString(m_progress.BytesText()));
        m_bytesPane->repaint();
    }
}

} // namespace quorin::shell::ui
