#include "analysis/ui/CDigView.h"

#include "analysis/Digest.h"
#include "analysis/ModFinder.h"
#include "analysis/ui/CDigestOptionsDialog.h"
#include "analysis/ui/DigestJobs.h"
#include "core/CommandIds.h"
#include "core/MessageTexts.h"
#include "core/SequenceText.h"
#include "core/ui/Application.h"
#include "core/ui/CPeptideDoc.h"
#include "core/ui/Notifications.h"
#include "core/ui/Printing.h"
#include "core/ui/QtText.h"
#include "core/ui/UiTestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFontInfo>
#include <QImage>
#include <QLineEdit>
#include <QMimeData>
#include <QPrinter>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace quorin::analysis::ui {

namespace cmd = core::cmd;
using core::ui::Application;
using core::ui::CPeptideDoc;

/// Records the MSG_PROGRESS values the main window would show.
class ProgressRecorder : public QObject, public core::ui::NotificationReceiver
{
public:
    ProgressRecorder() { core::ui::SetNotificationReceiver(this, this); }
    ~ProgressRecorder() override { core::ui::SetNotificationReceiver(nullptr, nullptr); }
    void OnNotification(int message, int value) override
    {
        if (message == core::ui::MSG_PROGRESS) {
            values << value;
        }
    }
    QList<int> values;
};

class CDigViewTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<test::TestHome> m_home;
    std::unique_ptr<Application> m_app;

    /// Insulin with its trypsin digest done, as the launcher leaves it.
    std::unique_ptr<CPeptideDoc> digested(const std::string& specificity = "K!;R!")
    {
        auto doc = std::make_unique<CPeptideDoc>();
        const std::string text =
            test::ReadBytes(test::DataPath("proteins/P01308.fasta")).toStdString();
        core::ParseSequenceText(doc->Record(), core::FirstFastaRecord(text));
        doc->Record().SetName("insulin");
        doc->Record().digest.selectedAgents = {{"Trypsin", specificity}};
        Digest(doc->Record(), specificity);
        return doc;
    }

    static QStringList linesOf(const std::string& text)
    {
        QStringList lines = core::ui::ToQString(text).split(QStringLiteral("\r\n"));
        lines.removeLast(); // after the last line end
        return lines;
    }

    static QStringList shownLines(const CDigView& view)
    {
        QStringList lines;
        for (std::size_t i = 0; i < view.LineCount(); ++i) {
            lines << view.LineText(i);
        }
        return lines;
    }

    static QString clipboardText() { return QApplication::clipboard()->text(); }

    /// Report text as the clipboard holds it: LF line ends.
    static QString pasted(const std::string& report)
    {
        return core::ui::ToQString(report).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    }

    static QString collapsed(QString text)
    {
        return text.replace(QRegularExpression(QStringLiteral("[ \\t]+")), QStringLiteral(" "));
    }

    /// Runs Print through the command with a PDF printer of the given page size.
    QString printToPdf(CDigView& view, const QPageSize& size)
    {
        const QString pdf = m_home->Path(QStringLiteral("digest.pdf"));
        QFile::remove(pdf);
        auto previous = core::ui::SetPrinterChooser([&](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            printer.setPageSize(size);
            return true;
        });
        view.OnCommand(cmd::kPrint);
        core::ui::SetPrinterChooser(std::move(previous));
        if (!QTest::qWaitFor([&] { return !view.Busy(); })) {
            return {};
        }
        return test::PdfText(pdf);
    }

    static void zeroLimits() { CDigView::SetBackgroundLimits({0, 0, 0}); }

    /// What quorin-cli digest writes for insulin and trypsin with arguments.
    QByteArray cliDigest(const QStringList& arguments)
    {
        const QString settings = m_home->Path(QStringLiteral("agents.ini"));
        test::WriteBytes(settings, "[Cleaving Agents]\n0=Trypsin:K!;R!\n");
        QProcess cli;
        cli.setWorkingDirectory(m_home->Path());
        cli.start(QStringLiteral(QUORIN_CLI),
                  QStringList{QStringLiteral("digest"), test::DataPath("proteins/P01308.fasta"),
                              QStringLiteral("--settings"), settings, QStringLiteral("--agent"),
                              QStringLiteral("Trypsin")} +
                      arguments);
        if (!cli.waitForFinished() || cli.exitCode() != 0) {
            qWarning() << cli.readAllStandardError();
            return {};
        }
        return cli.readAllStandardOutput();
    }

    /// The fields of a table row, trimmed: the report's or the CSV's.
    static QStringList fieldsOf(const QString& row, QChar separator)
    {
        QStringList fields = row.split(separator);
        for (QString& field : fields) {
            field = field.trimmed();
        }
        return fields;
    }

    /// Fills the options dialog that the next command shows and presses OK.
    [[nodiscard]] static test::ModalAnswer setOptions(bool limitMissed, const QString& maxMissed,
                                                      const QString& minLength,
                                                      const QString& maxLength, bool monoisotopic,
                                                      const QString& charges)
    {
        return test::ModalAnswer([=](QWidget& modal) {
            auto* dialog = qobject_cast<CDigestOptionsDialog*>(&modal);
            QVERIFY(dialog != nullptr);
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Digest Options"));
            dialog->findChild<QCheckBox*>(QStringLiteral("limitMissed"))->setChecked(limitMissed);
            dialog->findChild<QLineEdit*>(QStringLiteral("maxMissed"))->setText(maxMissed);
            dialog->findChild<QLineEdit*>(QStringLiteral("minLength"))->setText(minLength);
            dialog->findChild<QLineEdit*>(QStringLiteral("maxLength"))->setText(maxLength);
            dialog
                ->findChild<QRadioButton*>(monoisotopic ? QStringLiteral("monoisotopic")
                                                        : QStringLiteral("average"))
                ->setChecked(true);
            dialog->findChild<QLineEdit*>(QStringLiteral("charges"))->setText(charges);
            dialog->accept();
            QVERIFY(!dialog->isVisible());
        });
    }

