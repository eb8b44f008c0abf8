#include "shell/ui/CPepEditView.h"

#include "MainFrameFixture.h"
#include "core/CommandIds.h"
#include "core/ui/CTempDialog.h"
#include "core/ui/Printing.h"
#include "shell/ui/CPepDlg1View.h"
#include "shell/ui/CPepDlg2View.h"
#include "shell/ui/SequenceEditorPanes.h"

#include <QApplication>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontInfo>
#include <QLineEdit>
#include <QMap>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QScrollBar>
#include <QTextBlock>
#include <QUrl>

#include <functional>

namespace quorin::shell::ui {

namespace cmd = core::cmd;
using test::Fasta;
using test::RunningProgram;

/// The sequence editor driven as a user drives it: keys, the mouse, the
/// clipboard, the menus and the dialogs.
class CPepEditViewTest : public QObject
{
    Q_OBJECT

private:
    /// A new empty document, or a FASTA text with sequence opened, in the
    /// editor with the keyboard focus. Lines hold 60 residues.
    void start(const QByteArray& sequence, const QByteArray& name = "P1")
    {
        m_program = std::make_unique<RunningProgram>();
        m_program->app->Settings().charsPerLine = 60;
        if (sequence.isEmpty()) {
            QVERIFY(m_program->frame->Execute(cmd::kNew));
        } else {
            const QString path =
                m_program->File(QStringLiteral("seq.fasta"), Fasta(name, sequence));
            QVERIFY(m_program->frame->OpenDocumentFile(path));
        }
        ChildFrame* frame = m_program->frame->ActiveFrame();
        QVERIFY(frame != nullptr);
        m_panes = qobject_cast<SequenceEditorPanes*>(frame->widget());
        QVERIFY(m_panes != nullptr);
        m_text = &m_panes->Editor();
        QApplication::setActiveWindow(m_program->frame.get());
        m_text->setFocus();
    }

    core::ui::CPeptideDoc& document() const { return *m_program->Document(); }
    std::string sequence() const { return document().Record().CleanSequence(); }
    QString shown() const { return m_text->toPlainText(); }
    int caret() const { return m_text->textCursor().position(); }

    QLineEdit* headerLine(const char* name) const
    {
        return m_panes->Header().findChild<QLineEdit*>(QLatin1String(name));
    }
    QString field(const char* name) const { return headerLine(name)->text(); }
    QPlainTextEdit* remarks() const
    {
        return m_panes->Header().findChild<QPlainTextEdit*>(QStringLiteral("remarks"));
    }

    void setCaret(int offset)
    {
        QTextCursor cursor = m_text->textCursor();
        cursor.setPosition(offset);
        m_text->setTextCursor(cursor);
    }

    /// Types text; "<BS>", "<DEL>" and "<ENTER>" stand for their keys.
    void type(const QString& keys)
    {
        static const QMap<QString, Qt::Key> special = {
            {QStringLiteral("<BS>"), Qt::Key_Backspace},
            {QStringLiteral("<DEL>"), Qt::Key_Delete},
            {QStringLiteral("<ENTER>"), Qt::Key_Return},
        };
        if (special.contains(keys)) {
            QTest::keyClick(m_text, special.value(keys));
        } else {
            QTest::keyClicks(m_text, keys);
        }
    }

    /// Runs command while a modal dialog fills its line edits and confirms.
    bool runDialog(int id, const QString& title, const QMap<QString, QString>& fields)
    {
        test::ModalAnswer answer([&](QWidget& modal) {
            auto* dialog = qobject_cast<QDialog*>(&modal);
            QVERIFY(dialog != nullptr);
            QCOMPARE(dialog->windowTitle(), title);
            for (auto it = fields.begin(); it != fields.end(); ++it) {
                auto* edit = dialog->findChild<QLineEdit*>(it.key());
                QVERIFY2(edit != nullptr, qPrintable(it.key()));
                edit->setText(it.value());
            }
            dialog->accept();
        });
        return m_program->frame->Execute(id) && answer.Answered();
    }

