#include "batch/ui/BatchRunner.h"
#include "core/FileIo.h"
#include "core/ui/Application.h"
#include "shell/ui/CMainFrame.h"
#include "shell/ui/StartUp.h"

#include <QApplication>
#include <QIcon>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string_view>

static_assert(quorin::core::ui::Application::kVersion == QUORIN_VERSION);

namespace {

constexpr std::string_view kHelp =
    "Usage: quorin [FILE]\n"
    "Analyses one protein or peptide sequence at a time in a window: physico-chemical\n"
    "properties, digests, ModFinder, motifs, hydropathy, amphipathy and titration plots,\n"
    "helical wheels and domain sketches; and many sequences at once in a batch.\n"
    "\n"
    "FILE is a .pep file or a FASTA text (its first record) to open.\n"
    "\n"
    "Options:\n"
    "  --help      show this help and exit\n"
    "  --version   show the version and exit\n"
    "  -platform NAME and Qt's other options are understood too.\n"
    "\n"
    "Settings: quorin.ini in the user-data directory, the settings folder chosen in\n"
    "Preferences, else $XDG_DATA_HOME/quorin (~/.local/share/quorin when XDG_DATA_HOME is\n"
    "not set). On the first start the starter settings (common cleaving agents and\n"
    "modifications) are placed there; an existing file is never replaced, and nothing\n"
    "is written into the folder quorin is started from.\n"
    "\n"
    "quorin needs a display; quorin-cli runs the same analyses without one.\n";

bool nonEmptyVariable(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

/// Whether Qt can open windows: a display of X or Wayland, or a platform
/// named on the command line or in QT_QPA_PLATFORM that needs none
/// (offscreen, vnc, eglfs, ...). Checked before Qt starts, because Qt aborts
/// when it finds no display.
bool displayAvailable(int argc, char** argv)
{
    if (nonEmptyVariable("DISPLAY") || nonEmptyVariable("WAYLAND_DISPLAY")) {
        return true;
    }
    std::string_view platform;
    if (nonEmptyVariable("QT_QPA_PLATFORM")) {
        platform = std::getenv("QT_QPA_PLATFORM");
    }
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::string_view(argv[i]) == "-platform") {
            platform = argv[i + 1];
        }
    }
    return !platform.empty() && !platform.starts_with("xcb") && !platform.starts_with("wayland");
}

/// Qt ends with a fatal message (and a core dump) when its platform cannot
/// start, for instance when DISPLAY names a server that is not there; while
/// the application object is made, that is one line and exit status 1.
void startUpMessages(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type != QtFatalMsg) {
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
        return;
    }
    std::fprintf(stderr, "quorin: %s\n", qPrintable(message.section(QLatin1Char('\n'), 0, 0)));
    std::_Exit(1);
}

} // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument(argv[i]);
        if (argument == "--help" || argument == "-h") {
            std::fputs(kHelp.data(), stdout);
            return 0;
        }
        if (argument == "--version") {
            std::puts("quorin " QUORIN_VERSION);
            return 0;
        }
    }
    if (!displayAvailable(argc, argv)) {
        std::fputs("quorin: no display (DISPLAY and WAYLAND_DISPLAY are not set); quorin-cli "
                   "runs the analyses without one\n",
                   stderr);
        return 1;
    }

    quorin::core::InstallTemporaryFileCleanup();
    const QtMessageHandler previous = qInstallMessageHandler(startUpMessages);
    QApplication qtApplication(argc, argv);
    qInstallMessageHandler(previous);
    QApplication::setApplicationName(QStringLiteral("Quorin"));
    QApplication::setApplicationVersion(QStringLiteral(QUORIN_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("quorin"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/quorin.svg")));

    std::error_code error;
    auto start = std::filesystem::current_path(error);
    quorin::core::ui::Application app(error ? std::filesystem::path(".") : start);
    quorin::batch::ui::RegisterBatchCommands();
    auto mainFrame = quorin::shell::ui::InitInstance(app, QApplication::arguments().mid(1));
    return QApplication::exec();
}
