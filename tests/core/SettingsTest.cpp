#include "core/Settings.h"

#include "core/MessageTexts.h"
#include "core/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quorin::core {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

class SettingsTest : public ::testing::Test
{
protected:
    std::filesystem::path path() const { return m_dir / "quorin.ini"; }
    ProfileFile file() const { return ProfileFile(path()); }
    void write(const std::string& text) const { WriteFile(path(), text); }

    /// A record read from the file as a new sequence document reads it.
    PropertyRecord readRecord() const
    {
        PropertyRecord record;
        ProfileFile f = file();
        ReadRecordSettings(f, record);
        return record;
    }

    TempDir m_dir;
};

TEST_F(SettingsTest, FirstStartWritesOnlyTheKeysTheStoreMustHold)
{
    ProfileFile f = file();
    AppSettings settings;
    ReadStartupSettings(f, settings, "/start");
    EXPECT_EQ(f.ReadString(kSetupSection, "Line Width", "?"), "0");
    EXPECT_EQ(f.ReadString(kSetupSection, "Helical Wheel Line Width", "?"), "1");
    EXPECT_EQ(f.ReadString(kSetupSection, "Output Font Size", "?"), "11");
    EXPECT_FALSE(f.Lookup(kSetupSection, "Helical Wheel Color Code"));
    EXPECT_FALSE(f.Lookup(kSetupSection, "Characters per line"));
    EXPECT_FALSE(f.Lookup(kSetupSection, "Working Directory"));

    EXPECT_EQ(settings.plotLineWidth, 0);
    EXPECT_EQ(settings.outputFontSize, 11);
    EXPECT_EQ(settings.charsPerLine, 80);
    EXPECT_EQ(settings.workingDirectory, "/start");
    EXPECT_EQ(settings.wheelFont.lfHeight, -13);
    EXPECT_EQ(settings.wheelFont.lfWeight, 400);
    EXPECT_EQ(settings.wheelFont.lfClipPrecision, 10);
    EXPECT_EQ(settings.wheelFont.FaceName(), "Arial");

    const PropertyRecord record = readRecord();
    EXPECT_EQ(f.ReadString(kPropertiesSection, "pKa-Values", "?"),
              "7.4;7;9.25;4;4.4;7;7;6.5;7;10.8;7;7;7;7;7;12;7;7;7;7;10.2;3.9");
    EXPECT_EQ(f.ReadString(kPropertiesSection, "Molecular weights", "?"),
              "0;71.09;103.15;115.09;129.12;147.18;57.05;137.14;113.16;128.17;113.16;131.19;"
              "114.11;97.12;128.14;156.19;87.08;101.11;99.14;186.21;163.18;0");
    EXPECT_EQ(f.ReadString(kPropertiesSection, "Molar Absorption (denatured)", "?"),
              "0;0;0.12;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;5.69;1.28;0");
    EXPECT_EQ(f.ReadString(kPropertiesSection, "Molar Absorption (native)", "?"),
              "0;0;0.125;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;5.5;1.49;0");
    EXPECT_EQ(f.ReadString(kScalesSection, "0", "?"),
              "Kyte and Doolittle (1982);-4.5;1.8;2.5;-3.5;-3.5;2.8;-0.4;-3.2;4.5;-3.9;3.8;1.9;"
              "-3.5;-1.6;-3.5;-4.5;-0.8;-0.7;4.2;-0.9;-1.3;-4.5");
    EXPECT_EQ(f.ReadString(kScalesSection, "1", "?").substr(0, 40),
              "Eisenberg Consensus Scale (1983);-2.53;0");
    EXPECT_FALSE(f.Lookup(kAgentsSection, "0"));
    EXPECT_FALSE(f.Lookup(kModificationsSection, "0"));
    EXPECT_EQ(record.pKa, record.defaultPKa);
    EXPECT_EQ(record.scales.size(), 2u);
    EXPECT_TRUE(record.agents.empty());
    EXPECT_TRUE(record.modifications.empty());
}

