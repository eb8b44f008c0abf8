#pragma once

#include "core/CommandIds.h"
#include "core/ui/Application.h"
#include "core/ui/CPeptideDoc.h"
#include "core/ui/Printing.h"
#include "core/ui/UiTestSupport.h"
#include "plots/ui/PlotDialogs.h"
#include "shell/ui/CMainFrame.h"
#include "shell/ui/ChildFrame.h"
#include "shell/ui/Launchers.h"
#include "shell/ui/StartUp.h"
#include "shell/ui/WindowFactories.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QScrollBar>
#include <QStringList>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

namespace quorin::test {

/// A running desktop program in a temporary home: the application object,
/// the main window (shown, not maximised) and the hooks that answer message
/// boxes and file dialogs.
struct RunningProgram
{
    explicit RunningProgram(const QStringList& commandLine = {})
    {
        // Started in the user-data directory, so that the settings file is
        // start/quorin.ini and the dialogs start beside it.
        start = home.DataDirectory();
        app = std::make_unique<core::ui::Application>(start.toStdString());
        frame = shell::ui::InitInstance(*app, commandLine, false);
        frame->resize(1024, 720);
        frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
    }

    ~RunningProgram()
    {
        frame.reset();
        app.reset();
    }

    core::ui::CPeptideDoc* Document() const { return app->CurrentDocument(); }

    /// Writes a file into the home directory and returns its path.
    QString File(const QString& name, const QByteArray& bytes) const
    {
        const QString path = home.Path(name);
        WriteBytes(path, bytes);
        return path;
    }

    /// The menu bar as "Title: text[x] | ..." lines; [x] marks disabled items,
    /// [v] checked ones, "---" separators.
    QStringList MenuLines() const
    {
        frame->UpdateCommandStates();
        QStringList lines;
        for (QAction* top : frame->menuBar()->actions()) {
            QString line = top->text() + QLatin1Char(':');
            for (QAction* item : top->menu()->actions()) {
                line += QLatin1Char(' ');
                line += item->isSeparator() ? QStringLiteral("---") : item->text();
                if (!item->isSeparator() && !item->isEnabled()) {
                    line += QStringLiteral("[x]");
                }
                if (item->isChecked()) {
                    line += QStringLiteral("[v]");
                }
                line += QStringLiteral(" |");
            }
            lines << line;
        }
        return lines;
    }

    /// The menu item of a command, nullptr when the menus lack it.
    QAction* MenuItem(int id) const
    {
        frame->UpdateCommandStates();
        for (QAction* top : frame->menuBar()->actions()) {
            for (QAction* item : top->menu()->actions()) {
                if (!item->isSeparator() && item->data().toInt() == id) {
                    return item;
                }
            }
        }
        return nullptr;
    }

    bool Enabled(int id) const
    {
        const QAction* item = MenuItem(id);
        return item != nullptr && item->isEnabled();
    }

    TestHome home;
    QString start;
    MessageRecorder messages;
    FileDialogAnswers dialogs;
    std::unique_ptr<core::ui::Application> app;
    std::unique_ptr<shell::ui::CMainFrame> frame;
};

/// The text of what Print gives for the active window, printed to a PDF file
/// through the printer seam; empty when the command was refused.
inline QString PrintedText(const RunningProgram& program)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("printed.pdf"));
    auto previous = core::ui::SetPrinterChooser([&path](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        return true;
    });
    const bool printed = program.frame->Execute(core::cmd::kPrint);
    core::ui::SetPrinterChooser(std::move(previous));
    return printed ? PdfText(path) : QString();
}

/// Whether a report window shows its whole report, or, in each direction
/// where it does not, reaches the workspace's edge.
inline bool ShowsAllItHasRoomFor(const RunningProgram& program, const shell::ui::ChildFrame& frame)
{
    // A window of several pages shows the one on top.
    const auto* pages = qobject_cast<const QTabWidget*>(frame.widget());
    const auto* view = qobject_cast<const QAbstractScrollArea*>(
        pages != nullptr ? pages->currentWidget() : frame.widget());
    if (view == nullptr) {
        return false;
    }
    const QSize room = program.frame->Workspace()->viewport()->size();
    const bool across =
        view->horizontalScrollBar()->maximum() == 0 || frame.geometry().right() + 1 >= room.width();
    const bool down =
        view->verticalScrollBar()->maximum() == 0 || frame.geometry().bottom() + 1 >= room.height();
    return across && down;
}

/// The view of the active window when it is a View, else null.
template <class View>
View* ActiveView(const RunningProgram& program)
{
    shell::ui::ChildFrame* frame = program.frame->ActiveFrame();
    return frame ? qobject_cast<View*>(frame->widget()) : nullptr;
}

/// For its lifetime, the Hydropathy Plot command opens a stand-in plot window:
/// a document of its own and a bare view, registered with the sequence.
struct StandInHydropathyPlot
{
    StandInHydropathyPlot()
    {
        using namespace shell::ui;
        SetWindowFactory(shell::WindowKind::Hydropathy, [](core::ui::CPeptideDoc&,
                                                           const std::any&) {
            return WindowContent{new QLabel(QStringLiteral("plot")), nullptr, new QObject, nullptr};
        });
        SetLauncher(core::cmd::kHydropathy, [](LaunchContext& context) {
            ChildFrame* frame =
                context.host.OpenWindow(shell::WindowKind::Hydropathy, context.document);
            context.document.Analyses().hydropathy = frame->PlotDocument();
            context.document.AnalysesChanged();
        });
    }
    ~StandInHydropathyPlot()
    {
        shell::ui::SetWindowFactory(shell::WindowKind::Hydropathy, {});
        shell::ui::SetLauncher(core::cmd::kHydropathy, {});
    }
    StandInHydropathyPlot(const StandInHydropathyPlot&) = delete;
    StandInHydropathyPlot& operator=(const StandInHydropathyPlot&) = delete;
};

/// A short FASTA text.
inline QByteArray Fasta(const QByteArray& name, const QByteArray& sequence)
{
    return ">" + name + "\r\n" + sequence + "\r\n";
}

/// Answers the dialogs that the plot pages run (their range dialogs, the mark
/// and text dialogs) while it lives: each goes to the answer given, or is
/// accepted as it is when there is none.
class PlotDialogAnswers
{
public:
    PlotDialogAnswers()
    {
        plots::ui::Choosers().run = [this](QDialog& dialog) {
            ++m_shown;
            if (m_answer) {
                m_answer(dialog);
            } else {
                dialog.accept();
            }
            return dialog.result();
        };
    }
    ~PlotDialogAnswers() { plots::ui::Choosers() = plots::ui::StandardChoosers(); }
    PlotDialogAnswers(const PlotDialogAnswers&) = delete;
    PlotDialogAnswers& operator=(const PlotDialogAnswers&) = delete;

    /// What the next dialogs get; empty: OK as they are.
    void Answer(std::function<void(QDialog&)> answer) { m_answer = std::move(answer); }
    int Shown() const { return m_shown; }

private:
    std::function<void(QDialog&)> m_answer;
    int m_shown = 0;
};

} // namespace quorin::test
