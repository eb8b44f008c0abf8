#include "shell/ui/CMainFrame.h"

#include "core/CommandIds.h"
#include "core/FileIo.h"
#include "core/MessageTexts.h"
#include "core/SequenceText.h"
#include "core/TextImport.h"
#include "core/ui/Application.h"
#include "core/ui/CPeptideDoc.h"
#include "core/ui/FileDialogs.h"
#include "core/ui/Help.h"
#include "core/ui/Messages.h"
#include "core/ui/QtText.h"
#include "shell/CommandTable.h"
#include "shell/ui/CAboutDlg.h"
#include "shell/ui/CPepFrame.h"
#include "shell/ui/CPeptideFrame.h"
#include "shell/ui/HelpWindow.h"
#include "shell/ui/Launchers.h"
#include "shell/ui/LockKeys.h"
#include "shell/ui/WindowFactories.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include <array>
#include <filesystem>
#include <map>

namespace quorin::shell::ui {
namespace {

namespace cmd = core::cmd;
using core::ui::CommandState;
using core::ui::CPeptideDoc;
using core::ui::ToQString;

/// The toolbar's pictures, by command.
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

    buildToolBar();
    buildStatusBar();
    rebuildMenus();
    updateTitle();
    setAcceptDrops(true);

    connect(&m_app, &core::ui::Application::recentFilesChanged, this, &CMainFrame::rebuildMenus);
    connect(&m_app, &core::ui::Application::stateChanged, this, &CMainFrame::scheduleUpdate);
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, &CMainFrame::scheduleUpdate);
    connect(qApp, &QApplication::focusChanged, this, &CMainFrame::scheduleUpdate);

