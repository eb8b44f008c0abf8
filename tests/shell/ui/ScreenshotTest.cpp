#include "MainFrameFixture.h"
#include "analysis/ui/CDigView.h"
#include "analysis/ui/CDigestDialog.h"
#include "batch/ui/BatchRunner.h"
#include "core/CommandIds.h"
#include "core/ui/Printing.h"
#include "plots/AmphipathyPage.h"
#include "plots/ui/CAmphyDoc.h"
#include "plots/ui/CAmphyView.h"
#include "plots/ui/CPathyView.h"
#include "plots/ui/CSchemeView.h"
#include "plots/ui/PlotDialogs.h"
#include "shell/ui/COptionsPropSheet.h"
#include "shell/ui/CPepEditView.h"
#include "shell/ui/HelpWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTreeWidget>

#include <functional>

namespace quorin::shell::ui {

namespace cmd = core::cmd;

/// Writes pictures of the desktop program for a person to look at, into
/// QUORIN_SCREENSHOT_DIR (`make screenshots`; not a ctest test): the main
/// window empty, with a sequence and with the properties window, the dialogs,
/// the editor, the digest window and the hydropathy page on screen, printed
/// and as a metafile that another program drew, a zoomed helical wheel, the
/// titration curve on screen and printed, and a batch run under way.
class ScreenshotTest : public QObject
{
    Q_OBJECT

private:
    static QString directory()
    {
        const QString path = QStringLiteral(QUORIN_SCREENSHOT_DIR);
        QDir().mkpath(path);
        return path;
    }

    static QString save(const test::RunningProgram& program, const QString& name)
    {
        return save(program.frame.get(), name);
    }

    static QString save(QWidget* window, const QString& name)
    {
        const QString path = directory() + QLatin1Char('/') + name;
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        const QImage image = window->grab().toImage();
        if (image.isNull() || !image.save(path)) {
            QTest::qFail(qPrintable(QStringLiteral("cannot write ") + path), __FILE__, __LINE__);
        }
        return path;
    }

    /// Runs a program of poppler, emf2svg or librsvg; fails the current test
    /// when it is missing or fails.
    static bool runTool(const QString& program, const QStringList& arguments)
    {
        QProcess process;
        process.start(program, arguments);
        if (!process.waitForFinished(60000) || process.exitCode() != 0) {
            QTest::qFail(qPrintable(program + QStringLiteral(" failed (scripts/install-deps)")),
                         __FILE__, __LINE__);
            return false;
        }
        return true;
    }

    /// Prints the active window to NAME.pdf and draws that as NAME.png.
    static bool printToPng(const test::RunningProgram& program, const QString& name)
    {
        const QString pdf = directory() + QLatin1Char('/') + name + QStringLiteral(".pdf");
        auto previous = core::ui::SetPrinterChooser([&pdf](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return true;
        });
        const bool printed = program.frame->Execute(cmd::kPrint);
        core::ui::SetPrinterChooser(std::move(previous));
        return printed &&
               runTool(QStringLiteral("pdftoppm"),
                       {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("100"),
                        QStringLiteral("-singlefile"), pdf, directory() + QLatin1Char('/') + name});
    }

    /// Saves the active page as NAME-page.emf and draws it as another program
    /// does (emf2svg, then rsvg) into NAME-metafile.png.
    static bool metafileToPng(test::RunningProgram& program, const QString& name)
    {
        const QString emf = directory() + QLatin1Char('/') + name + QStringLiteral("-page.emf");
        const QString svg = directory() + QLatin1Char('/') + name + QStringLiteral("-metafile.svg");
        QFile::remove(emf);
        program.dialogs.Answer(emf);
        return program.frame->Execute(cmd::kSaveMetafile) &&
               runTool(QStringLiteral("emf2svg-conv"),
                       {QStringLiteral("-i"), emf, QStringLiteral("-o"), svg}) &&
               runTool(QStringLiteral("rsvg-convert"),
                       {QStringLiteral("-o"),
                        directory() + QLatin1Char('/') + name + QStringLiteral("-metafile.png"),
                        svg});
    }

