#include "MainFrameFixture.h"
#include "analysis/PhysChem.h"
#include "analysis/ui/CDigView.h"
#include "analysis/ui/CDigestDialog.h"
#include "analysis/ui/CPhysChemView.h"
#include "core/CommandIds.h"
#include "core/MessageTexts.h"
#include "core/UserData.h"
#include "core/ui/Help.h"
#include "core/ui/QtText.h"
#include "plots/ui/CPathyDoc.h"
#include "plots/ui/CWheelDoc.h"
#include "plots/ui/PlotDialogs.h"
#include "shell/ui/COptionsPropSheet.h"
#include "shell/ui/PreferencePages.h"

#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QToolButton>

#include <csignal>
#include <sys/resource.h>

namespace quorin::shell::ui {

namespace cmd = core::cmd;
using core::ui::ToQString;
using test::RunningProgram;

namespace {

QString text(std::string_view message)
{
    return ToQString(message);
}

QStringList tabTitles(COptionsPropSheet& sheet)
{
    QStringList titles;
    for (int i = 0; i < sheet.Tabs().count(); ++i) {
        titles << sheet.Tabs().tabText(i);
    }
    return titles;
}

template <typename Page>
Page& page(COptionsPropSheet& sheet)
{
    for (CPreferencePage* candidate : sheet.Pages()) {
        if (auto* found = qobject_cast<Page*>(candidate)) {
            sheet.Tabs().setCurrentWidget(found);
            return *found;
        }
    }
    qFatal("no such page");
}

template <typename Widget>
Widget* child(QWidget& parent, const char* name)
{
    auto* found = parent.findChild<Widget*>(QLatin1String(name));
    if (found == nullptr) {
        qFatal("no child %s", name);
    }
    return found;
}

/// Replaces a field's text as typing does (the edit marks the page modified).
void type(QLineEdit* field, const QString& typed)
{
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, typed);
}

QString setting(const QString& iniPath, std::string_view section, std::string_view key)
{
    const core::ProfileFile file(iniPath.toStdString());
    return ToQString(file.ReadString(section, key, "(missing)"));
}

/// The sheet of the running program, shown without a modal loop of its own.
struct ShownSheet
{
    explicit ShownSheet(RunningProgram& program)
        : sheet(*program.app, program.Document(), program.frame.get())
    {
        sheet.show();
        sheet.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&sheet));
    }

    bool ApplyEnabled() { return child<QPushButton>(sheet, "apply")->isEnabled(); }

    COptionsPropSheet sheet;
};

/// A program with bacteriorhodopsin open and two agents.
void openSequence(RunningProgram& program)
{
    QVERIFY(program.frame->OpenDocumentFile(test::DataPath("proteins/P02945.fasta")));
    program.Document()->Record().agents = {{"Trypsin", "K!;R!"}, {"CNBr", "M"}};
}

QString settingsPath(RunningProgram& program)
{
    return ToQString(program.app->SettingsFile().Path().string());
}

} // namespace

class PreferencesTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { PrefChoosers() = StandardPrefChoosers(); }

    void theSequencePagesComeWithADocumentAndTheHelpFollowsThePage()
    {
        RunningProgram program;
        QStringList keywords;
        const auto previousHelp =
            core::ui::SetHelpHandler([&keywords](const QString& keyword) { keywords << keyword; });
        QStringList titles;
        {
            test::ModalAnswer answer([&titles](QWidget& modal) {
                auto* sheet = qobject_cast<COptionsPropSheet*>(&modal);
                QVERIFY(sheet != nullptr);
                QCOMPARE(sheet->windowTitle(), QStringLiteral("Preferences"));
                titles = tabTitles(*sheet);
                QVERIFY(!child<QPushButton>(*sheet, "apply")->isEnabled());
                sheet->reject();
            });
            QVERIFY(program.frame->Execute(cmd::kPreferences));
            QVERIFY(answer.Answered());
        }
        QCOMPARE(titles, QStringList({"Directories", "Helical Wheel Options", "Output Options",
                                      "Download"}));

        openSequence(program);
        ShownSheet shown(program);
        QCOMPARE(tabTitles(shown.sheet),
                 QStringList({"Directories", "Helical Wheel Options", "Edit Cleaving Agents",
                              "Define pKa Values", "Output Options", "Edit Modifications",
                              "Edit Hydropathy Scales", "Download"}));
        page<CWheelPropertiesPage>(shown.sheet);
        child<QPushButton>(shown.sheet, "help")->click();
        child<QPushButton>(shown.sheet, "pageHelp")->click();
        page<CEditpKaPage>(shown.sheet);
        child<QPushButton>(shown.sheet, "help")->click();
        QCOMPARE(keywords, QStringList({"PREFERENCES HELICAL WHEEL", "PREFERENCES HELICAL WHEEL",
                                        "PREFERENCES PKA"}));
        core::ui::SetHelpHandler(previousHelp);
    }

    void theAgentPageKeepsARefusedEntryAndWritesItsSection()
    {
        RunningProgram program;
        openSequence(program);
        const QString ini = settingsPath(program);
        const QString pKaBefore = setting(ini, core::kPropertiesSection, "pKa-Values");
        ShownSheet shown(program);
        auto& agents = page<CEditProteases>(shown.sheet);
        auto* list = child<QListWidget>(agents, "agents");
        auto* specificity = child<QLineEdit>(agents, "specificity");
        QCOMPARE(list->currentRow(), 0);
        QCOMPARE(specificity->text(), QStringLiteral("K!;R!"));

        type(specificity, QStringLiteral("kb"));
        QVERIFY(shown.ApplyEnabled());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(1)).center());
        QCOMPARE(program.messages.LastText(), QStringLiteral("B is not a valid amino acid !"));
        QCOMPARE(program.messages.Requests().last().caption, QStringLiteral("Error"));
        QTRY_COMPARE(list->selectedItems(), QList<QListWidgetItem*>{list->item(0)});
        QCOMPARE(list->currentRow(), 0);
        QTRY_VERIFY(specificity->hasFocus());
        QCOMPARE(specificity->selectedText(), QStringLiteral("kb"));

        type(specificity, QStringLiteral("k!;w"));
        list->setCurrentRow(1);
        QCOMPARE(child<QLineEdit>(agents, "name")->text(), QStringLiteral("CNBr"));

        child<QPushButton>(agents, "new")->click();
        QCOMPARE(list->count(), 3);
        QCOMPARE(list->currentItem()->text(), QStringLiteral("New agent"));
        program.messages.Clear();
        for (int i = 0; i < 3; ++i) {
            child<QPushButton>(agents, "delete")->click();
        }
        QCOMPARE(program.messages.Requests().size(), 3);
        QCOMPARE(program.messages.LastText(), QStringLiteral("Delete item?"));
        QCOMPARE(program.messages.Requests().last().caption, QStringLiteral("Note"));
        QCOMPARE(list->count(), 1);
        QCOMPARE(list->item(0)->text(), QStringLiteral("New agent"));
        // Until OK the sequence keeps its agents.
        QCOMPARE(program.Document()->Record().agents.size(), std::size_t{2});

        child<QPushButton>(shown.sheet, "ok")->click();
        QVERIFY(!shown.sheet.isVisible());
        QCOMPARE(setting(ini, core::kAgentsSection, "0"), QStringLiteral("New agent:"));
        QCOMPARE(setting(ini, core::kAgentsSection, "1"), QStringLiteral("(missing)"));
        QCOMPARE(setting(ini, core::kPropertiesSection, "pKa-Values"), pKaBefore);
        QCOMPARE(program.Document()->Record().agents.size(), std::size_t{1});
    }

    void thePKaPageTakesValuesAboveZeroUpToFourteen()
    {
        RunningProgram program;
        openSequence(program);
        ShownSheet shown(program);
        auto& pKa = page<CEditpKaPage>(shown.sheet);
        auto* groups = child<QListWidget>(pKa, "groups");
        auto* value = child<QLineEdit>(pKa, "pKa");
        groups->setCurrentRow(5);
        QCOMPARE(groups->currentItem()->text(), QStringLiteral("Lys"));
        QCOMPARE(value->text(), QStringLiteral("10.8"));
        for (const QString& refused : {QStringLiteral("14.01"), QStringLiteral("0")}) {
            type(value, refused);
            groups->setCurrentRow(6);
            QCOMPARE(program.messages.LastText(),
                     QStringLiteral("Please enter a real value between 0 and 14 !"));
            QCOMPARE(groups->currentRow(), 5);
            QTRY_VERIFY(value->hasFocus());
        }
        type(value, QStringLiteral("14"));
        groups->setCurrentRow(6);
        QCOMPARE(value->text(), QStringLiteral("12"));
        child<QPushButton>(pKa, "default")->click();
        groups->setCurrentRow(5);
        QCOMPARE(value->text(), QStringLiteral("10.8"));
        type(value, QStringLiteral("11.5"));

        child<QPushButton>(shown.sheet, "apply")->click();
        QVERIFY(!shown.ApplyEnabled());
        QCOMPARE(program.Document()->Record().pKa[9], 11.5);
        QCOMPARE(setting(settingsPath(program), core::kPropertiesSection, "pKa-Values"),
                 QStringLiteral("7.4;7;9.25;4;4.4;7;7;6.5;7;11.5;7;7;7;7;7;12;7;7;7;7;10.2;3.9"));
    }

    void theOutputPageSetsBackASizeAtOnceAndWritesThreeKeys()
    {
        RunningProgram program;
        ShownSheet shown(program);
        auto& output = page<CFontSizePage>(shown.sheet);
        auto* size = child<QLineEdit>(output, "fontSize");
        QCOMPARE(size->text(), QStringLiteral("11"));
        size->setSelection(1, 1);
        QTest::keyClick(size, Qt::Key_Backspace); // "1"
        QCOMPARE(size->text(), QStringLiteral("11"));
        QTest::keyClicks(size, QStringLiteral("x"));
        QCOMPARE(size->text(), QStringLiteral("11"));
        size->setSelection(1, 1);
        QTest::keyClicks(size, QStringLiteral("2"));
        QCOMPARE(size->text(), QStringLiteral("12"));
        auto* width = child<QLineEdit>(output, "lineWidth");
        type(width, QStringLiteral("3"));
        QVERIFY(program.messages.Requests().isEmpty());

        child<QPushButton>(shown.sheet, "ok")->click();
        const QString ini = settingsPath(program);
        QCOMPARE(setting(ini, core::kSetupSection, "Output Font Size"), QStringLiteral("12"));
        QCOMPARE(setting(ini, core::kSetupSection, "Characters per line"), QStringLiteral("70"));
        QCOMPARE(setting(ini, core::kSetupSection, "Line Width"), QStringLiteral("3"));
        QCOMPARE(program.app->Settings().charsPerLine, 70);
        QCOMPARE(setting(ini, core::kSetupSection, "Helical Wheel Numbers"),
                 QStringLiteral("(missing)"));
    }

    void theModificationAndScalePagesRefuseADecimalComma()
    {
        RunningProgram program;
        openSequence(program);
        program.Document()->Record().modifications = {{"Phospho", "S,T,Y", 79.97}};
        ShownSheet shown(program);

        auto& modifications = page<CEditModificationsPage>(shown.sheet);
        auto* weight = child<QLineEdit>(modifications, "weight");
        QCOMPARE(weight->text(), QStringLiteral("80"));
        type(weight, QStringLiteral("79,97"));
        child<QPushButton>(modifications, "new")->click();
        QCOMPARE(program.messages.LastText(), QStringLiteral("Enter a valid number as weight !"));
        QCOMPARE(child<QListWidget>(modifications, "modifications")->count(), 1);
        QTRY_VERIFY(weight->hasFocus());
        type(weight, QStringLiteral("79.97"));
        type(child<QLineEdit>(modifications, "specificity"), QStringLiteral("s;t"));
        child<QPushButton>(modifications, "new")->click();
        QCOMPARE(child<QListWidget>(modifications, "modifications")->currentItem()->text(),
                 QStringLiteral("New modification"));

        auto& scales = page<CEditPathyScalePage>(shown.sheet);
        auto* scaleList = child<QListWidget>(scales, "scales");
        auto* residues = child<QListWidget>(scales, "residues");
        auto* value = child<QLineEdit>(scales, "value");
        residues->setCurrentRow(1);
        type(value, QStringLiteral("-1,5"));
        residues->setCurrentRow(2);
        QCOMPARE(program.messages.LastText(), QStringLiteral("Enter a valid number as weight !"));
        QCOMPARE(residues->currentRow(), 1);
        scaleList->setCurrentRow(1);
        QCOMPARE(program.messages.LastText(), QStringLiteral("Enter a valid number !"));
        QCOMPARE(scaleList->currentRow(), 0);
        QTRY_VERIFY(value->hasFocus());
        type(value, QStringLiteral("-1.5"));
        residues->setCurrentRow(2);
        scaleList->setCurrentRow(1);
        child<QPushButton>(scales, "delete")->click();
        QCOMPARE(scaleList->count(), 1);

        child<QPushButton>(shown.sheet, "ok")->click();
        QVERIFY(!shown.sheet.isVisible());
        const core::PropertyRecord& record = program.Document()->Record();
        QCOMPARE(record.scales[0].values[1], -1.5);
        QCOMPARE(record.modifications.size(), std::size_t{2});
        QCOMPARE(record.modifications[0].specificity, std::string("S;T"));
        const QString ini = settingsPath(program);
        QCOMPARE(setting(ini, core::kModificationsSection, "0"), QStringLiteral("Phospho:S;T;80"));
        QCOMPARE(setting(ini, core::kModificationsSection, "1"),
                 QStringLiteral("New modification:;0"));
        QVERIFY(setting(ini, core::kScalesSection, "0").contains(QStringLiteral(";-1.5;")));
        // One scale left: the next sequence adds the built-in scales after it,
        // and the edited scale stays what it is.
        core::PropertyRecord next;
        core::ReadRecordSettings(program.app->SettingsFile(), next);
        QCOMPARE(next.scales.size(), std::size_t{3});
        QCOMPARE(next.scales[0].values[1], -1.5);
        QCOMPARE(next.scales[1].name, next.builtinScales[0].name);
        QVERIFY(setting(ini, core::kScalesSection, "0").contains(QStringLiteral(";-1.5;")));
    }

    void theWheelPageWritesItsKeysAndTheDefaultColours()
    {
        RunningProgram program;
        PrefChoosers().colour = [](QWidget*, core::COLORREF) { return core::COLORREF{0x0000FF}; };
        ShownSheet shown(program);
        auto& wheel = page<CWheelPropertiesPage>(shown.sheet);
        QVERIFY(!shown.ApplyEnabled());
        child<QListWidget>(wheel, "residues")->setCurrentRow(8); // K (Lys)
        child<QPushButton>(wheel, "colour")->click();
        child<QCheckBox>(wheel, "displayNumbers")->setChecked(false);
        QVERIFY(shown.ApplyEnabled());
        child<QPushButton>(shown.sheet, "apply")->click();
        QVERIFY(!shown.ApplyEnabled());
        const QString ini = settingsPath(program);
        QCOMPARE(setting(ini, core::kPropertiesSection, "Colors").split(';').at(9),
                 QStringLiteral("255"));
        QCOMPARE(setting(ini, core::kSetupSection, "Helical Wheel Numbers"), QStringLiteral("0"));
        QCOMPARE(setting(ini, core::kSetupSection, "Helical Wheel Font FaceName"),
                 ToQString(program.app->Settings().wheelFont.FaceName()));
        QCOMPARE(program.app->Settings().colours[9], core::COLORREF{255});

        child<QPushButton>(wheel, "allToDefault")->click();
        child<QPushButton>(shown.sheet, "ok")->click();
        const QStringList colours = setting(ini, core::kPropertiesSection, "Colors").split(';');
        QCOMPARE(colours.at(3), QString::number(0xFA0000)); // D, acidic
        QCOMPARE(colours.at(9), QString::number(0x0000FA)); // K, basic
    }

    void confirmedWheelOptionsReachTheOpenWheelsOfEverySequence()
    {
        RunningProgram program;
        QVERIFY(program.frame->OpenDocumentFile(test::DataPath("proteins/P01501.fasta")));
        core::ui::CPeptideDoc* melittin = program.Document();
        plots::ui::Choosers().run = [](QDialog& dialog) {
            child<QLineEdit>(dialog, "from")->setText(QStringLiteral("44"));
            child<QLineEdit>(dialog, "to")->setText(QStringLiteral("61"));
            dialog.accept();
            return dialog.result();
        };
        QVERIFY(program.frame->Execute(cmd::kHelicalWheel));
        plots::ui::Choosers() = plots::ui::StandardChoosers();
        auto* wheel = qobject_cast<plots::ui::CWheelDoc*>(melittin->Analyses().wheels[0].data());
        QVERIFY(wheel != nullptr);
        QWidget* view = program.frame->ActiveFrame()->widget();
        const QImage before = view->grab().toImage();
        // The sheet works on the sequence opened last, not on the wheel's.
        openSequence(program);
        QVERIFY(program.Document() != melittin);

        core::LOGFONT font = program.app->Settings().wheelFont;
        font.lfHeight = -24;
        PrefChoosers().colour = [](QWidget*, core::COLORREF) { return core::COLORREF{0xFF00FF}; };
        PrefChoosers().font = [font](QWidget*, const core::LOGFONT&) { return font; };
        const QSignalSpy redrawn(wheel, &plots::ui::PageDocument::changed);
        ShownSheet shown(program);
        auto& options = page<CWheelPropertiesPage>(shown.sheet);
        child<QListWidget>(options, "residues")->setCurrentRow(9); // L (Leu)
        child<QPushButton>(options, "colour")->click();
        child<QPushButton>(options, "changeFont")->click();
        child<QCheckBox>(options, "displayNumbers")->setChecked(false);
        type(child<QLineEdit>(options, "lineWidth"), QStringLiteral("3"));
        child<QPushButton>(shown.sheet, "ok")->click();

        const core::PropertyRecord& record = melittin->Record();
        QCOMPARE(record.colours[10], core::COLORREF{0xFF00FF});
        QCOMPARE(record.wheelNumbers, 0);
        QCOMPARE(record.wheelLineWidth, 3);
        QCOMPARE(record.wheelFont.lfHeight, -24);
        QVERIFY(!redrawn.isEmpty());
        QVERIFY(view->grab().toImage() != before);
    }

    void aSettingsFileThatCannotBeWrittenLeavesEverythingAsItWas()
    {
        RunningProgram program;
        openSequence(program);
        const QString ini = settingsPath(program);
        const QByteArray before = test::ReadBytes(ini);
        ShownSheet shown(program);
        type(child<QLineEdit>(page<CEditProteases>(shown.sheet), "specificity"),
             QStringLiteral("K!;R!;W"));
        type(child<QLineEdit>(page<CFontSizePage>(shown.sheet), "lineWidth"), QStringLiteral("4"));

        // A full disk: no file may grow beyond the size the settings have now.
        rlimit limit{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &limit), 0);
        const rlimit full{static_cast<rlim_t>(before.size()), limit.rlim_max};
        const auto previousSignal = std::signal(SIGXFSZ, SIG_IGN);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &full), 0);
        child<QPushButton>(shown.sheet, "ok")->click();
        setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, previousSignal);

        QCOMPARE(program.messages.LastText(),
                 text(core::msg::CannotWriteSettings(ini.toStdString())));
        QVERIFY(shown.sheet.isVisible());
        QCOMPARE(test::ReadBytes(ini), before);
        QCOMPARE(program.Document()->Record().agents[0].specificity, std::string("K!;R!"));
        QVERIFY(program.app->Settings().plotLineWidth != 4);

        child<QPushButton>(shown.sheet, "ok")->click();
        QVERIFY(!shown.sheet.isVisible());
        QCOMPARE(program.Document()->Record().agents[0].specificity, std::string("K!;R!;W"));
        QCOMPARE(program.app->Settings().plotLineWidth, 4);
    }

    void theDirectoriesPageMovesTheSettingsOnlyWhenTheCopyIsSafe()
    {
        RunningProgram program;
        QList<QStringList> restarts;
        PrefChoosers().restart = [&restarts](const QStringList& arguments) {
            restarts << arguments;
        };
        const QString oldIni = settingsPath(program);
        const QByteArray settings = test::ReadBytes(oldIni);
        QVERIFY(!settings.isEmpty());

        // The working folder: the directory browsed becomes the working
        // directory; a new directory keeps its whole name.
        {
            ShownSheet shown(program);
            auto& directories = page<CWorkDirPage>(shown.sheet);
            QCOMPARE(child<QRadioButton>(directories, "userData")->text(),
                     QStringLiteral("Working folder"));
            QCOMPARE(child<QRadioButton>(directories, "userProfiles")->text(),
                     QStringLiteral("Settings folder"));
            QVERIFY(directories.Enter(program.home.Path().toStdString()));
            test::ModalAnswer name([](QWidget& modal) {
                child<QLineEdit>(modal, "name")->setText(QStringLiteral("Peptide digests 2024"));
                qobject_cast<QDialog*>(&modal)->accept();
            });
            child<QToolButton>(directories, "newDirectory")->click();
            QVERIFY(name.Answered());
            QVERIFY(QDir(program.home.Path(QStringLiteral("Peptide digests 2024"))).exists());
            QVERIFY(!child<QListWidget>(directories, "directories")
                         ->findItems(QStringLiteral("Peptide digests 2024"), Qt::MatchExactly)
                         .isEmpty());
            child<QPushButton>(shown.sheet, "ok")->click();
            QCOMPARE(setting(oldIni, core::kSetupSection, "Working Directory"),
                     program.home.Path());
            QCOMPARE(program.app->WorkingDirectory(), program.home.Path());
        }
        const QByteArray withWorkingDirectory = test::ReadBytes(oldIni);

        // A folder named quorin.ini in the way: the copy fails, nothing moves.
        const QString blocked = program.home.MakeDirectory(QStringLiteral("blocked"));
        program.home.MakeDirectory(QStringLiteral("blocked/quorin.ini"));
        {
            ShownSheet shown(program);
            auto& directories = page<CWorkDirPage>(shown.sheet);
            child<QRadioButton>(directories, "userProfiles")->click();
            QVERIFY(directories.Enter(blocked.toStdString()));
            child<QPushButton>(shown.sheet, "ok")->click();
            QCOMPARE(program.messages.Requests().at(program.messages.Requests().size() - 2).text,
                     text(core::msg::kReplaceSettingsFile));
            QVERIFY(program.messages.LastText().startsWith(
                QStringLiteral("The settings file could not be copied to ") + blocked));
            QVERIFY(shown.sheet.isVisible());
            QCOMPARE(test::ReadBytes(oldIni), withWorkingDirectory);
            QCOMPARE(setting(program.home.RegistryPath(), "Settings", "User data"),
                     QStringLiteral("(missing)"));
            shown.sheet.reject();
        }
        QVERIFY(restarts.isEmpty());

        // A free directory: copied, read back, recorded, the old file gone;
        // the program starts again with the sequence's file.
        const QString profiles = program.home.MakeDirectory(QStringLiteral("profiles"));
        openSequence(program);
        program.Document()->SetModifiedFlag(true);
        program.messages.Answer(core::ui::MessageAnswer::Yes); // copy the settings
        program.messages.Answer(core::ui::MessageAnswer::Ok);  // will terminate
        program.messages.Answer(core::ui::MessageAnswer::No);  // save changes
        program.messages.Clear();
        const QByteArray moved = test::ReadBytes(oldIni);
        test::ModalAnswer answer([&](QWidget& modal) {
            auto* sheet = qobject_cast<COptionsPropSheet*>(&modal);
            QVERIFY(sheet != nullptr);
            auto& directories = page<CWorkDirPage>(*sheet);
            child<QRadioButton>(directories, "userProfiles")->click();
            QVERIFY(directories.Enter(profiles.toStdString()));
            child<QPushButton>(*sheet, "ok")->click();
        });
        QVERIFY(program.frame->Execute(cmd::kPreferences));
        QVERIFY(answer.Answered());
        QCOMPARE(program.messages.Requests().size(), 3);
        QCOMPARE(program.messages.Requests().at(0).text, text(core::msg::kCopySettingsFile));
        QCOMPARE(program.messages.Requests().at(1).text, text(core::msg::kWillTerminate));
        QCOMPARE(program.messages.Requests().at(2).text,
                 QStringLiteral("Save changes to P02945.fasta?"));
        QCOMPARE(restarts, QList<QStringList>{{test::DataPath("proteins/P02945.fasta")}});
        QVERIFY(!program.frame->isVisible());
        const QString newIni = profiles + QStringLiteral("/quorin.ini");
        // The copy, and the recent files the closing window wrote into it.
        QVERIFY(test::ReadBytes(newIni).startsWith(moved));
        QCOMPARE(setting(newIni, "Recent File List", "File1"),
                 test::DataPath("proteins/P02945.fasta"));
        QVERIFY(!QFile::exists(oldIni));
        QCOMPARE(setting(program.home.RegistryPath(), "Settings", "User data"), profiles);
        QCOMPARE(settingsPath(program), newIni);
    }

    void theNextAnalysesUseWhatTheSheetChanged()
    {
        RunningProgram program;
        openSequence(program);
        core::ui::CPeptideDoc& document = *program.Document();
        const QString pIBefore = ToQString(analysis::PhysChemReportText(document.Record()));

        test::ModalAnswer answer([](QWidget& modal) {
            auto* sheet = qobject_cast<COptionsPropSheet*>(&modal);
            QVERIFY(sheet != nullptr);
            type(child<QLineEdit>(page<CEditProteases>(*sheet), "specificity"),
                 QStringLiteral("K"));
            auto& pKa = page<CEditpKaPage>(*sheet);
            child<QListWidget>(pKa, "groups")->setCurrentRow(3); // Glu
            type(child<QLineEdit>(pKa, "pKa"), QStringLiteral("6"));
            auto& scales = page<CEditPathyScalePage>(*sheet);
            child<QListWidget>(scales, "residues")->setCurrentRow(1);
            type(child<QLineEdit>(scales, "value"), QStringLiteral("9.9"));
            child<QPushButton>(*sheet, "ok")->click();
        });
        QVERIFY(program.frame->Execute(cmd::kPreferences));
        QVERIFY(answer.Answered());

        QVERIFY(program.frame->Execute(cmd::kPhysChem));
        auto* properties =
            qobject_cast<analysis::ui::CPhysChemView*>(program.frame->ActiveFrame()->widget());
        QVERIFY(properties != nullptr);
        core::PropertyRecord expected = document.Record();
        expected.pKa = expected.defaultPKa;
        expected.pKa[4] = 6.0;
        expected.ForgetCachedResults();
        QCOMPARE(properties->ReportText(), ToQString(analysis::PhysChemReportText(expected)));
        QVERIFY(properties->ReportText() != pIBefore);

        test::ModalAnswer agents([](QWidget& modal) {
            auto* dialog = qobject_cast<analysis::ui::CDigestDialog*>(&modal);
            QVERIFY(dialog != nullptr);
            child<QPushButton>(*dialog, "select")->click();
            child<QPushButton>(*dialog, "analyse")->click();
        });
        QVERIFY(program.frame->Execute(cmd::kCleavage));
        QVERIFY(agents.Answered());
        auto* digest =
            qobject_cast<analysis::ui::CDigView*>(program.frame->ActiveFrame()->widget());
        QVERIFY(digest != nullptr);
        QTRY_VERIFY(!digest->Busy());
        QStringList lines;
        for (std::size_t i = 0; i < digest->LineCount(); ++i) {
            lines << digest->LineText(i);
        }
        QVERIFY(lines.contains(QStringLiteral("Trypsin             (K)")));

        plots::ui::Choosers().run = [](QDialog& dialog) {
            dialog.accept();
            return dialog.result();
        };
        QVERIFY(program.frame->Execute(cmd::kHydropathy));
        plots::ui::Choosers() = plots::ui::StandardChoosers();
        auto* plot = qobject_cast<plots::ui::CPathyDoc*>(document.Analyses().hydropathy.data());
        QVERIFY(plot != nullptr);
        QCOMPARE(document.Record().plots.hydropathy[1], 9.9);
    }
};

} // namespace quorin::shell::ui

QTEST_MAIN(quorin::shell::ui::PreferencesTest)
#include "PreferencesTest.moc"
