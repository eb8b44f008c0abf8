#include "shell/ui/StartUp.h"

#include "core/ui/Application.h"
#include "shell/ui/CMainFrame.h"

#include <QGuiApplication>
#include <QScreen>

namespace quorin::shell::ui {

QString CommandLineDocument(const QStringList& arguments)
{
    QString path = arguments.join(QLatin1Char(' ')).trimmed();
    if (path.size() >= 2 && path.startsWith(QLatin1Char('"')) && path.endsWith(QLatin1Char('"'))) {
        path = path.mid(1, path.size() - 2);
    }
    return path;
}

std::unique_ptr<CMainFrame> InitInstance(core::ui::Application& app, const QStringList& arguments,
                                         bool show)
{
    auto frame = std::make_unique<CMainFrame>(app);
    const QString document = CommandLineDocument(arguments);
    if (!document.isEmpty()) {
        frame->OpenDocumentFile(document);
    }
    if (show) {
        // Maximised by the window manager; the geometry serves where there is none.
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            frame->setGeometry(screen->availableGeometry());
        }
        frame->showMaximized();
        // A window manager activates a new window; without one the window
        // would take keys but no shortcuts until a click.
        frame->activateWindow();
    }
    return frame;
}

} // namespace quorin::shell::ui