    /// Insulin digested by Trypsin in a 1200 x 800 main window; null when the
    /// digest window did not come.
    static analysis::ui::CDigView* trypticDigestOfInsulin(test::RunningProgram& program)
    {
        program.frame->resize(1200, 800);
        if (!program.frame->OpenDocumentFile(test::DataPath("proteins/P01308.fasta"))) {
            return nullptr;
        }
        program.Document()->Record().agents = {{"Trypsin", "K!;R!"}, {"CNBr", "M"}};
        test::ModalAnswer answer([](QWidget& dialog) {
            dialog.findChild<QListWidget*>(QStringLiteral("availableAgents"))->setCurrentRow(0);
            dialog.findChild<QPushButton*>(QStringLiteral("select"))->click();
            dialog.findChild<QPushButton*>(QStringLiteral("analyse"))->click();
        });
        program.frame->Execute(cmd::kCleavage);
        auto* view = test::ActiveView<analysis::ui::CDigView>(program);
        if (!answer.Answered() || view == nullptr ||
            !QTest::qWaitFor([view] { return !view->Busy(); })) {
            return nullptr;
        }
        return view;
    }

private slots:
    void cleanup() { plots::ui::Choosers() = plots::ui::StandardChoosers(); }

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

        QVERIFY(program.frame->Execute(cmd::kPhysChem));
        QCOMPARE(program.frame->ActiveKind(), WindowKind::PhysChem);
        save(program, QStringLiteral("main-properties.png"));

        // The report dialog of Copy, the help window and the About box.
        {
            test::ModalAnswer answer([](QWidget& dialog) {
                save(&dialog, QStringLiteral("copy-dialog.png"));
                dialog.close();
            });
            QVERIFY(program.frame->Execute(cmd::kCopy));
            QVERIFY(answer.Answered());
        }
        QVERIFY(program.frame->Execute(cmd::kHelp));
        save(&program.frame->Help(), QStringLiteral("help.png"));
        test::ModalAnswer answer([](QWidget& dialog) {
            save(&dialog, QStringLiteral("about.png"));
            dialog.close();
        });
        QVERIFY(program.frame->Execute(cmd::kAbout));
        QVERIFY(answer.Answered());
    }