    core::ui::SetNotificationReceiver(this, this);
    core::ui::SetHelpHandler([this](const QString& keyword) { Help().ShowTopic(keyword); });
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

HelpWindow& CMainFrame::Help()
{
    if (!m_help) {
        m_help = new HelpWindow(nullptr);
    }
    return *m_help;
}

// Routing

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

WindowKind CMainFrame::ActiveKind() const
{
    const ChildFrame* frame = ActiveFrame();
    return frame ? frame->Kind() : WindowKind::Empty;
}

std::optional<CommandState> CMainFrame::RoutedStateOf(int id)
{
    if (ChildFrame* frame = ActiveFrame()) {
        for (core::ui::CommandTarget* target : {frame->ViewTarget(), frame->DocumentTarget()}) {
            if (target == nullptr) {
                continue;
            }
            if (auto state = target->CommandStateOf(id)) {
                return state;
            }
        }
    }
    return CommandStateOf(id);
}

bool CMainFrame::Execute(int id)
{
    const auto state = RoutedStateOf(id);
    if (!state || !state->enabled) {
        return false;
    }
    // The stop that decided the state runs the command.
    core::ui::CommandTarget* handler = this;
    if (ChildFrame* frame = ActiveFrame()) {
        for (core::ui::CommandTarget* target : {frame->ViewTarget(), frame->DocumentTarget()}) {
            if (target != nullptr && target->CommandStateOf(id)) {
                handler = target;
                break;
            }
        }
    }
    const bool done = handler->OnCommand(id);
    scheduleUpdate();
    return done;
}

// The application's own commands

std::optional<CommandState> CMainFrame::CommandStateOf(int id)
{
    switch (id) {
    case cmd::kNew:
    case cmd::kOpen:
    case cmd::kImport:
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
        Help().ShowTopic(ToQString(InfoOf(ActiveKind()).helpTopic));
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

// Documents

CPeptideDoc* CMainFrame::createDocument()
{
    auto* document = new CPeptideDoc(this);
    watchDocument(document);
    return document;
}

void CMainFrame::watchDocument(CPeptideDoc* document)
{
    connect(document, &CPeptideDoc::titleChanged, this, &CMainFrame::updateTitle);
    connect(document, &CPeptideDoc::stateChanged, this, &CMainFrame::scheduleUpdate);
    connect(document, &CPeptideDoc::modifiedChanged, this, &CMainFrame::scheduleUpdate);
    connect(document, &CPeptideDoc::viewsNeedUpdate, this, &CMainFrame::scheduleUpdate);
}

ChildFrame* CMainFrame::openEditor(CPeptideDoc& document)
{
    ChildFrame* frame = OpenWindow(WindowKind::SequenceEditor, document);
    if (frame == nullptr) {
        core::ui::ShowMessage(ToQString(core::msg::kCouldNotCreateWindow),
                              ToQString(core::msg::kError));
    }
    return frame;
}

CPeptideDoc* CMainFrame::NewDocument()
{
    if (!CloseSequenceDocument()) {
        return nullptr;
    }
    CPeptideDoc* document = createDocument();
    document->OnNewDocument();
    openEditor(*document);
    updateTitle();
    return document;
}

bool CMainFrame::CloseSequenceDocument()
{
    CPeptideDoc* document = m_app.CurrentDocument();
    if (document == nullptr) {
        return true;
    }
    if (document->IsOpen() && !document->SaveModified()) {
        return false;
    }
    closeDocumentWindows(document);
    return true;
}

void CMainFrame::closeDocumentWindows(CPeptideDoc* document)
{
    auto& analyses = document->Analyses();
    for (auto wheel = analyses.wheels.rbegin(); wheel != analyses.wheels.rend(); ++wheel) {
        CloseWindowsOf(wheel->data());
        *wheel = nullptr;
    }
    CloseWindowsOf(analyses.hydropathy.data());
    CloseWindowsOf(analyses.amphipathy.data());
    analyses.hydropathy = nullptr;
    analyses.amphipathy = nullptr;
    analyses.wheelCount = 0;
    document->SetOpen(false);
    // Every other window of the document goes too, the domain sketch included:
    // no analysis outlives its sequence.
    for (ChildFrame* frame : Frames()) {
        if (frame->SequenceDocument() == document) {
            frame->CloseByShell();
        }
    }
    m_app.SetDigestViewExists(false);
    if (m_app.CurrentDocument() == document) {
        m_app.SetCurrentDocument(nullptr);
        m_app.SetSequenceDocumentOpen(false);
    }
    document->disconnect(this);
    document->deleteLater();
    updateTitle();
    scheduleUpdate();
}

void CMainFrame::discardDocument(CPeptideDoc* document)
{
    document->SetModifiedFlag(false);
    closeDocumentWindows(document);
}

void CMainFrame::OpenWithDialog()
{
    if (!CloseSequenceDocument()) {
        return;
    }
    core::ui::FileDialogRequest request;
    request.mode = core::ui::FileDialogRequest::Mode::Open;
    request.title = QStringLiteral("Open");
    request.filters = {QStringLiteral("Quorin Type (*.pep)")};
    request.directory = m_app.WorkingDirectory();
    const auto path = core::ui::AskFileName(request);
    if (path) {
        openWithoutClosing(*path, false);
    }
}

bool CMainFrame::OpenDocumentFile(const QString& path)
{
    if (!CloseSequenceDocument()) {
        return false;
    }
    return openWithoutClosing(path, false);
}

bool CMainFrame::openWithoutClosing(const QString& path, bool fromRecentList)
{
    CPeptideDoc* document = createDocument();
    bool hasSketch = false;
    const auto outcome = document->OnOpenDocument(path, &hasSketch);
    const QString shownPath = QDir::toNativeSeparators(path);
    switch (outcome) {
    case CPeptideDoc::LoadOutcome::Loaded:
        break;
    case CPeptideDoc::LoadOutcome::NotQuorinFormat:
        core::ui::ShowMessage(ToQString(core::msg::kNotQuorinFormat), ToQString(core::msg::kError));
        discardDocument(document);
        return false;
    case CPeptideDoc::LoadOutcome::Truncated:
        core::ui::ShowMessage(ToQString(core::msg::kTruncatedFile), ToQString(core::msg::kError));
        discardDocument(document);
        return false;
    case CPeptideDoc::LoadOutcome::Utf16Text:
        core::ui::ShowMessage(ToQString(core::msg::kUtf16Text), ToQString(core::msg::kError));
        discardDocument(document);
        return false;
    case CPeptideDoc::LoadOutcome::CannotOpen:
        core::ui::ShowMessage(ToQString(core::msg::CannotOpenFile(
                                  shownPath.toStdString(), document->OpenError().toStdString())),
                              ToQString(core::msg::kProgramTitle));
        if (fromRecentList) {
            m_app.RemoveFromRecentFiles(path);
        }
        discardDocument(document);
        return false;
    }
    m_app.SetSequenceDocumentOpen(true);
    document->SetOpen(true);
    document->SetModifiedFlag(false);
    document->SetPathName(path, document->SavesInPlace());
    openEditor(*document);
    if (hasSketch && FindWindowFactory(WindowKind::Sketch) != nullptr) {
        ChildFrame* sketch = OpenWindow(WindowKind::Sketch, *document);
        document->Analyses().sketch = sketch ? sketch->PlotDocument() : nullptr;
        document->SetSketchWithoutWindow(sketch == nullptr);
        document->AnalysesChanged();
    }
    document->UpdateAllViews();
    updateTitle();
    return true;
}

void CMainFrame::ImportText()
{
    if (!CloseSequenceDocument()) {
        return;
    }
    CPeptideDoc* document = createDocument();
    document->OnNewDocument();
    openEditor(*document);

    core::ui::FileDialogRequest request;
    request.mode = core::ui::FileDialogRequest::Mode::Open;
    request.title = QStringLiteral("Import");
    request.fileName = QStringLiteral("*.txt");
    request.filters = {QStringLiteral("All (*)"), QStringLiteral("Text (*.txt)")};
    request.directory = m_app.WorkingDirectory();
    const auto path = core::ui::AskFileName(request);
    if (!path) {
        m_app.SetSequenceDocumentOpen(false);
        document->UpdateAllViews();
        discardDocument(document);
        return;
    }
    const auto bytes = core::ReadSequenceFile(std::filesystem::path(path->toStdString()));
    if (!bytes) {
        core::ui::ShowMessage(ToQString(core::msg::CannotOpenFile(
                                  QDir::toNativeSeparators(*path).toStdString(), bytes.Error())),
                              ToQString(core::msg::kProgramTitle));
        return;
    }
    if (core::IsUtf16Text(*bytes)) {
        core::ui::ShowMessage(ToQString(core::msg::kUtf16Text), ToQString(core::msg::kError));
        return;
    }
    if (core::ParseSequenceText(document->Record(), core::ImportedText(*bytes)) == 0) {
        core::ui::ShowMessage(ToQString(core::msg::kFileNotFound),
                              ToQString(core::msg::kProgramTitle), core::ui::MessageIcon::None);
    }
    m_app.SetSequenceDocumentOpen(true);
    document->UpdateAllViews();
    document->SetOpen(true);
    document->SetModifiedFlag(true);
    // The text file names the document, but Save will not write the binary
    // format over it: it asks for a .pep name instead.
    document->SetPathName(*path, false);
    updateTitle();
}

// Windows

ChildFrame* CMainFrame::OpenWindow(WindowKind kind, CPeptideDoc& document)
{
    const WindowFactory* factory = FindWindowFactory(kind);
    if (factory == nullptr) {
        return nullptr;
    }
    const WindowContent content = (*factory)(document);
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
    m_workspace->setActiveSubWindow(frame);
    rebuildMenus();
    return frame;
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

// Menus, toolbar, status bar

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
    for (QMenu* menu : m_menus) {
        menu->deleteLater();
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
                    QAction* action = commandAction(
                        cmd::kWindowFirst + i,
                        QStringLiteral("&%1 %2").arg(i + 1).arg(frames[i]->windowTitle()), popup);
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
            action->deleteLater();
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
    UpdateCommandStates();
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
    qApp->installEventFilter(this);
}

void CMainFrame::updateLockPanes()
{
    const std::optional<LockKeys> keys = QueryLockKeys();
    m_lockPanes[0]->setEnabled(keys && keys->capsLock);
    m_lockPanes[1]->setEnabled(keys && keys->numLock);
    m_lockPanes[2]->setEnabled(keys && keys->scrollLock);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyRelease) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_CapsLock || key == Qt::Key_NumLock || key == Qt::Key_ScrollLock) {
            updateLockPanes();
        }
    } else if (event->type() == QEvent::ApplicationActivate) {
        updateLockPanes();
    }
    return QMainWindow::eventFilter(watched, event);
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

void CMainFrame::updateTitle()
{
    if (m_closingDown) {
        return;
    }
    const CPeptideDoc* document = m_app.CurrentDocument();
    const QString program = ToQString(core::msg::kProgramTitle);
    setWindowTitle(document ? program + QStringLiteral(" - ") + document->Title() : program);
}

// Notifications, closing, drops

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

void CMainFrame::closeEvent(QCloseEvent* event)
{
    CPeptideDoc* document = m_app.CurrentDocument();
    if (document != nullptr && !document->SaveModified()) {
        event->ignore();
        return;
    }
    if (document != nullptr) {
        closeDocumentWindows(document);
    }
    m_app.WriteRecentFiles();
    if (m_help) {
        m_help->close();
    }
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    const QMimeData* mime = event->mimeData();
    if (mime->hasUrls() && !mime->urls().isEmpty() && mime->urls().constFirst().isLocalFile()) {
        event->acceptProposedAction();
    }
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.constFirst().isLocalFile()) {
        return;
    }
    event->acceptProposedAction();
    const QString path = urls.constFirst().toLocalFile();
    // Opening shows message boxes; let the drag finish first.
    QTimer::singleShot(0, this, [this, path] { OpenDocumentFile(path); });
}

} // namespace quorin::shell::ui