private slots:
    void init()
    {
        m_home = std::make_unique<test::TestHome>();
        m_app = std::make_unique<Application>(m_home->Path().toStdString());
    }

    void cleanup()
    {
        CDigView::SetBackgroundLimits({});
        m_app.reset();
        m_home.reset();
    }

    void showsTheReportInThePlainOutputFont()
    {
        auto doc = digested();
        CDigView view(*doc);
        QVERIFY(!view.Busy());
        QCOMPARE(shownLines(view), linesOf(DigestReportText(doc->Record())));
        QCOMPARE(view.LineText(0), QStringLiteral("Pattern of proteolytic digest of insulin"));

        const QFont& font = view.TextFont();
        QCOMPARE(font.pointSizeF(), 8.5);
        QVERIFY(!font.bold() && !font.italic() && !font.underline());
        const QFontInfo shown(font);
        QCOMPARE(shown.family(), QStringLiteral("Liberation Mono"));
        QVERIFY(shown.fixedPitch());

        QCOMPARE(view.Order(), SortMode::ByWeight);
        QVERIFY(!view.CompleteOnly());
        const auto weight = view.CommandStateOf(cmd::kSortByWeight);
        QVERIFY(weight && weight->enabled && weight->checkable && weight->checked);
        QVERIFY(!view.CommandStateOf(cmd::kSortByStart)->checked);
        QVERIFY(!view.CommandStateOf(cmd::kCompleteDigest)->checked);
        for (const int id : {cmd::kCopy, cmd::kCopyAll, cmd::kSelectAll, cmd::kPrint}) {
            QVERIFY(view.CommandStateOf(id)->enabled);
        }
        QVERIFY(!view.CommandStateOf(cmd::kPaste));
    }

    void sortAndCompleteDigestRebuildTheReportWithTheirCheckMarks()
    {
        auto doc = digested();
        CDigView view(*doc);
        view.resize(630, 405);
        // What the engine gives for the same steps on its own copy: the sort is
        // stable, so every step depends on the order before it.
        core::PropertyRecord expected = doc->Record();
        const int width = expected.digest.lineWidth;
        struct Step
        {
            int command;
            SortMode mode;
            bool complete;
        };
        const Step steps[] = {
            {cmd::kSortByStart, SortMode::ByStart, false},
            {cmd::kSortByLength, SortMode::ByLength, false},
            {cmd::kCompleteDigest, SortMode::ByLength, true},
            {cmd::kSortByWeight, SortMode::ByWeight, true},
            {cmd::kSortByStart, SortMode::ByStart, true},
            {cmd::kCompleteDigest, SortMode::ByStart, false},
            {cmd::kSortByLength, SortMode::ByLength, false},
            {cmd::kSortByWeight, SortMode::ByWeight, false},
        };
        for (const Step& step : steps) {
            const QString trace = QStringLiteral("command %1 mode %2 complete %3")
                                      .arg(step.command)
                                      .arg(static_cast<int>(step.mode))
                                      .arg(step.complete);
            view.ScrollToLine(12);
            view.SelectLines(15, 17);
            QVERIFY2(view.CommandStateOf(step.command)->enabled, qPrintable(trace));
            QVERIFY(view.OnCommand(step.command));
            QVERIFY2(!view.Busy(), qPrintable(trace));
            BuildDigestReport(expected, step.mode, step.complete, width);
            QCOMPARE(shownLines(view), linesOf(DigestReportText(expected)));
            QCOMPARE(view.Order(), step.mode);
            QCOMPARE(view.CompleteOnly(), step.complete);
            QCOMPARE(view.CommandStateOf(cmd::kSortByStart)->checked,
                     step.mode == SortMode::ByStart);
            QCOMPARE(view.CommandStateOf(cmd::kSortByLength)->checked,
                     step.mode == SortMode::ByLength);
            QCOMPARE(view.CommandStateOf(cmd::kSortByWeight)->checked,
                     step.mode == SortMode::ByWeight);
            QCOMPARE(view.CommandStateOf(cmd::kCompleteDigest)->checked, step.complete);
            // A refilled view starts at the top with nothing selected.
            QCOMPARE(view.TopLine(), std::size_t{0});
            QVERIFY(!view.Selection());
        }

        // The complete digest by start: n + 1 rows that tile the sequence.
        view.OnCommand(cmd::kSortByStart);
        view.OnCommand(cmd::kCompleteDigest);
        const QStringList lines = shownLines(view);
        const qsizetype header = lines.indexOf(QString(46, QLatin1Char('-')));
        QVERIFY(header > 0);
        const QStringList rows = lines.mid(header + 2);
        QCOMPARE(rows.size(), qsizetype{doc->Record().digest.siteCount} + 1);
        int next = 1;
        for (const QString& row : rows) {
            const QStringList fields = row.split(QLatin1Char('|'));
            QCOMPARE(fields.size(), 4);
            QCOMPARE(fields[1].trimmed().toInt(), next);
            next = fields[2].trimmed().toInt() + 1;
        }
        QCOMPARE(next, 111);
    }

    void aDigestUnderWayShowsThePlaceholderUntilItsReportIsBack()
    {
        auto doc = std::make_unique<CPeptideDoc>();
        const std::string text =
            test::ReadBytes(test::DataPath("proteins/P01308.fasta")).toStdString();
        core::ParseSequenceText(doc->Record(), core::FirstFastaRecord(text));
        doc->Record().digest.selectedAgents = {{"Trypsin", "K!;R!"}};
        core::PropertyRecord expected = doc->Record();
        Digest(expected, "K!;R!");

        ProgressRecorder progress;
        DigestJobs& jobs = DigestJobs::Of(*doc);
        QSignalSpy finished(&jobs, &DigestJobs::finished);
        jobs.StartDigest("K!;R!");
        CDigView view(*doc);
        QSignalSpy idle(&view, &CDigView::idle);
        QVERIFY(jobs.Busy());
        QVERIFY(view.Busy());
        QCOMPARE(shownLines(view), QStringList{QStringLiteral("    Analysis in Process !")});
        for (const int id : {cmd::kSortByStart, cmd::kCompleteDigest, cmd::kCopy, cmd::kPrint}) {
            QVERIFY(!view.CommandStateOf(id)->enabled);
        }
        // The record holds no report meanwhile, only the state before a digest.
        QCOMPARE(DigestReportLineCount(doc->Record()), std::size_t{0});
        QCOMPARE(doc->Record().digest.fragments.size(), std::size_t{1});

        QTRY_COMPARE(idle.count(), 1);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(finished.first().first().toBool(), true);
        QVERIFY(!view.Busy());
        QCOMPARE(shownLines(view), linesOf(DigestReportText(expected)));
        QTRY_VERIFY(!progress.values.isEmpty() && progress.values.last() == 100);
        QCOMPARE(progress.values.first(), 0);
    }

    void aNewerDigestVoidsTheOneStillRunning()
    {
        auto doc = digested();
        core::PropertyRecord expected = doc->Record();
        Digest(expected, "M");
        DigestJobs& jobs = DigestJobs::Of(*doc);
        QSignalSpy finished(&jobs, &DigestJobs::finished);
        jobs.StartDigest("K!;R!");
        jobs.StartDigest("M");
        QTRY_COMPARE(finished.count(), 1);
        QCoreApplication::processEvents();
        QCOMPARE(finished.count(), 1);
        QVERIFY(!jobs.Busy());
        QCOMPARE(DigestReportText(doc->Record()), DigestReportText(expected));
    }

    void bigWorkRunsOnAWorkerWithProgressAndGivesTheSameReport()
    {
        zeroLimits();
        auto doc = digested();
        CDigView view(*doc);
        core::PropertyRecord expected = doc->Record();
        ProgressRecorder progress;
        QSignalSpy idle(&view, &CDigView::idle);

        QVERIFY(view.OnCommand(cmd::kSortByStart));
        QVERIFY(view.Busy());
        QCOMPARE(view.LineText(0), QStringLiteral("    Analysis in Process !"));
        QVERIFY(!view.CommandStateOf(cmd::kSortByLength)->enabled);
        QVERIFY(view.CommandStateOf(cmd::kSortByStart)->checked);
        QTRY_COMPARE(idle.count(), 1);
        BuildDigestReport(expected, SortMode::ByStart, false, expected.digest.lineWidth);
        QCOMPARE(shownLines(view), linesOf(DigestReportText(expected)));
        QVERIFY(progress.values.contains(5));
        QCOMPARE(progress.values.last(), 100);

        // Copy All and a printout read the report on a worker too.
        QApplication::clipboard()->clear();
        progress.values.clear();
        QVERIFY(view.OnCommand(cmd::kCopyAll));
        QVERIFY(view.Busy());
        QVERIFY(!view.CommandStateOf(cmd::kPrint)->enabled);
        QTRY_COMPARE(idle.count(), 2);
        QCOMPARE(clipboardText(), pasted(DigestReportText(expected)));
        QCOMPARE(progress.values.last(), 100);
        const QString text = collapsed(printToPdf(view, QPageSize(QPageSize::A4)));
        QVERIFY2(text.contains(QStringLiteral("page 1")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("6, 46, 53, 55, 56, 88, 89")));
    }

    void copyGivesTheSelectedLinesOrTheWholeReport()
    {
        auto doc = digested();
        CDigView view(*doc);
        const QString report = pasted(DigestReportText(doc->Record()));

        // Nothing selected: the whole report, and still nothing selected.
        QApplication::clipboard()->setText(QStringLiteral("before"));
        QVERIFY(!view.Selection());
        QVERIFY(view.OnCommand(cmd::kCopy));
        QCOMPARE(clipboardText(), report);
        QVERIFY(!view.Selection());

        QApplication::clipboard()->setText(QStringLiteral("before"));
        QVERIFY(view.OnCommand(cmd::kSelectAll));
        QCOMPARE(view.Selection(),
                 std::make_optional(std::pair<std::size_t, std::size_t>(0, view.LineCount() - 1)));
        QVERIFY(view.OnCommand(cmd::kCopy));
        QCOMPARE(clipboardText(), report);

        view.SelectLines(22, 20);
        QVERIFY(view.OnCommand(cmd::kCopy));
        QCOMPARE(clipboardText(), view.LineText(20) + QStringLiteral("\n") + view.LineText(21) +
                                      QStringLiteral("\n") + view.LineText(22) +
                                      QStringLiteral("\n"));

        QApplication::clipboard()->clear();
        QVERIFY(view.OnCommand(cmd::kCopyAll));
        QCOMPARE(clipboardText(), report);
        // The report ends its lines with CR LF; the clipboard with LF, as
        // Linux programs paste text.
        QByteArray lf = QByteArray::fromStdString(DigestReportText(doc->Record()));
        QVERIFY(lf.contains("\r\n"));
        lf.replace("\r\n", "\n");
        QCOMPARE(QApplication::clipboard()->mimeData()->data(QStringLiteral("text/plain")), lf);
    }

    void theMouseAndTheKeyboardSelectWholeLines()
    {
        auto doc = digested();
        CDigView view(*doc);
        view.resize(630, 405);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QWidget* lines = view.viewport();
        const int height = view.LineHeight();
        const auto rowPoint = [&](int row) { return QPoint(40, 4 + row * height + height / 2); };
        const std::size_t visible = static_cast<std::size_t>((lines->height() - 4) / height);
        using Range = std::pair<std::size_t, std::size_t>;

        QTest::mouseClick(lines, Qt::LeftButton, {}, rowPoint(2));
        QCOMPARE(view.Selection(), std::make_optional(Range(2, 2)));
        QTest::mouseClick(lines, Qt::LeftButton, Qt::ShiftModifier, rowPoint(5));
        QCOMPARE(view.Selection(), std::make_optional(Range(2, 5)));
        QTest::keyClick(&view, Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(view.Selection(), std::make_optional(Range(2, 6)));
        QTest::keyClick(&view, Qt::Key_Down);
        QCOMPARE(view.Selection(), std::make_optional(Range(7, 7)));
        QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clipboardText(), view.LineText(7) + QStringLiteral("\n"));

        // Dragging selects from the press to the line under the mouse.
        QTest::mousePress(lines, Qt::LeftButton, {}, rowPoint(1));
        QMouseEvent move(QEvent::MouseMove, rowPoint(4), lines->mapToGlobal(rowPoint(4)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(lines, &move);
        QTest::mouseRelease(lines, Qt::LeftButton, {}, rowPoint(4));
        QCOMPARE(view.Selection(), std::make_optional(Range(1, 4)));

        // Pages and the ends move the caret and keep it in view.
        QTest::keyClick(&view, Qt::Key_PageDown);
        QCOMPARE(view.CursorLine(), 4 + visible);
        QVERIFY(view.TopLine() + visible > view.CursorLine());
        QTest::keyClick(&view, Qt::Key_End, Qt::ShiftModifier);
        QCOMPARE(view.Selection(), std::make_optional(Range(4 + visible, view.LineCount() - 1)));
        QCOMPARE(view.TopLine(), view.LineCount() - visible);
        QTest::keyClick(&view, Qt::Key_Home);
        QCOMPARE(view.Selection(), std::make_optional(Range(0, 0)));
        QCOMPARE(view.TopLine(), std::size_t{0});
        QTest::keyClick(&view, Qt::Key_Escape);
        QVERIFY(!view.Selection());
        QTest::keyClick(&view, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(view.Selection(), std::make_optional(Range(0, view.LineCount() - 1)));

        // The long title scrolls sideways.
        QVERIFY(view.horizontalScrollBar()->maximum() == 0);
        doc->Record().SetName(std::string(200, 'N'));
        doc->UpdateAllViews();
        QVERIFY(view.horizontalScrollBar()->maximum() > 0);
    }

    void theSelectedLinesAreHighlightedOnScreen()
    {
        auto doc = digested();
        CDigView view(*doc);
        view.resize(630, 405);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        view.ScrollToLine(19);
        view.SelectLines(20, 21);
        const QImage image = view.viewport()->grab().toImage();
        const int height = view.LineHeight();
        const QColor highlight = view.palette().color(QPalette::Highlight);
        const auto colourAt = [&](int row) {
            return image.pixelColor(image.width() - 3, 4 + row * height + height / 2);
        };
        QCOMPARE(colourAt(0), QColor(Qt::white));
        QCOMPARE(colourAt(1), highlight);
        QCOMPARE(colourAt(2), highlight);
        QCOMPARE(colourAt(3), QColor(Qt::white));
        // The text of the first line in view is drawn in black.
        bool dark = false;
        for (int x = 0; x < 200 && !dark; ++x) {
            for (int y = 4; y < 4 + height && !dark; ++y) {
                dark = image.pixelColor(x, y).lightness() < 80;
            }
        }
        QVERIFY(dark);
    }

    void printingGivesEveryLineUnderPageHeaders()
    {
        auto doc = digested();
        CDigView view(*doc);
        QStringList expected = linesOf(DigestReportText(doc->Record()));
        expected.removeAll(QString());

        const QString a4 = printToPdf(view, QPageSize(QPageSize::A4));
        QVERIFY2(a4.contains(QStringLiteral("page 1")), qPrintable(a4));
        QVERIFY(!a4.contains(QStringLiteral("page 2")));

        // On short pages the lines go on, in order, under "page N".
        const QString text = printToPdf(view, QPageSize(QSizeF(210, 50), QPageSize::Millimeter,
                                                        QString(), QPageSize::ExactMatch));
        const QStringList pages = text.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
        QVERIFY2(pages.size() > 3, qPrintable(text));
        QStringList printed;
        for (int i = 0; i < pages.size(); ++i) {
            QStringList lines = pages[i].split(QLatin1Char('\n'), Qt::SkipEmptyParts);
            while (!lines.isEmpty() && lines.first().trimmed().isEmpty()) {
                lines.removeFirst();
            }
            QVERIFY(!lines.isEmpty());
            QCOMPARE(lines.takeFirst().trimmed(), QStringLiteral("page %1").arg(i + 1));
            for (const QString& line : lines) {
                if (!line.trimmed().isEmpty()) {
                    printed << collapsed(line).trimmed();
                }
            }
        }
        QStringList wanted;
        for (const QString& line : expected) {
            wanted << collapsed(line).trimmed();
        }
        QCOMPARE(printed, wanted);

        test::MessageRecorder messages;
        QPrinter broken(QPrinter::HighResolution);
        broken.setOutputFormat(QPrinter::PdfFormat);
        broken.setOutputFileName(m_home->Path(QStringLiteral("no such folder/d.pdf")));
        QCOMPARE(view.Print(broken), 0);
        QCOMPARE(messages.LastText(), QStringLiteral("The page could not be printed."));
    }

    void longLinesWrapOnThePrintedPageInsteadOfRunningOffIt()
    {
        // A FASTA header makes a long name: the title and its row of "*" are
        // wider than a page, and nothing of them may be lost on paper.
        auto doc = digested();
        const QString name =
            QStringLiteral("P02769 serum albumin precursor (Bos taurus) len=607 source=Debian "
                           "metastudent-data 2.0.1-8 (Swiss-Prot snapshot 2014-01)");
        doc->Record().SetName(name.toStdString());
        BuildDigestReport(doc->Record(), SortMode::ByWeight, false, 80);
        CDigView view(*doc);
        const QString text = printToPdf(view, QPageSize(QPageSize::A5));
        QVERIFY(!text.isEmpty());
        QCOMPARE(text.count(QLatin1Char('*')), name.size() + 33);
        const QString title = QStringLiteral("Pattern of proteolytic digest of ") + name;
        QVERIFY2(collapsed(text).simplified().contains(title), qPrintable(text));
        // Words are not split; the table rows fit and stay whole.
        QVERIFY(text.contains(QStringLiteral("2014-01)")));
        const QStringList rows = linesOf(DigestReportText(doc->Record()));
        QVERIFY(collapsed(text).contains(collapsed(rows.last()).trimmed()));
    }

    void aRenamedSequenceGetsItsTitleAndKeepsItsOrder()
    {
        auto doc = digested();
        CDigView view(*doc);
        view.OnCommand(cmd::kSortByLength);
        const QStringList before = shownLines(view);
        doc->Record().SetName("Insulin B");
        doc->UpdateAllViews();
        const QStringList after = shownLines(view);
        QCOMPARE(after.first(), QStringLiteral("Pattern of proteolytic digest of Insulin B"));
        QCOMPARE(after[1], QString(42, QLatin1Char('*')));
        QCOMPARE(after.mid(2), before.mid(2));
        QCOMPARE(view.Order(), SortMode::ByLength);
    }

    void digestOptionsShowTheCliFragmentsAndExportItsCsv()
    {
        auto doc = digested();
        doc->SetPathName(m_home->Path(QStringLiteral("P01308.fasta")), false);
        const std::string plain = DigestReportText(doc->Record());
        // A ModFinder search made before the options is made again among
        // the fragments they keep, and its report names them.
        doc->Record().modFinder.selected = {core::MODIFICATION{"Oxidation", "M", 16.0}};
        FindModifications(doc->Record(), 2000.0, 1000.0);
        const std::size_t matchesBefore = doc->Record().modFinder.matches.size();
        CDigView view(*doc);
        view.OnCommand(cmd::kSortByStart);
        QSignalSpy idle(&view, &CDigView::idle);
        {
            const auto answer = setOptions(true, "1", " 5", "", true, "1, 2");
            QVERIFY(view.CommandStateOf(cmd::kDigestOptions)->enabled);
            QVERIFY(view.OnCommand(cmd::kDigestOptions));
            QVERIFY(answer.Answered());
        }
        QTRY_VERIFY(idle.count() > 0 && !view.Busy());
        core::PropertyRecord searched = doc->Record();
        FindModifications(searched, 2000.0, 1000.0);
        const auto& matches = doc->Record().modFinder.matches;
        QVERIFY(!matches.empty() && matches.size() < matchesBefore);
        QCOMPARE(matches.size(), searched.modFinder.matches.size());
        for (std::size_t i = 0; i < matches.size(); ++i) {
            QCOMPARE(matches[i].start, searched.modFinder.matches[i].start);
            QCOMPARE(matches[i].mw, searched.modFinder.matches[i].mw);
        }
        QVERIFY(ModReportText(doc->Record(), false).find("\r\nMasses: monoisotopic\r\n") !=
                std::string::npos);

        // The head says what the table holds; the rows are the command
        // line's, in its order, each with the m/z values of its CSV.
        const QStringList options = {QStringLiteral("--max-missed"), QStringLiteral("1"),
                                     QStringLiteral("--min-length"), QStringLiteral("5"),
                                     QStringLiteral("--mono"),       QStringLiteral("--sort"),
                                     QStringLiteral("start")};
        const QByteArray report = cliDigest(options);
        const QByteArray csv =
            cliDigest(options + QStringList{QStringLiteral("--csv"), QStringLiteral("--charges"),
                                            QStringLiteral("1,2")});
        QVERIFY(!report.isEmpty() && !csv.isEmpty());
        const QStringList shown = shownLines(view);
        QCOMPARE(shown.mid(3, 3),
                 (QStringList{QStringLiteral("Fragments kept: at most 1 missed cleavage, "
                                             "at least 5 residues"),
                              QStringLiteral("Masses: monoisotopic"), QString()}));
        const qsizetype header = shown.indexOf(
            QStringLiteral("   MW      |  start  |   end   |  # of AA  |  m/z 1+      |  m/z 2+"));
        QVERIFY(header > 0);
        const QStringList rows = shown.mid(header + 3);
        const QStringList cliLines = QString::fromLatin1(report).split(QStringLiteral("\r\n"));
        const QStringList cliRows =
            cliLines.mid(cliLines.indexOf(QString(46, QLatin1Char('-'))) + 2, rows.size());
        const QStringList csvRows = QString::fromLatin1(csv).split(QStringLiteral("\r\n"));
        QCOMPARE(csvRows.size(), rows.size() + 2); // header, empty after the last line end
        QVERIFY(rows.size() > 10);
        for (qsizetype i = 0; i < rows.size(); ++i) {
            const QStringList fields = fieldsOf(rows[i], QLatin1Char('|'));
            QCOMPARE(fields.mid(0, 4), fieldsOf(cliRows[i], QLatin1Char('|')));
            QCOMPARE(fields.mid(4), fieldsOf(csvRows[i + 1], QLatin1Char(',')).mid(5));
        }

        // Export as CSV writes the command line's CSV; Cancel writes nothing.
        test::FileDialogAnswers files;
        test::MessageRecorder messages;
        const QString target = m_home->Path(QStringLiteral("fragments.csv"));
        files.Answer(target);
        QVERIFY(view.CommandStateOf(cmd::kExportDigestCsv)->enabled);
        QVERIFY(view.OnCommand(cmd::kExportDigestCsv));
        QCOMPARE(files.Requests().last().fileName, QStringLiteral("P01308.csv"));
        QCOMPARE(test::ReadBytes(target), csv);
        QFile::remove(target);
        files.Cancel();
        QVERIFY(view.OnCommand(cmd::kExportDigestCsv));
        QVERIFY(!QFile::exists(target));
        QVERIFY(messages.Requests().isEmpty());
        // A large table is written on a worker, to the same bytes.
        zeroLimits();
        QVERIFY(view.ExportCsv(target));
        QTRY_VERIFY(!view.Busy());
        QCOMPARE(test::ReadBytes(target), csv);
        CDigView::SetBackgroundLimits({});

        // A file that cannot be written is named in the message.
        const QString blocked = m_home->MakeDirectory(QStringLiteral("blocked"));
        QVERIFY(!view.ExportCsv(blocked));
        QVERIFY(messages.LastText().startsWith(QStringLiteral("Cannot save the file ") +
                                               QDir::toNativeSeparators(blocked) +
                                               QStringLiteral(": ")));

        // Without options the report is the plain one again, in its order.
        view.ApplyOptions(DigestOptions{});
        QTRY_VERIFY(!view.Busy());
        core::PropertyRecord expected = doc->Record();
        BuildDigestReport(expected, SortMode::ByWeight, false, expected.digest.lineWidth);
        QCOMPARE(DigestReportText(expected), plain);
        BuildDigestReport(expected, SortMode::ByStart, false, expected.digest.lineWidth);
        QCOMPARE(shownLines(view), linesOf(DigestReportText(expected)));
    }

    void digestOptionsRefuseWhatDoesNotReadAndFocusIt_data()
    {
        QTest::addColumn<QString>("maxMissed");
        QTest::addColumn<QString>("minLength");
        QTest::addColumn<QString>("maxLength");
        QTest::addColumn<QString>("charges");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("message");
        const auto text = [](std::string_view message) { return core::ui::ToQString(message); };
        QTest::newRow("missed") << "-1"
                                << ""
                                << ""
                                << ""
                                << "maxMissed" << text(core::msg::kInvalidMaxMissed);
        QTest::newRow("minimum") << "2"
                                 << "5x"
                                 << ""
                                 << ""
                                 << "minLength" << text(core::msg::kInvalidMinLength);
        QTest::newRow("maximum") << "2"
                                 << ""
                                 << "1e3"
                                 << ""
                                 << "maxLength" << text(core::msg::kInvalidMaxLength);
        QTest::newRow("minimum above maximum")
            << "2"
            << "30"
            << "29"
            << ""
            << "minLength" << text(core::msg::kMinLengthAboveMax);
        QTest::newRow("charge 0") << "2"
                                  << ""
                                  << ""
                                  << "1,0"
                                  << "charges" << text(core::msg::kInvalidCharges);
        QTest::newRow("empty charge") << "2"
                                      << ""
                                      << ""
                                      << "1,,2"
                                      << "charges" << text(core::msg::kInvalidCharges);
        QTest::newRow("charge twice")
            << "2"
            << ""
            << ""
            << "3,1,3"
            << "charges" << core::ui::ToQString(core::msg::ChargeListedTwice(3));
    }

    void digestOptionsRefuseWhatDoesNotReadAndFocusIt()
    {
        QFETCH(QString, maxMissed);
        QFETCH(QString, minLength);
        QFETCH(QString, maxLength);
        QFETCH(QString, charges);
        QFETCH(QString, field);
        QFETCH(QString, message);
        test::MessageRecorder messages;
        CDigestOptionsDialog dialog(DigestOptions{});
        dialog.show();
        dialog.findChild<QCheckBox*>(QStringLiteral("limitMissed"))->setChecked(true);
        dialog.findChild<QLineEdit*>(QStringLiteral("maxMissed"))->setText(maxMissed);
        dialog.findChild<QLineEdit*>(QStringLiteral("minLength"))->setText(minLength);
        dialog.findChild<QLineEdit*>(QStringLiteral("maxLength"))->setText(maxLength);
        dialog.findChild<QLineEdit*>(QStringLiteral("charges"))->setText(charges);
        dialog.accept();
        QCOMPARE(messages.Requests().size(), 1);
        QCOMPARE(messages.LastText(), message);
        QCOMPARE(messages.Requests().last().caption, QStringLiteral("Error"));
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.focusWidget(), dialog.findChild<QLineEdit*>(field));
    }

    void closingTheViewHandsTheDigestBack()
    {
        zeroLimits();
        auto doc = digested();
        core::PropertyRecord expected = doc->Record();
        BuildDigestReport(expected, SortMode::ByLength, false, expected.digest.lineWidth);

        auto view = std::make_unique<CDigView>(*doc);
        view->OnCommand(cmd::kSortByLength);
        QVERIFY(DigestJobs::Of(*doc).Busy());
        view.reset();
        // The re-sort ends without a window and leaves its report in the record.
        QTRY_VERIFY(!DigestJobs::Of(*doc).Busy());
        QCOMPARE(DigestReportText(doc->Record()), DigestReportText(expected));

        // A copy under way stops with its window and leaves the clipboard alone.
        QApplication::clipboard()->setText(QStringLiteral("kept"));
        view = std::make_unique<CDigView>(*doc);
        view->OnCommand(cmd::kCopyAll);
        QVERIFY(view->Busy());
        view.reset();
        QCoreApplication::processEvents();
        QCOMPARE(clipboardText(), QStringLiteral("kept"));
    }
};

} // namespace quorin::analysis::ui

QTEST_MAIN(quorin::analysis::ui::CDigViewTest)
#include "CDigViewTest.moc"