    void downloadDialog()
    {
        test::RunningProgram program;
        test::ModalAnswer answer([](QWidget& dialog) {
            dialog.findChild<QLineEdit*>(QStringLiteral("accession"))
                ->setText(QStringLiteral("NP_416719"));
            save(&dialog, QStringLiteral("download-dialog.png"));
            dialog.close();
        });
        QVERIFY(program.frame->Execute(cmd::kDownload));
        QVERIFY(answer.Answered());
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

    void digestOfInsulin()
    {
        test::RunningProgram program;
        analysis::ui::CDigView* view = trypticDigestOfInsulin(program);
        QVERIFY(view != nullptr);
        view->SelectLines(21, 23);
        save(program, QStringLiteral("digest-P01308.png"));
    }

    void filteredDigestOfInsulin()
    {
        test::RunningProgram program;
        analysis::ui::CDigView* view = trypticDigestOfInsulin(program);
        QVERIFY(view != nullptr);
        {
            test::ModalAnswer answer([](QWidget& dialog) {
                dialog.findChild<QCheckBox*>(QStringLiteral("limitMissed"))->setChecked(true);
                dialog.findChild<QLineEdit*>(QStringLiteral("maxMissed"))
                    ->setText(QStringLiteral("1"));
                dialog.findChild<QLineEdit*>(QStringLiteral("minLength"))
                    ->setText(QStringLiteral("5"));
                dialog.findChild<QRadioButton*>(QStringLiteral("monoisotopic"))->setChecked(true);
                dialog.findChild<QLineEdit*>(QStringLiteral("charges"))
                    ->setText(QStringLiteral("1,2,3"));
                save(&dialog, QStringLiteral("digest-options-dialog.png"));
                qobject_cast<QDialog*>(&dialog)->accept();
            });
            QVERIFY(program.frame->Execute(cmd::kDigestOptions));
            QVERIFY(answer.Answered());
        }
        QTRY_VERIFY(!view->Busy());
        program.frame->ActiveFrame()->resize(700, 560);
        view->SelectLines(23, 23);
        save(program, QStringLiteral("digest-P01308-filtered.png"));
    }

    void motifsOfBacteriorhodopsin()
    {
        test::RunningProgram program;
        program.frame->resize(1000, 700);
        QVERIFY(program.frame->OpenDocumentFile(test::DataPath("proteins/P02945.fasta")));
        test::ModalAnswer answer([](QWidget& dialog) {
            save(&dialog, QStringLiteral("motif-dialog.png"));
            dialog.findChild<QLineEdit*>(QStringLiteral("search"))
                ->setText(QStringLiteral("GX;LL"));
            dialog.findChild<QPushButton*>(QStringLiteral("ok"))->click();
        });
        QVERIFY(program.frame->Execute(cmd::kMotifs));
        QVERIFY(answer.Answered());
        QVERIFY(program.frame->Execute(cmd::kSortByPosition));
        save(program, QStringLiteral("motifs-P02945.png"));
    }

    void prositeScanOfBacteriorhodopsin()
    {
        test::RunningProgram program;
        program.frame->resize(1000, 700);
        QVERIFY(program.frame->OpenDocumentFile(test::DataPath("proteins/P02945.fasta")));
        program.dialogs.Answer(program.File(
            QStringLiteral("library.dat"),
            "ID   ASN_GLYCOSYLATION; PATTERN.\nAC   PS00001;\nDE   N-glycosylation site.\n"
            "PA   N-{P}-[ST]-{P}.\n//\n"
            "ID   PKC_PHOSPHO_SITE; PATTERN.\nAC   PS00005;\n"
            "DE   Protein kinase C phosphorylation site.\nPA   [ST]-x-[RK].\n//\n"
            "ID   OPSIN; PATTERN.\nAC   PS00238;\nDE   Visual pigments (opsins) retinal binding "
            "site.\nPA   [LIVMFWAC]-[PSGAC]-x(3)-[SAC]-K-[STALIMR]-[GSACPNV]-[STACP]-x(2)-[DENF]-\n"
            "PA   [AP]-x(2)-[IY].\n//\n"));
        QVERIFY(program.frame->Execute(cmd::kPrositeScan));
        auto* view = program.frame->ActiveFrame()->findChild<QTreeWidget*>();
        QVERIFY(view != nullptr);
        view->setCurrentItem(view->topLevelItem(1));
        save(program, QStringLiteral("prosite-scan-P02945.png"));
        view->selectAll();
        QVERIFY(program.frame->Execute(cmd::kAddToSketch));
        QVERIFY(program.frame->Execute(cmd::kDomainSketch));
        save(program, QStringLiteral("prosite-scan-sketch-P02945.png"));
    }

    void prositePatternOfBacteriorhodopsin()
    {
        test::RunningProgram program;
        program.frame->resize(1000, 700);
        QVERIFY(program.frame->OpenDocumentFile(test::DataPath("proteins/P02945.fasta")));
        test::ModalAnswer answer([](QWidget& dialog) {
            dialog.findChild<QRadioButton*>(QStringLiteral("prositePattern"))->click();
            dialog.findChild<QLineEdit*>(QStringLiteral("search"))
                ->setText(QStringLiteral("[LIVM]-x(2)-[DE]-x-{P}-[LIVM]"));
            save(&dialog, QStringLiteral("motif-dialog-prosite.png"));
            dialog.findChild<QPushButton*>(QStringLiteral("ok"))->click();
        });
        QVERIFY(program.frame->Execute(cmd::kMotifs));
        QVERIFY(answer.Answered());
        save(program, QStringLiteral("motifs-prosite-P02945.png"));
    }

    void hydropathyPage()
    {
        test::RunningProgram program;
        std::function<void(QDialog&)> fill;
        plots::ui::Choosers().run = [&fill](QDialog& dialog) {
            fill ? fill(dialog) : dialog.accept();
            return dialog.result();
        };
        program.frame->resize(1200, 800);
        QVERIFY(program.frame->OpenDocumentFile(test::DataPath("proteins/P02945.fasta")));
        QVERIFY(program.frame->Execute(cmd::kHydropathy));
        auto* view = qobject_cast<plots::ui::CPathyView*>(program.frame->ActiveFrame()->widget());
        QVERIFY(view != nullptr);

        fill = [](QDialog& dialog) {
            dialog.findChild<QLineEdit*>(QStringLiteral("position"))->setText(QStringLiteral("82"));
            dialog.accept();
        };
        QVERIFY(program.frame->Execute(cmd::kMarkPositions));
        QVERIFY(program.frame->Execute(cmd::kInsertText));
        fill = [](QDialog& dialog) {
            dialog.findChild<QPlainTextEdit*>(QStringLiteral("text"))
                ->setPlainText(QStringLiteral("Seven transmembrane helices\nRetinal on K216"));
            dialog.accept();
        };
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(400, 20));
        QVERIFY(program.frame->Execute(cmd::kSelectObject));
        save(program, QStringLiteral("hydropathy-window.png"));
        save(view->viewport(), QStringLiteral("hydropathy-page.png"));

        QVERIFY(printToPng(program, QStringLiteral("hydropathy-printed")));

        QVERIFY(metafileToPng(program, QStringLiteral("hydropathy")));
    }