    /// What Copy All shows.
    QString copyAllText()
    {
        QString text;
        test::ModalAnswer answer([&](QWidget& modal) {
            auto* dialog = qobject_cast<core::ui::CTempDialog*>(&modal);
            QVERIFY(dialog != nullptr);
            text = dialog->Text();
            dialog->accept();
        });
        if (!m_program->frame->Execute(cmd::kCopyAll) || !answer.Answered()) {
            return QStringLiteral("<not run>");
        }
        return text;
    }

    /// Prints through the Print command into a PDF file and returns its text.
    QString printed()
    {
        const QString pdf = m_program->home.Path(QStringLiteral("editor.pdf"));
        auto previous = core::ui::SetPrinterChooser([&](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            printer.setPageSize(QPageSize(QPageSize::A4));
            return true;
        });
        const bool ran = m_program->frame->Execute(cmd::kPrint);
        core::ui::SetPrinterChooser(std::move(previous));
        if (!ran) {
            return {};
        }
        return test::PdfText(pdf);
    }

    /// The numbers the column shows, top to bottom.
    QList<int> numbers() const
    {
        QList<int> shownNumbers;
        for (const CPepDlg2View::Label& label : m_panes->Numbers().Labels()) {
            shownNumbers.append(label.number);
        }
        return shownNumbers;
    }

    std::unique_ptr<RunningProgram> m_program;
    SequenceEditorPanes* m_panes = nullptr;
    CPepEditView* m_text = nullptr;

private slots:
    void cleanup()
    {
        m_program.reset();
        QApplication::clipboard()->clear();
    }

    void theEditorShowsTheDocumentInThreePanes()
    {
        start("MKVLAAGIVGLLLAAWAAPAAEHKQKG", "P1 kinase");
        QCOMPARE(CPepEditView::Current(), m_text);
        QCOMPARE(m_program->frame->ActiveFrame()->windowTitle(), QStringLiteral("Sequence Editor"));
        QCOMPARE(shown(), QStringLiteral("MKVLAAGIVG LLLAAWAAPA AEHKQKG"));
        QCOMPARE(field("name"), QStringLiteral("P1 kinase"));
        QCOMPARE(field("length"), QStringLiteral("27"));
        QCOMPARE(field("position"), QStringLiteral("1"));
        QVERIFY(headerLine("length")->isReadOnly());
        QVERIFY(headerLine("position")->isReadOnly());
        const QFontInfo font(m_text->font());
        QVERIFY(font.fixedPitch());
        QCOMPARE(m_text->font().pointSizeF(), 8.5);
        QVERIFY(!font.bold() && !font.italic() && !font.underline());
        QCOMPARE(m_panes->Header().palette().color(QPalette::Window), QColor(192, 192, 192));
        QCOMPARE(m_panes->Numbers().palette().color(QPalette::Window), QColor(192, 192, 192));
        QCOMPARE(numbers(), QList<int>{1});
        QVERIFY(!document().IsModified());

        // A file dropped on the text is opened by the main window, not typed in.
        const QString other = m_program->File(QStringLiteral("other.fasta"), Fasta("P2", "WWW"));
        QMimeData file;
        file.setUrls({QUrl::fromLocalFile(other)});
        file.setText(other);
        const QPoint inside(20, 5);
        QDragEnterEvent enter(inside, Qt::CopyAction, &file, Qt::LeftButton, {});
        QApplication::sendEvent(m_text->viewport(), &enter);
        QDropEvent drop(inside, Qt::CopyAction, &file, Qt::LeftButton, {});
        QApplication::sendEvent(m_text->viewport(), &drop);
        QCOMPARE(sequence(), std::string("MKVLAAGIVGLLLAAWAAPAAEHKQKG"));
        QTRY_COMPARE(sequence(), std::string("WWW"));
        m_panes = qobject_cast<SequenceEditorPanes*>(m_program->frame->ActiveFrame()->widget());
        m_text = &m_panes->Editor();

        // Closing the document leaves no editor to forward to.
        QVERIFY(m_program->frame->Execute(cmd::kClose));
        QTRY_VERIFY(CPepEditView::Current() == nullptr);
    }

    void typingCorrectsTheCaret_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<int>("at");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("caretAfter");
        QTest::addColumn<QString>("position");

