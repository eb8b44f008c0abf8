#include "MainFrameFixture.h"
#include "core/CommandIds.h"
#include "shell/ui/CPepEditView.h"
#include "shell/ui/HelpWindow.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QScrollBar>
#include <QTimer>

namespace quorin::shell::ui {

/// Writes pictures of the main window into the build tree, for a person to
/// look at: empty, with a sequence, with the properties window.
class ScreenshotTest : public QObject
{
    Q_OBJECT

private:
    static QString save(const test::RunningProgram& program, const QString& name)
    {
        return save(program.frame.get(), name);
    }

    static QString save(QWidget* window, const QString& name)
    {
        const QString directory = QStringLiteral(QUORIN_TEST_OUTPUT_DIR "/screenshots");
        QDir().mkpath(directory);
        const QString path = directory + QLatin1Char('/') + name;
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        const QImage image = window->grab().toImage();
        if (image.isNull() || !image.save(path)) {
            QTest::qFail(qPrintable(QStringLiteral("cannot write ") + path), __FILE__, __LINE__);
        }
        return path;
    }

private slots:
    void mainWindowPictures()
    {
        test::RunningProgram program;
        program.frame->resize(1200, 800);
        save(program, QStringLiteral("main-empty.png"));

        QVERIFY(program.frame->OpenDocumentFile(
            QStringLiteral(QUORIN_SOURCE_DIR "/src/res/examples/bacteriorhodopsin.fasta")));
        program.Document()->Record().remarks = "Light-driven proton pump of the purple membrane.";
        program.Document()->UpdateAllViews();
        save(program, QStringLiteral("main-sequence.png"));

        QVERIFY(program.frame->Execute(core::cmd::kPhysChem));
        QCOMPARE(program.frame->ActiveKind(), WindowKind::PhysChem);
        const QString last = save(program, QStringLiteral("main-properties.png"));
        QVERIFY(QImage(last).width() == program.frame->width());

        // The report dialog of Copy, the help window and the About box.
        QTimer::singleShot(0, [] {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog != nullptr);
            save(dialog, QStringLiteral("copy-dialog.png"));
            dialog->close();
        });
        QVERIFY(program.frame->Execute(core::cmd::kCopy));
        QVERIFY(program.frame->Execute(core::cmd::kHelp));
        save(&program.frame->Help(), QStringLiteral("help.png"));
        QTimer::singleShot(0, [] {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog != nullptr);
            save(dialog, QStringLiteral("about.png"));
            dialog->close();
        });
        QVERIFY(program.frame->Execute(core::cmd::kAbout));
    }

    void editorInTheMiddleOfAProtein()
    {
        test::RunningProgram program;
        program.frame->resize(1200, 800);
        QVERIFY(program.frame->OpenDocumentFile(
            test::DataPath(QStringLiteral("proteins/Q8WZ42.fasta"))));
        program.Document()->Record().remarks = "Titin, the giant of the sarcomere.";
        program.Document()->UpdateAllViews();
        ChildFrame* editor = program.frame->ActiveFrame();
        QVERIFY(editor != nullptr);
        auto* text = editor->findChild<CPepEditView*>();
        QVERIFY(text != nullptr);
        text->SelectResidues(17171, 17180);
        QScrollBar* bar = text->verticalScrollBar();
        bar->setValue(bar->maximum() / 2);
        save(editor, QStringLiteral("editor-titin-middle.png"));
    }
};

} // namespace quorin::shell::ui

QTEST_MAIN(quorin::shell::ui::ScreenshotTest)
#include "ScreenshotTest.moc"