TEST_F(SettingsTest, MissingWheelKeysHoldTheDefaultsTheyWrite)
{
    write("[Setup Options]\r\nLine Width=2\r\nOutput Font Size=12\r\n");
    ProfileFile f = file();
    AppSettings settings;
    ReadStartupSettings(f, settings, "/start");
    EXPECT_EQ(settings.wheelLineWidth, 1);
    EXPECT_EQ(f.ReadString(kSetupSection, "Helical Wheel Line Width", "?"), "1");
    EXPECT_EQ(settings.wheelColorCode, 1);
    EXPECT_EQ(settings.wheelNumbers, 1);
    EXPECT_EQ(f.ReadString(kPropertiesSection, "Colors", "?"),
              "3289650;3289650;3289650;16384000;16384000;3289650;3289650;64000;3289650;250;"
              "3289650;3289650;64000;3289650;64000;250;64000;64000;3289650;3289650;3289650;"
              "3289650");
    const struct
    {
        char letter;
        COLORREF colour;
    } rows[] = {{'D', 0xFA0000}, {'E', 0xFA0000},  {'K', 0x0000FA},  {'R', 0x0000FA},
                {'H', 0x00FA00}, {'N', 0x00FA00},  {'Q', 0x00FA00},  {'S', 0x00FA00},
                {'T', 0x00FA00}, {'A', kDarkGrey}, {'W', kDarkGrey}, {'Y', kDarkGrey}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.letter);
        EXPECT_EQ(settings.colours[static_cast<std::size_t>(IndexOfLetter(row.letter))],
                  row.colour);
    }
    EXPECT_EQ(settings.colours[0], kDarkGrey);
    EXPECT_EQ(settings.colours[21], kDarkGrey);
}

TEST_F(SettingsTest, ValidatedIntegersFallBackAndOthersAreTakenAsRead)
{
    write("[Setup Options]\r\nLine Width=11\r\nHelical Wheel Line Width=0\r\n"
          "Output Font Size=0\r\nCharacters per line=-5\r\nHelical Wheel Numbers=7\r\n"
          "Helical Wheel Font Italic=257\r\nWorking Directory=/data\r\n");
    ProfileFile f = file();
    AppSettings settings;
    settings.plotLineWidth = 3;
    settings.wheelLineWidth = 4;
    ReadStartupSettings(f, settings, "/start");
    EXPECT_EQ(settings.plotLineWidth, 3);
    EXPECT_EQ(f.ReadString(kSetupSection, "Line Width", "?"), "3");
    EXPECT_EQ(settings.wheelLineWidth, 1);
    EXPECT_EQ(f.ReadString(kSetupSection, "Helical Wheel Line Width", "?"), "1");
    EXPECT_EQ(settings.outputFontSize, 11);
    EXPECT_EQ(f.ReadString(kSetupSection, "Output Font Size", "?"), "11");
    EXPECT_EQ(settings.charsPerLine, -5);
    EXPECT_EQ(settings.wheelNumbers, 7);
    EXPECT_EQ(settings.wheelFont.lfItalic, 1);
    EXPECT_EQ(settings.workingDirectory, "/data");
}

TEST_F(SettingsTest, AcceptedIntegersAndALongFaceName)
{
    write("[Setup Options]\nLine Width=10\nHelical Wheel Line Width=1\nOutput Font Size=20\n"
          "Helical Wheel Font FaceName=An Extraordinarily Long Font Face Name\n"
          "[AA-Properties]\nColors=1;2;3;4;5;6;7;8;9;10;11;12;13;14;15;16;17;18;19;20;21;22\n");
    ProfileFile f = file();
    AppSettings settings;
    ReadStartupSettings(f, settings, "/start");
    EXPECT_EQ(settings.plotLineWidth, 10);
    EXPECT_EQ(settings.wheelLineWidth, 1);
    EXPECT_EQ(settings.outputFontSize, 20);
    EXPECT_EQ(settings.wheelFont.FaceName(), "An Extraordinarily Long Font Fa");
    EXPECT_EQ(settings.wheelFont.FaceName().size(), 31u);
    EXPECT_EQ(settings.colours[0], 1u);
    EXPECT_EQ(settings.colours[21], 22u);
}