        const auto row = [](const char* name, const QByteArray& before, int at, const char* keys,
                            const QByteArray& after, const QString& text, int caretAfter,
                            const char* position) {
            QTest::newRow(name) << before << at << QString::fromLatin1(keys) << after << text
                                << caretAfter << QString::fromLatin1(position);
        };
        const QByteArray twelve = "ACDEFGHIKLMN";
        const QString line = QStringLiteral("AAAAAAAAAA ").repeated(6);
        row("lower case into an empty sequence", "", 0, "a", "A", "A", 1, "2");
        row("digit after the last residue", "MKVLA", 5, "1", "MKVLA", "MKVLA", 5, "6");
        row("digit inside a block", "MKVLA", 2, "7", "MKVLA", "MKVLA", 2, "3");
        row("digit after a full block", "ACDEFGHIKL", 11, "7", "ACDEFGHIKL", "ACDEFGHIKL ", 10,
            "11");
        row("tenth residue of a block", "ACDEFGHIK", 9, "l", "ACDEFGHIKL", "ACDEFGHIKL ", 11, "11");
        row("B J U Z vanish", "MKV", 3, "bJuZ", "MKV", "MKV", 3, "4");
        row("X and O stay", "MKV", 3, "xo", "MKVXO", "MKVXO", 5, "6");
        row("Backspace at a block start takes the blank only", twelve, 11, "<BS>", twelve,
            "ACDEFGHIKL MN", 9, "10");
        row("Backspace of the first residue of a block", twelve, 12, "<BS>", "ACDEFGHIKLN",
            "ACDEFGHIKL N", 10, "11");
        row("Delete of the first residue of a block", twelve, 11, "<DEL>", "ACDEFGHIKLN",
            "ACDEFGHIKL N", 10, "11");
        row("Delete on a block blank", twelve, 10, "<DEL>", twelve, "ACDEFGHIKL MN", 9, "10");
        row("Enter is no residue", "MKVLA", 2, "<ENTER>", "MKVLA", "MKVLA", 2, "3");
        row("Backspace at the start", "MKV", 0, "<BS>", "MKV", "MKV", 0, "1");
        row("typing at the end of a full line", QByteArray(70, 'A'), 66, "wy",
            QByteArray(60, 'A') + "WY" + QByteArray(10, 'A'),
            line + QStringLiteral("\nWYAAAAAAAA AA"), 69, "63");
        row("typing before the blank that ends a full line", QByteArray(70, 'A'), 65, "wy",
            QByteArray(60, 'A') + "WY" + QByteArray(10, 'A'),
            line + QStringLiteral("\nWYAAAAAAAA AA"), 69, "63");
    }

    void typingCorrectsTheCaret()
    {
        QFETCH(QByteArray, before);
        QFETCH(int, at);
        QFETCH(QString, keys);
        start(before);
        setCaret(at);
        type(keys);
        QFETCH(QByteArray, after);
        QFETCH(QString, text);
        QFETCH(int, caretAfter);
        QFETCH(QString, position);
        QCOMPARE(sequence(), after.toStdString());
        QCOMPARE(shown(), text);
        QCOMPARE(m_text->Model().ControlText(), text.toStdString());
        QCOMPARE(caret(), caretAfter);
        QVERIFY(!m_text->textCursor().hasSelection());
        QCOMPARE(field("position"), position);
        QCOMPARE(field("length"), QString::number(document().Record().ResidueLength()));
        QCOMPARE(field("name"),
                 before.isEmpty() ? QStringLiteral("untitled") : QStringLiteral("P1"));
    }

    void aTypedResidueMarksTheDocumentModifiedAndEnablesTheAnalyses()
    {
        start(QByteArray());
        QVERIFY(!document().IsModified());
        QVERIFY(!m_program->Enabled(cmd::kPhysChem));
        type(QStringLiteral("mkv"));
        QVERIFY(document().IsModified());
        QCOMPARE(field("length"), QStringLiteral("3"));
        QVERIFY(m_program->Enabled(cmd::kPhysChem));
    }