    void amphipathyOfMelittin()
    {
        test::RunningProgram program;
        plots::ui::Choosers().run = [](QDialog& dialog) {
            save(&dialog, QStringLiteral("amphipathy-dialog.png"));
            dialog.accept();
            return dialog.result();
        };
        program.frame->resize(1200, 800);
        QVERIFY(program.frame->OpenDocumentFile(test::DataPath("proteins/P01501.fasta")));
        QVERIFY(program.frame->Execute(cmd::kAmphipathy));
        auto* view = qobject_cast<plots::ui::CAmphyView*>(program.frame->ActiveFrame()->widget());
        QVERIFY(view != nullptr);
        save(program, QStringLiteral("amphipathy-window.png"));
    }

    /// Mature melittin at window 19: moments for centres 10..17, the curve
    /// up to the last of them; then zoomed to residues 4..20, which still
    /// shows all eight with their mean.
    void amphipathyOfMatureMelittin()
    {
        test::RunningProgram program;
        plots::ui::Choosers().run = [](QDialog& dialog) {
            dialog.accept();
            return dialog.result();
        };
        program.frame->resize(1200, 800);
        QVERIFY(program.frame->OpenDocumentFile(
            program.File(QStringLiteral("melittin.fasta"),
                         test::Fasta("melittin (mature, 26 aa)", "GIGAVLKVLTTGLPALISWIKRKRQQ"))));
        QVERIFY(program.frame->Execute(cmd::kAmphipathy));
        auto* view = qobject_cast<plots::ui::CAmphyView*>(program.frame->ActiveFrame()->widget());
        QVERIFY(view != nullptr);
        save(view->viewport(), QStringLiteral("amphipathy-melittin.png"));
        plots::AmphipathyPlot& plot = view->AmphyDocument().Page().Plot();
        plot.from = 4;
        plot.to = 20;
        view->AmphyDocument().Changed();
        save(view->viewport(), QStringLiteral("amphipathy-melittin-4-20.png"));
    }

