#pragma once

#include <QString>
#include <QStringList>

#include <memory>

namespace quorin::core::ui {
class Application;
}

namespace quorin::shell::ui {

class CMainFrame;

/// The document path of a command line: the arguments joined by blanks, with
/// enclosing double quotes removed; empty when there are none.
QString CommandLineDocument(const QStringList& arguments);

/// Start-up after the application object: creates the main window with the
/// window kinds registered, opens the document named on the command line
/// (a load that fails is reported and the program goes on with no sequence
/// open) and shows the window maximised when show is set.
std::unique_ptr<CMainFrame> InitInstance(core::ui::Application& app, const QStringList& arguments,
                                         bool show = true);

} // namespace quorin::shell::ui