    void pasteKeepsOnlyResidueLetters()
    {
        start("MK");
        setCaret(2);
        QApplication::clipboard()->setText(QStringLiteral("v la-1\r\n2 gb jwu zxo\n"));
        QTest::keyClick(m_text, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(sequence(), std::string("MKVLAGWXO"));
        QCOMPARE(shown(), QStringLiteral("MKVLAGWXO"));
        QCOMPARE(caret(), 9);
        QCOMPARE(field("length"), QStringLiteral("7"));
        QCOMPARE(field("position"), QStringLiteral("10"));
        QVERIFY(document().IsModified());

        // From the menu, into the middle: the caret stays after the pasted
        // residues, not as far on as the pasted text with its blank was long.
        setCaret(2);
        QApplication::clipboard()->setText(QStringLiteral("g g"));
        QTRY_VERIFY(m_program->Enabled(cmd::kPaste));
        QVERIFY(m_program->frame->Execute(cmd::kPaste));
        QCOMPARE(sequence(), std::string("MKGGVLAGWXO"));
        QCOMPARE(shown(), QStringLiteral("MKGGVLAGWX O"));
        QCOMPARE(caret(), 4);
        QCOMPARE(field("position"), QStringLiteral("5"));
        type(QStringLiteral("h"));
        QCOMPARE(sequence(), std::string("MKGGHVLAGWXO"));
    }

    void cutTakesTheSelectionAway()
    {
        start("ACDEFGHIKLMNPQ");
        m_text->SelectResidues(9, 12);
        QCOMPARE(m_text->textCursor().selectedText(), QStringLiteral("KL MN"));
        QCOMPARE(field("position"), QStringLiteral("9 - 12"));
        QTest::keyClick(m_text, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("KL MN"));
        QCOMPARE(sequence(), std::string("ACDEFGHIPQ"));
        QCOMPARE(shown(), QStringLiteral("ACDEFGHIPQ "));
        QCOMPARE(caret(), 8);
        QCOMPARE(field("position"), QStringLiteral("9"));
        QCOMPARE(field("length"), QStringLiteral("10"));

        m_text->SelectResidues(1, 2);
        QVERIFY(m_program->frame->Execute(cmd::kCut));
        QCOMPARE(sequence(), std::string("DEFGHIPQ"));
        QCOMPARE(caret(), 0);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("AC"));
    }

