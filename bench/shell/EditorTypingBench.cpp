#include "core/FileIo.h"
#include "core/ui/Application.h"
#include "core/ui/CPeptideDoc.h"
#include "shell/ui/CMainFrame.h"
#include "shell/ui/CPepEditView.h"
#include "shell/ui/SequenceEditorPanes.h"
#include "shell/ui/StartUp.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>

#include <benchmark/benchmark.h>
#include <stdexcept>

namespace {

using namespace quorin;

/// The whole editor (header, numbers, text) on titin, 34,350 residues, with
/// the caret in the middle of the sequence.
struct TitinEditor
{
    TitinEditor()
    {
        const auto fasta = core::ReadWholeFile(QUORIN_TEST_DATA_DIR "/proteins/Q8WZ42.fasta");
        if (!fasta) {
            throw std::runtime_error("missing titin fixture");
        }
        document.Record().SetName("titin");
        document.Record().SetSequence(fasta->substr(fasta->find('\n') + 1));
        panes = std::make_unique<shell::ui::SequenceEditorPanes>(document);
        panes->resize(720, 460);
        panes->show();
        text = &panes->Editor();
        QTextCursor cursor = text->textCursor();
        cursor.setPosition(text->document()->characterCount() / 2);
        text->setTextCursor(cursor);
        QCoreApplication::processEvents();
    }

    core::ui::CPeptideDoc document;
    std::unique_ptr<shell::ui::SequenceEditorPanes> panes;
    shell::ui::CPepEditView* text = nullptr;
};

/// One key press: the control inserts the character, the whole text is parsed
/// again, re-formatted and put back, the caret corrected, the header and the
/// numbers follow, and the window is painted.
void BM_TypeResidueIntoTitin(benchmark::State& state)
{
    TitinEditor editor;
    for (auto _ : state) {
        QTest::keyClick(editor.text, Qt::Key_K);
        editor.panes->repaint();
    }
    if (editor.document.Record().CleanSequence().size() <= 34350) {
        state.SkipWithError("the typed residues did not reach the sequence");
    }
}
BENCHMARK(BM_TypeResidueIntoTitin)->Unit(benchmark::kMillisecond);

/// Backspace in the middle of titin: a residue goes, every later block shifts.
void BM_BackspaceInTitin(benchmark::State& state)
{
    TitinEditor editor;
    for (auto _ : state) {
        QTest::keyClick(editor.text, Qt::Key_Backspace);
        editor.panes->repaint();
    }
}
BENCHMARK(BM_BackspaceInTitin)->Unit(benchmark::kMillisecond)->Iterations(2000);

/// The same keystroke in the running program: the main window with its menus,
/// toolbar and status bar, the editor opened from the file, and every update
/// the keystroke posts (command states, the title) handled before the next.
void BM_TypeResidueIntoTitinInTheProgram(benchmark::State& state)
{
    auto& app = core::ui::Application::Instance();
    const auto frame = shell::ui::InitInstance(
        app, {QStringLiteral(QUORIN_TEST_DATA_DIR "/proteins/Q8WZ42.fasta")}, false);
    frame->resize(1024, 720);
    frame->show();
    auto* text = frame->findChild<shell::ui::CPepEditView*>();
    if (text == nullptr) {
        state.SkipWithError("the editor did not open");
        return;
    }
    QTextCursor cursor = text->textCursor();
    cursor.setPosition(text->document()->characterCount() / 2);
    text->setTextCursor(cursor);
    QCoreApplication::processEvents();
    for (auto _ : state) {
        QTest::keyClick(text, Qt::Key_K);
        QCoreApplication::processEvents();
        frame->repaint();
    }
    // The document is modified: let it go without the save question.
    app.CurrentDocument()->SetModifiedFlag(false);
}
BENCHMARK(BM_TypeResidueIntoTitinInTheProgram)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // The program's registry store and settings file stay in a scratch directory.
    QTemporaryDir home;
    qputenv("QUORIN_REGISTRY", home.filePath(QStringLiteral("registry.ini")).toLocal8Bit());
    QApplication qtApp(argc, argv);
    quorin::core::ui::Application app(home.path().toStdString());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