    /// Two narrow overlapping domains with names wider than their boxes, over
    /// a named domain of the whole sequence: every name legible.
    void sketchOfNarrowOverlappingDomains()
    {
        test::RunningProgram program;
        plots::ui::Choosers().run = [](QDialog& dialog) {
            dialog.accept();
            return dialog.result();
        };
        program.frame->resize(1200, 800);
        QVERIFY(program.frame->OpenDocumentFile(test::DataPath("proteins/P02945.fasta")));
        QVERIFY(program.frame->Execute(cmd::kDomainSketch));
        auto* view = qobject_cast<plots::ui::CSchemeView*>(program.frame->ActiveFrame()->widget());
        QVERIFY(view != nullptr);
        core::SketchData& sketch = program.Document()->Record().sketch;
        sketch.domains[0].name = "bacteriorhodopsin";
        sketch.domains[0].displayName = 1;
        const auto add = [&sketch](const char* name, int start, int end, core::COLORREF colour) {
            core::DOMAINE domain;
            domain.start = static_cast<std::uint16_t>(start);
            domain.end = static_cast<std::uint16_t>(end);
            domain.name = name;
            domain.font = core::ReportFontA();
            domain.displayName = 1;
            domain.colour = colour;
            sketch.domains.push_back(domain);
        };
        add("Signal peptide", 1, 13, 0x80C0FF);
        add("Helix A", 9, 32, 0x8080FF);
        add("Helix B", 38, 62, 0x80FF80);
        add("B-C loop", 60, 66, 0xFFC080);
        view->Document().Changed();
        save(program, QStringLiteral("sketch-narrow-domains.png"));
    }

    void titrationOfBacteriorhodopsin()
    {
        test::RunningProgram program;
        plots::ui::Choosers().run = [](QDialog& dialog) {
            dialog.findChild<QComboBox*>(QStringLiteral("pkaSet"))
                ->setCurrentText(QStringLiteral("EMBOSS"));
            save(&dialog, QStringLiteral("titration-dialog.png"));
            dialog.accept();
            return dialog.result();
        };
        program.frame->resize(1200, 800);
        QVERIFY(program.frame->OpenDocumentFile(test::DataPath("proteins/P02945.fasta")));
        QVERIFY(program.frame->Execute(cmd::kTitration));
        QCOMPARE(program.frame->ActiveKind(), WindowKind::Titration);
        save(program, QStringLiteral("titration-window.png"));
        QVERIFY(printToPng(program, QStringLiteral("titration-printed")));
    }

    void helicalWheel()
    {
        test::RunningProgram program;
        plots::ui::Choosers().run = [](QDialog& dialog) {
            dialog.findChild<QLineEdit*>(QStringLiteral("from"))->setText(QStringLiteral("44"));
            dialog.findChild<QLineEdit*>(QStringLiteral("to"))->setText(QStringLiteral("61"));
            dialog.accept();
            return dialog.result();
        };
        program.frame->resize(1200, 800);
        program.app->Settings().colours = core::PropertyRecord().colours;
        program.app->Settings().wheelColorCode = 1;
        program.app->Settings().wheelNumbers = 1;
        QVERIFY(program.frame->OpenDocumentFile(test::DataPath("proteins/P01501.fasta")));
        QVERIFY(program.frame->Execute(cmd::kHelicalWheel));
        QVERIFY(program.frame->Execute(cmd::kZoomIn));
        QVERIFY(program.frame->Execute(cmd::kZoomIn));
        save(program, QStringLiteral("wheel-window.png"));
    }

    void domainSketch()
    {
        test::RunningProgram program;
        program.frame->resize(1200, 800);
        // Opening a file with a sketch opens its window.
        QVERIFY(program.frame->OpenDocumentFile(QStringLiteral(
            QUORIN_TEST_DATA_DIR "/../../src/res/examples/bacteriorhodopsin-domains.pep")));
        auto* view = qobject_cast<plots::ui::CSchemeView*>(program.frame->ActiveFrame()->widget());
        QVERIFY(view != nullptr);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(100, 100));
        save(program, QStringLiteral("sketch-window.png"));

        QVERIFY(printToPng(program, QStringLiteral("sketch-printed")));

