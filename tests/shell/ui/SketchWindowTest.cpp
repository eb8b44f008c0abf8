#include "MainFrameFixture.h"
#include "core/CommandIds.h"
#include "core/PepFile.h"
#include "core/ui/GdiTypes.h"
#include "plots/ui/CMarkDialog.h"
#include "plots/ui/CSchemeDoc.h"
#include "plots/ui/CSchemeView.h"
#include "plots/ui/CSketchDialog.h"
#include "plots/ui/CSketchDomainDialog.h"
#include "plots/ui/CTextDialog.h"
#include "plots/ui/PlotDialogs.h"

#include <QCheckBox>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>

#include <deque>
#include <functional>

namespace quorin::shell::ui {

namespace cmd = core::cmd;
using test::ActiveView;
using test::RunningProgram;

namespace {

QLineEdit* edit(QDialog& dialog, const char* name)
{
    return dialog.findChild<QLineEdit*>(QString::fromLatin1(name));
}

/// Answers the page dialogs in the order they open, nested ones too, and
/// the font and colour choosers with what the test queued.
class DialogScript
{
public:
    DialogScript()
    {
        plots::ui::Choosers().run = [this](QDialog& dialog) {
            if (m_steps.empty()) {
                QTest::qFail("a dialog nobody expected", __FILE__, __LINE__);
                dialog.reject();
                return dialog.result();
            }
            const auto step = std::move(m_steps.front());
            m_steps.pop_front();
            step(dialog);
            return dialog.result();
        };
        plots::ui::Choosers().font = [this](QWidget*, const plots::ui::ChosenFont&) {
            return m_font;
        };
        plots::ui::Choosers().colour = [this](QWidget*, core::COLORREF) { return m_colour; };
    }
    ~DialogScript() { plots::ui::Choosers() = plots::ui::StandardChoosers(); }
    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;

    void Then(std::function<void(QDialog&)> step) { m_steps.push_back(std::move(step)); }
    bool Done() const { return m_steps.empty(); }

    /// A domain dialog filled in, the font and colour chosen, and OK.
    void Domain(const QString& name, int start, int end, const plots::ui::ChosenFont& font,
                core::COLORREF colour)
    {
        Then([this, name, start, end, font, colour](QDialog& dialog) {
            QVERIFY(qobject_cast<plots::ui::CSketchDomainDialog*>(&dialog) != nullptr);
            edit(dialog, "name")->setText(name);
            edit(dialog, "start")->setText(QString::number(start));
            edit(dialog, "end")->setText(QString::number(end));
            dialog.findChild<QCheckBox*>(QStringLiteral("displayName"))->setChecked(true);
            m_font = font;
            dialog.findChild<QPushButton*>(QStringLiteral("chooseFont"))->click();
            m_colour = colour;
            dialog.findChild<QPushButton*>(QStringLiteral("domainColor"))->click();
            dialog.accept();
        });
    }

private:
    std::deque<std::function<void(QDialog&)>> m_steps;
    std::optional<plots::ui::ChosenFont> m_font;
    std::optional<core::COLORREF> m_colour;
};

QString bacteriorhodopsin()
{
    return test::DataPath(QStringLiteral("proteins/P02945.fasta"));
}

plots::ui::ChosenFont labelFont(int height, core::COLORREF colour)
{
    core::LOGFONT font = core::ReportFontA();
    font.lfHeight = height;
    font.lfWeight = 700;
    font.lfItalic = 1;
    return {font, colour};
}

} // namespace

/// The domain sketch in the desktop program: its launcher and a sketch made
/// in its window that the .pep file keeps.
class SketchWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void theStructureDialogComesFirstAndCancelKeepsTheNewDomainList()
    {
        RunningProgram program;
        DialogScript dialogs;
        QVERIFY(program.frame->OpenDocumentFile(bacteriorhodopsin()));
        core::PropertyRecord& record = program.Document()->Record();
        record.sketch.domains.resize(3);