TEST_F(SettingsTest, MalformedNumberListsStopAtTheFirstEmptyToken)
{
    write(
        "[AA-Properties]\r\npKa-Values=1;2;3\r\nMolecular weights=;5;5\r\n"
        "Molar Absorption (denatured)=1;;3\r\n"
        "Molar Absorption (native)=0;1;2;3;4;5;6;7;8;9;10;11;12;13;14;15;16;17;18;19;20;21;99\r\n");
    const PropertyRecord record = readRecord();
    EXPECT_EQ(record.pKa[0], 1.0);
    EXPECT_EQ(record.pKa[1], 2.0);
    EXPECT_EQ(record.pKa[2], 9.25);
    EXPECT_EQ(record.pKa[21], 3.9);
    EXPECT_EQ(record.residueMass, record.defaultResidueMass);
    EXPECT_EQ(record.absorptionDenatured[0], 1.0);
    EXPECT_EQ(record.absorptionDenatured[2], 0.12);
    EXPECT_EQ(record.absorptionNative[21], 21.0);
    // A malformed list is not "missing": nothing is written back.
    EXPECT_EQ(file().ReadString(kPropertiesSection, "pKa-Values", "?"), "1;2;3");
}

TEST_F(SettingsTest, OneUserScaleKeepsItsKeyAndTheBuiltInScalesFollowIt)
{
    write(
        "[Hydropathy Index]\r\n0=Mine;0;1;2;3;4;5;6;7;8;9;10;11;12;13;14;15;16;17;18;19;20;21\r\n");
    const PropertyRecord record = readRecord();
    ASSERT_EQ(record.scales.size(), 3u);
    EXPECT_EQ(record.scales[0].name, "Mine");
    EXPECT_EQ(record.scales[0].values[21], 21.0);
    EXPECT_EQ(record.scales[1].name, "Kyte and Doolittle (1982)");
    EXPECT_EQ(record.scales[2].name, "Eisenberg Consensus Scale (1983)");
    ProfileFile f = file();
    EXPECT_EQ(f.ReadString(kScalesSection, "0", "?").substr(0, 6), "Mine;0");
    EXPECT_EQ(f.ReadString(kScalesSection, "1", "?").substr(0, 25), "Kyte and Doolittle (1982)");
    EXPECT_EQ(f.ReadString(kScalesSection, "2", "?").substr(0, 9), "Eisenberg");

    // The next document finds three scales and writes nothing more.
    const std::string before = ReadFile(path());
    EXPECT_EQ(readRecord().scales.size(), 3u);
    EXPECT_EQ(ReadFile(path()), before);
}

TEST_F(SettingsTest, ScaleValuesAndAGapInTheKeys)
{
    write("[Hydropathy Index]\n0=NoValues\n1=;1;2\n2=Short;1;2;3\n4=AfterGap;1\n");
    const PropertyRecord record = readRecord();
    ASSERT_EQ(record.scales.size(), 3u);
    EXPECT_EQ(record.scales[0].name, "");
    EXPECT_EQ(record.scales[1].name, "");
    EXPECT_EQ(record.scales[1].values[0], 0.0);
    EXPECT_EQ(record.scales[2].name, "Short");
    EXPECT_EQ(record.scales[2].values[0], 1.0);
    EXPECT_EQ(record.scales[2].values[1], 2.0);
    EXPECT_EQ(record.scales[2].values[2], 0.0);
}

TEST_F(SettingsTest, AgentAndModificationValuesSplitAtTheirSeparators)
{
    write("[Cleaving Agents]\n0=Trypsin:K!;R!\n1=:K!\n2=NoColon\n3=A:B:C\n"
          "[Modifications]\n0=Phospho:S,T,Y;79.98\n1=Neg:K;-14\n2=NoMass:K,R\n3=JustName\n"
          "4=Bad:C;12a\n5=Quest:?\n");
    const PropertyRecord record = readRecord();
    ASSERT_EQ(record.agents.size(), 4u);
    EXPECT_EQ(record.agents[0].name, "Trypsin");
    EXPECT_EQ(record.agents[0].specificity, "K!;R!");
    EXPECT_EQ(record.agents[1].name, ":K!");
    EXPECT_EQ(record.agents[1].specificity, "");
    EXPECT_EQ(record.agents[2].name, "NoColon");
    EXPECT_EQ(record.agents[3].name, "A");
    EXPECT_EQ(record.agents[3].specificity, "B:C");

    ASSERT_EQ(record.modifications.size(), 6u);
    EXPECT_EQ(record.modifications[0].specificity, "S,T,Y");
    EXPECT_EQ(record.modifications[0].mw, 79.98);
    EXPECT_EQ(record.modifications[1].mw, 0.0);
    EXPECT_EQ(record.modifications[2].specificity, "K,R");
    EXPECT_EQ(record.modifications[2].mw, 0.0);
    EXPECT_EQ(record.modifications[3].name, "JustName");
    EXPECT_EQ(record.modifications[3].specificity, "");
    EXPECT_EQ(record.modifications[4].mw, 0.0);
    EXPECT_EQ(record.modifications[5].specificity, "?");
}