        QVERIFY(metafileToPng(program, QStringLiteral("sketch")));
    }

    /// The batch options, a run under way (its progress bar and count in the
    /// status bar) and the same run terminated.
    void batchProgress()
    {
        batch::ui::RegisterBatchCommands();
        test::RunningProgram program;
        program.frame->resize(1200, 800);
        QByteArray proteins;
        for (const QString& name : QDir(test::DataPath(QStringLiteral("proteins")))
                                       .entryList({QStringLiteral("*.fasta")}, QDir::Files)) {
            proteins += test::ReadBytes(test::DataPath(QStringLiteral("proteins/") + name));
            proteins += '\n';
        }
        QByteArray many;
        while (many.size() < 100'000'000) {
            many += proteins;
        }
        program.dialogs.Answer(program.File(QStringLiteral("proteome.fasta"), many));
        test::ModalAnswer options([](QWidget& dialog) {
            save(&dialog, QStringLiteral("batch-options.png"));
            dialog.findChild<QPushButton*>(QStringLiteral("proceed"))->click();
        });
        QVERIFY(program.frame->Execute(cmd::kBatch));
        QVERIFY(options.Answered());
        auto* bar = program.frame->findChild<QProgressBar*>(QStringLiteral("batchProgressBar"));
        QVERIFY(bar != nullptr);
        QVERIFY(QTest::qWaitFor([bar] { return bar->value() >= 2; }, 60000));
        save(program, QStringLiteral("batch-progress.png"));
        QVERIFY(program.frame->Execute(cmd::kTerminateBatch));
        QTRY_VERIFY_WITH_TIMEOUT(!batch::ui::BatchRunner::Instance().Running(), 60000);
        save(program, QStringLiteral("batch-terminated.png"));
    }

    /// Each page of the Preferences sheet at the sheet's own size.
    void preferencesPages()
    {
        test::RunningProgram program;
        QVERIFY(program.frame->OpenDocumentFile(
            QStringLiteral(QUORIN_SOURCE_DIR "/src/res/examples/bacteriorhodopsin.fasta")));
        program.Document()->Record().agents = {{"Trypsin", "K!;R!"}, {"CNBr", "M"}};
        program.Document()->Record().modifications = {{"Phosphorylation", "S,T,Y", 79.97}};
        COptionsPropSheet sheet(*program.app, program.Document(), program.frame.get());
        sheet.show();
        QVERIFY(QTest::qWaitForWindowExposed(&sheet));
        for (int i = 0; i < sheet.Tabs().count(); ++i) {
            sheet.Tabs().setCurrentIndex(i);
            save(&sheet, QStringLiteral("preferences-%1.png").arg(i + 1));
        }
    }

    /// The titration curves of bacteriorhodopsin under four sets on one page:
    /// the dialog with its list, the window, the printed page and the metafile.
    void titrationComparingSets()
    {
        test::RunningProgram program;
        plots::ui::Choosers().run = [](QDialog& dialog) {
            dialog.findChild<QComboBox*>(QStringLiteral("pkaSet"))
                ->setCurrentText(QStringLiteral("Bjellqvist"));
            auto* list = dialog.findChild<QListWidget*>(QStringLiteral("comparedSets"));
            for (const QString& name : {QStringLiteral("EMBOSS"), QStringLiteral("Grimsley"),
                                        QStringLiteral("fitted-protein")}) {
                list->findItems(name, Qt::MatchExactly).front()->setCheckState(Qt::Checked);
            }
            save(&dialog, QStringLiteral("titration-compare-dialog.png"));
            dialog.accept();
            return dialog.result();
        };
        program.frame->resize(1200, 800);
        QVERIFY(program.frame->OpenDocumentFile(test::DataPath("proteins/P02945.fasta")));
        QVERIFY(program.frame->Execute(cmd::kTitration));
        QCOMPARE(program.frame->ActiveKind(), WindowKind::Titration);
        save(program, QStringLiteral("titration-compare-window.png"));
        QVERIFY(printToPng(program, QStringLiteral("titration-compare-printed")));
        QVERIFY(metafileToPng(program, QStringLiteral("titration-compare")));
    }

    /// The parameter sheet page of the properties window.
    void parameterSheetOfBacteriorhodopsin()
    {
        test::RunningProgram program;
        program.frame->resize(1200, 800);
        QVERIFY(program.frame->OpenDocumentFile(
            QStringLiteral(QUORIN_SOURCE_DIR "/src/res/examples/bacteriorhodopsin.fasta")));
        QVERIFY(program.frame->Execute(cmd::kPhysChem));
        auto* tabs = program.frame->findChild<QTabWidget*>(QStringLiteral("CPhysChemView"));
        QVERIFY(tabs != nullptr);
        tabs->setCurrentIndex(1);
        save(program, QStringLiteral("parameter-sheet.png"));
    }

    /// The hydropathy page of bacteriorhodopsin with the predicted topology
    /// band (the dialog's option), on screen, printed and as a metafile.
    void hydropathyTopology()
    {
        test::RunningProgram program;
        plots::ui::Choosers().run = [](QDialog& dialog) {
            if (auto* topology = dialog.findChild<QCheckBox*>(QStringLiteral("topology"))) {
                topology->setChecked(true);
                dialog.show();
                save(&dialog, QStringLiteral("hydropathy-topology-dialog.png"));
            }
            dialog.accept();
            return dialog.result();
        };
        program.frame->resize(1200, 800);
        QVERIFY(program.frame->OpenDocumentFile(test::DataPath("proteins/P02945.fasta")));
        QVERIFY(program.frame->Execute(cmd::kHydropathy));
        auto* view = qobject_cast<plots::ui::CPathyView*>(program.frame->ActiveFrame()->widget());
        QVERIFY(view != nullptr);
        save(view->viewport(), QStringLiteral("hydropathy-topology-page.png"));
        QVERIFY(printToPng(program, QStringLiteral("hydropathy-topology-printed")));
        QVERIFY(metafileToPng(program, QStringLiteral("hydropathy-topology")));
    }

    /// A new domain sketch of bacteriorhodopsin after "Add predicted topology".
    void sketchWithTopology()
    {
        test::RunningProgram program;
        plots::ui::Choosers().run = [](QDialog& dialog) {
            if (auto* add = dialog.findChild<QPushButton*>(QStringLiteral("addTopology"))) {
                add->click();
                dialog.show();
                save(&dialog, QStringLiteral("sketch-topology-dialog.png"));
            }
            dialog.accept();
            return dialog.result();
        };
        program.frame->resize(1200, 800);
        QVERIFY(program.frame->OpenDocumentFile(test::DataPath("proteins/P02945.fasta")));
        QVERIFY(program.frame->Execute(cmd::kDomainSketch));
        save(program, QStringLiteral("sketch-topology-window.png"));
    }

    void uniProtEntry()
    {
        test::RunningProgram program;
        program.frame->resize(1200, 800);
        QVERIFY(program.frame->OpenDocumentFile(test::DataPath("uniprot/current-layout.dat")));
        QCOMPARE(program.frame->ActiveKind(), WindowKind::Sketch);
        save(program, QStringLiteral("uniprot-sketch-window.png"));
        QVERIFY(printToPng(program, QStringLiteral("uniprot-sketch-printed")));
        QVERIFY(program.frame->Execute(cmd::kFeatures));
        QCOMPARE(program.frame->ActiveKind(), WindowKind::Features);
        auto* table = program.frame->ActiveFrame()->findChild<QTableWidget*>();
        table->setCurrentCell(3, 0);
        save(program, QStringLiteral("uniprot-features-window.png"));
        test::ModalAnswer answer([](QWidget& dialog) {
            dialog.findChild<QComboBox*>(QStringLiteral("source"))->setCurrentIndex(1);
            dialog.findChild<QLineEdit*>(QStringLiteral("accession"))
                ->setText(QStringLiteral("P08100"));
            save(&dialog, QStringLiteral("download-dialog-uniprot.png"));
            dialog.close();
        });
        QVERIFY(program.frame->Execute(cmd::kDownload));
        QVERIFY(answer.Answered());
    }
};

} // namespace quorin::shell::ui

QTEST_MAIN(quorin::shell::ui::ScreenshotTest)
#include "ScreenshotTest.moc"