        dialogs.Then([](QDialog& dialog) {
            QVERIFY(qobject_cast<plots::ui::CSketchDialog*>(&dialog) != nullptr);
            // One domain over all 262 residues, 400 / 262 page units each.
            QCOMPARE(dialog.findChild<QListWidget*>(QStringLiteral("domains"))->count(), 1);
            QCOMPARE(edit(dialog, "end")->text() + u' ' + edit(dialog, "scale")->text(),
                     QStringLiteral("262 1.53"));
            dialog.reject();
        });
        QVERIFY(program.frame->Execute(cmd::kDomainSketch));
        QCOMPARE(program.frame->Frames().size(), 1);
        QCOMPARE(record.sketch.domains.size(), std::size_t(1));

        dialogs.Then([](QDialog& dialog) {
            edit(dialog, "scale")->setText(QStringLiteral("1.5"));
            dialog.accept();
        });
        QVERIFY(program.frame->Execute(cmd::kDomainSketch));
        QVERIFY(ActiveView<plots::ui::CSchemeView>(program) != nullptr);
        QCOMPARE(record.sketch.scale, 1.5);
        QVERIFY(program.frame->ActiveFrame()->windowTitle().startsWith(
            QStringLiteral("Sketch of domains of P02945")));
        // One sketch per sequence.
        QVERIFY(!program.Enabled(cmd::kDomainSketch));
        program.frame->ActiveFrame()->close();
        QTRY_VERIFY(program.Enabled(cmd::kDomainSketch));
    }