TEST_F(SettingsTest, AQuestionMarkValueCountsAsMissing)
{
    write("[Cleaving Agents]\n0=Trypsin:K!\n1=?\n2=Lys-C:K!\n");
    EXPECT_EQ(readRecord().agents.size(), 1u);
}

TEST_F(SettingsTest, ListWritersRewriteTheirSectionAndNothingElse)
{
    write("[Cleaving Agents]\r\n0=A:K!\r\n1=B:R!\r\n2=C:E!\r\n3=Stale:W!\r\n[Other]\r\nx=1\r\n");
    ProfileFile f = file();
    f.Update([](ProfileText& text) { SetAgentList(text, 2, {{"Trypsin", "K!;R!"}}); });
    EXPECT_EQ(ReadFile(path()),
              "[Cleaving Agents]\r\n3=Stale:W!\r\n0=Trypsin:K!;R!\r\n[Other]\r\nx=1\r\n");

    f.Update([](ProfileText& text) {
        SetModificationList(text, 0, {{"Phospho", "S,T,Y", 79.98}, {"Tiny", "K", 0.004}});
    });
    EXPECT_EQ(f.ReadString(kModificationsSection, "0", "?"), "Phospho:S,T,Y;80");
    EXPECT_EQ(f.ReadString(kModificationsSection, "1", "?"), "Tiny:K;0.004");

    f.Update([](ProfileText& text) { SetScaleList(text, 0, {{"Flat", {}}}); });
    EXPECT_EQ(f.ReadString(kScalesSection, "0", "?"),
              "Flat;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0");
}

TEST_F(SettingsTest, OptionWritersStoreWhatThePagesConfirm)
{
    ProfileFile f = file();
    f.Update([](ProfileText& text) { SetOutputOptions(text, 2, 14); });
    EXPECT_EQ(f.ReadString(kSetupSection, "Characters per line", "?"), "60");
    EXPECT_EQ(f.ReadString(kSetupSection, "Line Width", "?"), "2");

    AppSettings settings;
    settings.wheelFont.SetFaceName("Courier New");
    settings.wheelFont.lfHeight = -16;
    settings.colours.fill(255);
    f.Update([&](ProfileText& text) { SetWheelOptions(text, settings); });
    AppSettings reread;
    ReadStartupSettings(f, reread, "/");
    EXPECT_EQ(reread.wheelFont, settings.wheelFont);
    EXPECT_EQ(reread.colours, settings.colours);

    PropertyRecord record;
    record.ResetCurrentTables();
    record.pKa[9] = 10.53;
    f.Update([&](ProfileText& text) { SetPKaValues(text, record.pKa); });
    EXPECT_EQ(f.ReadString(kPropertiesSection, "pKa-Values", "?").substr(0, 31),
              "7.4;7;9.25;4;4.4;7;7;6.5;7;10.5");
}