    void undoAndRedoRestoreTheSequenceAndTheCaret()
    {
        start("MKVLA");
        QVERIFY(!m_program->Enabled(cmd::kUndo));
        setCaret(5);
        type(QStringLiteral("gg"));
        type(QStringLiteral("<BS>"));
        QCOMPARE(sequence(), std::string("MKVLAG"));
        QVERIFY(m_program->Enabled(cmd::kUndo));
        QVERIFY(!m_program->Enabled(cmd::kRedo));

        QTest::keyClick(m_text, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(sequence(), std::string("MKVLAGG"));
        QCOMPARE(shown(), QStringLiteral("MKVLAGG"));
        QCOMPARE(caret(), 7);
        QCOMPARE(field("position"), QStringLiteral("8"));
        QVERIFY(m_program->frame->Execute(cmd::kUndo));
        QCOMPARE(sequence(), std::string("MKVLA"));
        QCOMPARE(caret(), 5);
        QCOMPARE(field("length"), QStringLiteral("5"));
        QVERIFY(!m_program->Enabled(cmd::kUndo));
        QVERIFY(m_program->Enabled(cmd::kRedo));

        QTest::keyClick(m_text, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(sequence(), std::string("MKVLAGG"));
        QCOMPARE(caret(), 7);
        QVERIFY(m_program->frame->Execute(cmd::kRedo));
        QCOMPARE(sequence(), std::string("MKVLAG"));
        QCOMPARE(caret(), 6);
        QVERIFY(!m_program->Enabled(cmd::kRedo));
        QVERIFY(document().IsModified());

        // Another sequence in the document starts a new history.
        m_program->messages.Answer(core::ui::MessageAnswer::No);
        const QString other = m_program->File(QStringLiteral("other.fasta"), Fasta("P2", "WWW"));
        QVERIFY(m_program->frame->OpenDocumentFile(other));
        m_text = &qobject_cast<SequenceEditorPanes*>(m_program->frame->ActiveFrame()->widget())
                      ->Editor();
        QVERIFY(!m_program->Enabled(cmd::kUndo));
    }

    void theCaretAndTheSelectionAreTracked()
    {
        start(QByteArray(25, 'A'));
        QTest::keyClick(m_text, Qt::Key_End);
        QCOMPARE(field("position"), QStringLiteral("26"));
        QTest::keyClick(m_text, Qt::Key_Home);
        QCOMPARE(field("position"), QStringLiteral("1"));
        for (int i = 0; i < 2; ++i) {
            QTest::keyClick(m_text, Qt::Key_Right);
        }
        for (int i = 0; i < 5; ++i) {
            QTest::keyClick(m_text, Qt::Key_Right, Qt::ShiftModifier);
        }
        QCOMPARE(field("position"), QStringLiteral("3 - 7"));
        QCOMPARE(m_text->Model().Selection().start, 2);
        QCOMPARE(m_text->Model().Selection().end, 7);

        // A click puts the caret before the residue under the pointer, past a blank.
        QTextCursor twelfth = m_text->textCursor();
        twelfth.setPosition(12);
        const QRect place = m_text->cursorRect(twelfth);
        QTest::mouseClick(m_text->viewport(), Qt::LeftButton, {},
                          QPoint(place.left() + 1, place.center().y()));
        QCOMPARE(caret(), 12);
        QCOMPARE(field("position"), QStringLiteral("12"));
        QTest::mouseDClick(m_text->viewport(), Qt::LeftButton, {},
                           QPoint(place.left() + 1, place.center().y()));
        QCOMPARE(field("position"), QStringLiteral("11 - 20"));
        QVERIFY(!document().IsModified());
    }

    void goToAndSelectRangeSelectResidues()
    {
        start(QByteArray(25, 'A'));
        QVERIFY(runDialog(cmd::kGoTo, QStringLiteral("Go to position"),
                          {{QStringLiteral("position"), QStringLiteral("12")}}));
        QCOMPARE(m_text->textCursor().selectionStart(), 12);
        QCOMPARE(m_text->textCursor().selectionEnd(), 13);
        QCOMPARE(field("position"), QStringLiteral("12"));

        QVERIFY(runDialog(cmd::kGoTo, QStringLiteral("Go to position"),
                          {{QStringLiteral("position"), QStringLiteral("0")}}));
        QCOMPARE(caret(), 0);
        QVERIFY(!m_text->textCursor().hasSelection());
        QCOMPARE(field("position"), QStringLiteral("1"));

        QVERIFY(runDialog(cmd::kSelectRange, QStringLiteral("Select part of sequence"),
                          {{QStringLiteral("first"), QStringLiteral("3")},
                           {QStringLiteral("last"), QStringLiteral("7")}}));
        QCOMPARE(m_text->textCursor().selectedText(), QStringLiteral("AAAAA"));
        QCOMPARE(field("position"), QStringLiteral("3 - 7"));

        // A last value past the end selects to the end; a block's blank before
        // the first residue is part of the selection.
        QVERIFY(runDialog(cmd::kSelectRange, QStringLiteral("Select part of sequence"),
                          {{QStringLiteral("first"), QStringLiteral("21")},
                           {QStringLiteral("last"), QStringLiteral("999")}}));
        QCOMPARE(m_text->textCursor().selectedText(), QStringLiteral(" AAAAA"));
        QCOMPARE(m_text->textCursor().selectionEnd(), shown().size());
        QCOMPARE(field("position"), QStringLiteral("21 - 25"));

        // What is no number reads as 0.
        QVERIFY(runDialog(cmd::kGoTo, QStringLiteral("Go to position"),
                          {{QStringLiteral("position"), QStringLiteral("abc")}}));
        QCOMPARE(caret(), 0);
        QCOMPARE(field("position"), QStringLiteral("1"));
        QVERIFY(!document().IsModified());
    }

    void afterADialogKeysWithAltOrCtrlReachTheMenusNotTheSequence()
    {
        start("MKVLA");
        QTimer::singleShot(0, [] {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog != nullptr);
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        QVERIFY(m_program->frame->Execute(cmd::kGoTo));
        QTRY_COMPARE(QApplication::focusWidget(), m_text);

        QTest::keyClick(m_text, Qt::Key_E, Qt::AltModifier);
        QCOMPARE(sequence(), std::string("MKVLA"));
        QWidget* menu = QApplication::activePopupWidget();
        QVERIFY(menu != nullptr);
        QCOMPARE(menu->objectName(), QStringLiteral("menuEdit"));
        // The first Escape closes the menu, the second leaves the menu bar.
        QTest::keyClick(menu, Qt::Key_Escape);
        QTest::keyClick(m_program->frame->menuBar(), Qt::Key_Escape);
        QTRY_COMPARE(QApplication::focusWidget(), m_text);
        // A chord no menu or shortcut takes types nothing either.
        QTest::keyClick(m_text, Qt::Key_K, Qt::ControlModifier | Qt::AltModifier);
        QCOMPARE(sequence(), std::string("MKVLA"));
        QVERIFY(!document().IsModified());

        m_program->dialogs.Cancel();
        QTest::keyClick(m_text, Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(m_program->dialogs.Requests().size(), 1);
        QCOMPARE(m_program->dialogs.Requests().last().title, QStringLiteral("Open"));
    }

    void theHeaderEditsNameAndRemarks()
    {
        start("MKVLA", "P1");
        QLineEdit* name = headerLine("name");
        name->setFocus();
        name->setCursorPosition(2);
        QTest::keyClicks(name, QStringLiteral("x"));
        QCOMPARE(document().Record().Name(), std::string("P1x"));
        QVERIFY(document().IsModified());
        QCOMPARE(name->cursorPosition(), 3);

        // A long name shows its beginning once the focus has passed on, also
        // after the focus came by Tab and selected all of it.
        m_text->setFocus();
        document().Record().SetName(std::string(200, 'N') + " end");
        document().UpdateAllViews();
        name->setFocus(Qt::TabFocusReason);
        QCOMPARE(name->cursorPosition(), 204);
        m_text->setFocus();
        QCOMPARE(name->cursorPosition(), 0);
        name->setFocus();
        name->setText(QStringLiteral("P1x"));
        document().Record().SetName("P1x");

        remarks()->setFocus();
        QTest::keyClicks(remarks(), QStringLiteral("first"));
        QTest::keyClick(remarks(), Qt::Key_Return);
        QTest::keyClicks(remarks(), QStringLiteral("second"));
        QCOMPARE(document().Record().remarks, std::string("first\r\nsecond"));

        // An emptied name is "untitled" for the document, and so copied.
        name->setFocus();
        name->selectAll();
        QTest::keyClick(name, Qt::Key_Backspace);
        QCOMPARE(field("name"), QString());
        QCOMPARE(document().Record().Name(), std::string("untitled"));
        QCOMPARE(copyAllText(), QStringLiteral("untitled\n********\n\nLength: 5\n\nRemarks: "
                                               "first\nsecond\n\nSequence: \nMKVLA\n"));
        QCOMPARE(sequence(), std::string("MKVLA"));
    }

    void cutCopyAndPasteInTheHeaderActOnTheFocusedField()
    {
        start("MKVLA", "kinase");
        QLineEdit* name = headerLine("name");
        name->setFocus();
        name->selectAll();
        QVERIFY(m_program->frame->Execute(cmd::kCut));
        QCOMPARE(field("name"), QString());
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("kinase"));
        QCOMPARE(sequence(), std::string("MKVLA"));
        QVERIFY(m_program->frame->Execute(cmd::kPaste));
        QCOMPARE(field("name"), QStringLiteral("kinase"));
        QCOMPARE(document().Record().Name(), std::string("kinase"));

        // The text's Copy copies its selection, blanks included.
        m_text->setFocus();
        m_text->SelectResidues(1, 12);
        QVERIFY(m_program->frame->Execute(cmd::kCopy));
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("MKVLA"));
        // Copy All and Select from... to... reach the text from the header too.
        name->setFocus();
        QVERIFY(runDialog(cmd::kSelectRange, QStringLiteral("Select part of sequence"),
                          {{QStringLiteral("first"), QStringLiteral("2")},
                           {QStringLiteral("last"), QStringLiteral("3")}}));
        QCOMPARE(m_text->textCursor().selectedText(), QStringLiteral("KV"));
    }

    void printingPutsPageHeadersAndTheLinesOnPaper()
    {
        start("MKVLAAGIVGLLLAAWAAPAAEHKQKGMLELLPTAVEGVSQAQITGRPEWIWLALGTALMGLGTLYF", "BR");
        document().Record().remarks =
            "Light-driven proton pump, found in the purple membrane of halophilic archaea; "
            "seven transmembrane helices bind retinal.\r\nSecond line.";
        document().UpdateAllViews();
        const QString text = printed();
        QVERIFY2(text.contains(QStringLiteral("page 1")), qPrintable(text));
        QVERIFY(!text.contains(QStringLiteral("page 2")));
        for (const QString& line : {
                 QStringLiteral("BR"),
                 QStringLiteral("**"),
                 QStringLiteral("Length: 67"),
                 QStringLiteral("Remarks: Light-driven proton pump"),
                 QStringLiteral("Second line."),
                 QStringLiteral(
                     "MKVLAAGIVG LLLAAWAAPA AEHKQKGMLE LLPTAVEGVS QAQITGRPEW IWLALGTALM"),
                 QStringLiteral("GLGTLYF"),
             }) {
            QVERIFY2(text.contains(line), qPrintable(line));
        }
        // A printer that cannot start says so.
        QPrinter broken;
        broken.setOutputFormat(QPrinter::PdfFormat);
        broken.setOutputFileName(m_program->home.Path(QStringLiteral("no such folder/x.pdf")));
        QCOMPARE(m_text->Print(broken), 0);
        QCOMPARE(m_program->messages.LastText(), QStringLiteral("The page could not be printed."));

        // The long remarks were cut after a break character.
        QVERIFY(
            !text.contains(QStringLiteral("archaea; seven transmembrane helices bind retinal.")));

        // A long sequence goes on over several pages, each with its header.
        const QByteArray fasta =
            test::ReadBytes(test::DataPath(QStringLiteral("proteins/Q8WZ42.fasta")));
        m_program->messages.Answer(core::ui::MessageAnswer::No);
        QVERIFY(m_program->frame->OpenDocumentFile(
            m_program->File(QStringLiteral("titin.fasta"), fasta)));
        const QString titin = printed();
        QVERIFY(titin.contains(QStringLiteral("page 2")));
        QVERIFY(titin.contains(QStringLiteral("page 5")));
        QVERIFY(titin.contains(QStringLiteral("Length: 34350")));
    }

    void theNumbersFollowTheScrolledText()
    {
        const QByteArray fasta =
            test::ReadBytes(test::DataPath(QStringLiteral("proteins/Q8WZ42.fasta")));
        m_program = std::make_unique<RunningProgram>();
        m_program->app->Settings().charsPerLine = 60;
        QVERIFY(m_program->frame->OpenDocumentFile(
            m_program->File(QStringLiteral("titin.fasta"), fasta)));
        m_panes = qobject_cast<SequenceEditorPanes*>(m_program->frame->ActiveFrame()->widget());
        m_text = &m_panes->Editor();
        QCOMPARE(numbers().first(), 1);

        QScrollBar* bar = m_text->verticalScrollBar();
        bar->setValue(bar->maximum() / 2);
        const int first = m_text->FirstVisibleLine();
        QVERIFY(first > 100);
        const QList<int> inView = numbers();
        QCOMPARE(inView.first(), first * 60 + 1);
        QCOMPARE(inView.at(1), first * 60 + 61);
        QTRY_COMPARE(m_panes->Numbers().FirstLine(), first);

        // Each number stands on the baseline of its line of text.
        const CPepDlg2View& column = m_panes->Numbers();
        for (int i : {0, 1, 5}) {
            QTextCursor lineStart(m_text->document()->findBlockByNumber(first + i));
            const QRect place = m_text->cursorRect(lineStart).translated(
                m_text->viewport()->mapTo(m_panes, QPoint(0, 0)) -
                column.mapTo(m_panes, QPoint(0, 0)));
            const int baseline = column.Labels().at(i).baseline;
            QVERIFY2(baseline > place.top() + place.height() / 2 && baseline <= place.bottom(),
                     qPrintable(QStringLiteral("%1 in %2..%3")
                                    .arg(baseline)
                                    .arg(place.top())
                                    .arg(place.bottom())));
        }
        // Past the last line there are no numbers.
        bar->setValue(bar->maximum());
        QCOMPARE(numbers().last(), 34321);
    }
};

} // namespace quorin::shell::ui

QTEST_MAIN(quorin::shell::ui::CPepEditViewTest)
#include "CPepEditViewTest.moc"