    void closingTheWindowKeepsTheSketchOnlyDeleteRemovesDomains()
    {
        RunningProgram program;
        DialogScript dialogs;
        const QString path = program.File(
            QStringLiteral("bR.pep"),
            test::ReadBytes(QStringLiteral(
                QUORIN_TEST_DATA_DIR "/../../src/res/examples/bacteriorhodopsin-domains.pep")));
        const QByteArray original = test::ReadBytes(path);
        QVERIFY(program.frame->OpenDocumentFile(path));
        core::ui::CPeptideDoc& document = *program.Document();
        const std::vector<core::DOMAINE> domains = document.Record().sketch.domains;
        QCOMPARE(domains.size(), std::size_t(4));

        // Closed by its window button, the sketch stays with the sequence and
        // its file does not shrink.
        QVERIFY(ActiveView<plots::ui::CSchemeView>(program) != nullptr);
        program.frame->ActiveFrame()->close();
        QTRY_VERIFY(document.Analyses().sketch.isNull());
        QVERIFY(!document.IsModified());
        QVERIFY(program.frame->Execute(cmd::kSave));
        QCOMPARE(test::ReadBytes(path), original);

        // Analyze > Domain Sketch shows it again, without the structure
        // dialog of a new sketch.
        QVERIFY(program.frame->Execute(cmd::kDomainSketch));
        plots::ui::CSchemeView* view = ActiveView<plots::ui::CSchemeView>(program);
        QVERIFY(view != nullptr);
        QVERIFY(document.Record().sketch.domains == domains);
        QVERIFY(!document.IsModified());

        // A click only selects; Delete removes the domain, and the document
        // has changed.
        auto& sketch = static_cast<plots::ui::CSchemeDoc&>(view->Document());
        const core::DOMAINE& helixA = domains[1];
        const int x = static_cast<int>(40 + (helixA.start + helixA.end) / 2.0 *
                                                document.Record().sketch.scale) -
                      view->horizontalScrollBar()->value();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(x, 100));
        QCOMPARE(sketch.SelectedDomain(), 1);
        QVERIFY(!document.IsModified());
        QTest::keyClick(view, Qt::Key_Delete);
        QCOMPARE(document.Record().sketch.domains.size(), std::size_t(3));
        QVERIFY(document.IsModified());
        program.frame->ActiveFrame()->close();
        QTRY_VERIFY(document.Analyses().sketch.isNull());
        QVERIFY(program.frame->Execute(cmd::kSave));
        core::PropertyRecord saved;
        QVERIFY(core::LoadSequenceBytes(test::ReadBytes(path).toStdString(), saved).hasSketch);
        QCOMPARE(saved.sketch.domains.size(), std::size_t(3));
        QCOMPARE(saved.sketch.domains[1].name, domains[2].name);
        QVERIFY(dialogs.Done());
    }

    void aSketchMadeInTheWindowSurvivesSaveAndReopenByteForByte()
    {
        RunningProgram program;
        DialogScript dialogs;
        QVERIFY(program.frame->OpenDocumentFile(bacteriorhodopsin()));
        // Beside the grey domain of the whole sequence, three named, coloured,
        // overlapping domains: one added from the structure dialog, two from
        // the window.
        dialogs.Then([](QDialog& dialog) {
            edit(dialog, "scale")->setText(QStringLiteral("2"));
            dialog.findChild<QPushButton*>(QStringLiteral("add"))->click();
            dialog.accept();
        });
        dialogs.Domain(QStringLiteral("Helix A"), 23, 42, labelFont(-11, 0x000080), 0x8080FF);
        QVERIFY(program.frame->Execute(cmd::kDomainSketch));
        plots::ui::CSchemeView* view = ActiveView<plots::ui::CSchemeView>(program);
        QVERIFY(view != nullptr);
        dialogs.Domain(QStringLiteral("Helix B"), 57, 76, labelFont(-11, 0x004000), 0x80FF80);
        QVERIFY(program.frame->Execute(cmd::kAddDomain));
        dialogs.Domain(QStringLiteral("A-B"), 30, 70, labelFont(-11, 0x800000), 0xFFC080);
        QVERIFY(program.frame->Execute(cmd::kAddDomain));
        dialogs.Then([](QDialog& dialog) {
            QVERIFY(qobject_cast<plots::ui::CMarkDialog*>(&dialog) != nullptr);
            edit(dialog, "position")->setText(QStringLiteral("229"));
            dialog.accept();
        });
        QVERIFY(program.frame->Execute(cmd::kMarkPositions));
        QVERIFY(program.frame->Execute(cmd::kNumbersOrLabels));
        QVERIFY(program.frame->Execute(cmd::kInsertText));
        dialogs.Then([](QDialog& dialog) {
            dialog.findChild<QPlainTextEdit*>(QStringLiteral("text"))
                ->setPlainText(QStringLiteral("Bacteriorhodopsin\nretinal on K229"));
            dialog.accept();
        });
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(360, 150));
        QVERIFY(dialogs.Done());
        const core::SketchData made = program.Document()->Record().sketch;
        QCOMPARE(made.domains.size(), std::size_t(4));
        QCOMPARE(made.scale, 2.0);
        const core::DOMAINE& helixB = made.domains[2];
        QCOMPARE(std::tuple(helixB.colour, helixB.labelColour, helixB.font.lfWeight),
                 std::tuple(core::COLORREF{0x80FF80}, core::COLORREF{0x004000}, 700));
        QCOMPARE(made.texts.size(), std::size_t(1));
        QCOMPARE(made.texts[0].x, 360);

        const QString first = program.home.Path(QStringLiteral("bR.pep"));
        program.dialogs.Answer(first);
        QVERIFY(program.frame->Execute(cmd::kSaveAs));
        QVERIFY(program.frame->OpenDocumentFile(first));
        QVERIFY(ActiveView<plots::ui::CSchemeView>(program) != nullptr);
        const core::SketchData back = program.Document()->Record().sketch;
        QVERIFY(back.domains == made.domains && back.marks == made.marks);
        QVERIFY(back.texts == made.texts && back.labelMarks == made.labelMarks);
        QCOMPARE(static_cast<float>(back.scale), static_cast<float>(made.scale));

        const QString second = program.home.Path(QStringLiteral("again.pep"));
        program.dialogs.Answer(second);
        QVERIFY(program.frame->Execute(cmd::kSaveAs));
        QCOMPARE(test::ReadBytes(second), test::ReadBytes(first));

        // Refreshes the bundled example: QUORIN_SKETCH_EXAMPLE names where to put the file.
        if (const QString example = qEnvironmentVariable("QUORIN_SKETCH_EXAMPLE");
            !example.isEmpty()) {
            QFile::remove(example);
            QVERIFY(QFile::copy(first, example));
        }
    }
};

} // namespace quorin::shell::ui

QTEST_MAIN(quorin::shell::ui::SketchWindowTest)
#include "SketchWindowTest.moc"