TEST_F(SettingsTest, NonFiniteNumbersAreNotUsedAndEachEntryIsReportedOnce)
{
    std::string nanScale = "0=NaN scale";
    for (int i = 0; i < kResidueSlots; ++i) {
        nanScale += ";nan";
    }
    write("[AA-Properties]\r\npKa-Values=nan;7.5;inf;-inf\r\n"
          "Molecular weights=0;1e999;\r\n[Hydropathy Index]\r\n" +
          nanScale + "\r\n1=Mixed;1;NAN;3;\r\n2=Fine;1;2\r\n");
    PropertyRecord record;
    ProfileFile f = file();
    const std::vector<RefusedSetting> refused = ReadRecordSettings(f, record);

    std::vector<std::string> keys;
    for (const RefusedSetting& entry : refused) {
        keys.push_back(entry.section + "/" + entry.key);
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"AA-Properties/pKa-Values",
                                              "AA-Properties/Molecular weights",
                                              "Hydropathy Index/0", "Hydropathy Index/1"}));
    EXPECT_EQ(record.pKa[0], record.defaultPKa[0]);
    EXPECT_EQ(record.pKa[1], 7.5);
    EXPECT_EQ(record.pKa[2], record.defaultPKa[2]);
    EXPECT_EQ(record.pKa[3], record.defaultPKa[3]);
    EXPECT_EQ(record.residueMass[1], record.defaultResidueMass[1]);
    ASSERT_EQ(record.scales.size(), 3u);
    for (const HYDROPATHYSCALE& scale : record.scales) {
        EXPECT_TRUE(std::all_of(scale.values.begin(), scale.values.end(), [](double value) {
            return std::isfinite(value);
        })) << scale.name;
    }
    EXPECT_EQ(record.scales[1].values[0], 1.0);
    EXPECT_EQ(record.scales[1].values[1], 0.0);
    EXPECT_EQ(record.scales[1].values[2], 3.0);
}

TEST_F(SettingsTest, ModificationMassesThatAreNoUsableNumberAreLeftOutAndReported)
{
    // Read as 0 they would search with a 0 Da modification; other texts that
    // are no plain decimal keep their mass of 0.
    write("[Modifications]\r\n0=Phospho:S,T,Y;79.97\r\n1=NaN:S;nan\r\n2=Inf:S;inf\r\n"
          "3=Huge:S;1e308\r\n4=Beyond:S;1e999\r\n5=Minus:K;-14\r\n6=Text:K;12a\r\n"
          "7=NegInf:K;-INF\r\n8=Acetyl:K;42.01\r\n");
    PropertyRecord record;
    ProfileFile f = file();
    std::vector<std::string> refused;
    for (const RefusedSetting& entry : ReadRecordSettings(f, record)) {
        refused.push_back(entry.section + "/" + entry.key);
    }
    EXPECT_EQ(refused,
              (std::vector<std::string>{"Modifications/1", "Modifications/2", "Modifications/3",
                                        "Modifications/4", "Modifications/7"}));
    std::vector<std::pair<std::string, double>> kept;
    for (const MODIFICATION& modification : record.modifications) {
        kept.emplace_back(modification.name, modification.mw);
    }
    EXPECT_EQ(kept, (std::vector<std::pair<std::string, double>>{
                        {"Phospho", 79.97}, {"Minus", 0.0}, {"Text", 0.0}, {"Acetyl", 42.01}}));
    EXPECT_EQ(msg::RefusedSettingNumber("Modifications", "1"),
              "The setting \"1\" in [Modifications] holds a mass that is not a plain decimal "
              "number; the modification is left out.");
}

TEST_F(SettingsTest, AReaderWritesTheDefaultsAFileLacksInOneReplacementOfIt)
{
    // Each replacement of a file of a million keys costs a write and a sync of
    // all of it: the missing keys go in one, in the places one write per key
    // gave them.
    write("[Setup Options]\r\nLine Width=3\r\n");
    // Each replacement writes a temporary file of its own name beside the file.
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(::inotify_add_watch(watch, m_dir.Path().c_str(), IN_CREATE), 0);
    const auto replacements = [&] {
        int count = 0;
        alignas(inotify_event) char buffer[4096];
        ssize_t length = 0;
        while ((length = ::read(watch, buffer, sizeof buffer)) > 0) {
            for (char* at = buffer; at < buffer + length;) {
                const auto* event = reinterpret_cast<const inotify_event*>(at);
                const std::string name = event->len > 0 ? event->name : "";
                count += name.starts_with(".quorin.ini.") && name.ends_with(".tmp") ? 1 : 0;
                at += sizeof(inotify_event) + event->len;
            }
        }
        return count;
    };
    ProfileFile f = file();
    AppSettings settings;
    ReadStartupSettings(f, settings, "/");
    EXPECT_EQ(replacements(), 1);
    PropertyRecord record;
    ReadRecordSettings(f, record);
    EXPECT_EQ(replacements(), 1);
    ProfileFile again = file();
    ReadStartupSettings(again, settings, "/");
    ReadRecordSettings(again, record);
    EXPECT_EQ(replacements(), 0);
    ::close(watch);

    std::string expected = "[Setup Options]\r\nLine Width=3\r\n";
    for (const char* key : {"Helical Wheel Line Width", "Output Font Size"}) {
        expected += std::string(key) + "=" + f.ReadString(kSetupSection, key, "?") + "\r\n";
    }
    expected += "[AA-Properties]\r\n";
    for (const char* key : {"Colors", "pKa-Values", "Molecular weights",
                            "Molar Absorption (denatured)", "Molar Absorption (native)"}) {
        expected += std::string(key) + "=" + f.ReadString(kPropertiesSection, key, "?") + "\r\n";
    }
    expected += "[Hydropathy Index]\r\n0=" + f.ReadString(kScalesSection, "0", "?") +
                "\r\n1=" + f.ReadString(kScalesSection, "1", "?") + "\r\n";
    EXPECT_EQ(ReadFile(path()), expected);
}

TEST_F(SettingsTest, ConcurrentReadersOfANewFileLoseNoKey)
{
    // Readers write the keys a new file lacks; started together, each must
    // write on what the others left.
    constexpr int kRounds = 6;
    constexpr int kReaders = 12;
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE(round);
        std::filesystem::remove(path());
        int gate[2];
        ASSERT_EQ(::pipe(gate), 0);
        std::vector<pid_t> children;
        for (int i = 0; i < kReaders; ++i) {
            const pid_t child = ::fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                ::close(gate[1]);
                char byte = 0;
                // Blocks until the parent closes its end: all start at once.
                [[maybe_unused]] const auto ignored = ::read(gate[0], &byte, 1);
                ProfileFile f = file();
                AppSettings settings;
                ReadStartupSettings(f, settings, "/start");
                PropertyRecord record;
                ReadRecordSettings(f, record);
                ::_exit(0);
            }
            children.push_back(child);
        }
        ::close(gate[0]);
        ::close(gate[1]);
        for (const pid_t child : children) {
            int status = 0;
            ::waitpid(child, &status, 0);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        }

        const ProfileFile f = file();
        for (const auto& [section, key] : {std::pair{kSetupSection, "Line Width"},
                                           {kSetupSection, "Helical Wheel Line Width"},
                                           {kSetupSection, "Output Font Size"},
                                           {kPropertiesSection, "Colors"},
                                           {kPropertiesSection, "pKa-Values"},
                                           {kPropertiesSection, "Molecular weights"},
                                           {kPropertiesSection, "Molar Absorption (denatured)"},
                                           {kPropertiesSection, "Molar Absorption (native)"},
                                           {kScalesSection, "0"},
                                           {kScalesSection, "1"}}) {
            EXPECT_TRUE(f.Lookup(section, key)) << section << " / " << key;
        }
        // The built-in scales were added once.
        EXPECT_FALSE(f.Lookup(kScalesSection, "2"));
        EXPECT_FALSE(std::filesystem::exists(m_dir / "quorin.ini.lock"));
    }
}

TEST_F(SettingsTest, TheIndexSeesWhatAnotherWriterChanged)
{
    write("[Cleaving Agents]\r\n0=Trypsin:K!;R!\r\n");
    const ProfileFile reader = file();
    ProfileFile writer = file();
    ASSERT_EQ(reader.ReadString(kAgentsSection, "0", "?"), "Trypsin:K!;R!");

    ASSERT_TRUE(writer.WriteString(kAgentsSection, "1", "Lys-C:K!"));
    EXPECT_EQ(reader.ReadString(kAgentsSection, "1", "?"), "Lys-C:K!");
    // An editor that rewrites the file in place is seen too.
    write("[Cleaving Agents]\r\n0=Asp-N:!D\r\n");
    EXPECT_EQ(reader.ReadString(kAgentsSection, "0", "?"), "Asp-N:!D");
    EXPECT_FALSE(reader.Lookup(kAgentsSection, "1"));
}

} // namespace
} // namespace quorin::core
