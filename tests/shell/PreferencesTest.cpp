#include "shell/Preferences.h"

#include "core/TestFiles.h"

#include <gtest/gtest.h>

#include <variant>

namespace quorin::shell {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

/// The message of a refused entry, or what was stored.
template <typename Entry>
std::string outcome(const std::variant<Entry, EntryProblem>& checked)
{
    if (const auto* problem = std::get_if<EntryProblem>(&checked)) {
        return "refused: " + problem->message;
    }
    return "stored: " + std::get<Entry>(checked).specificity;
}

TEST(PreferencesTest, PageChecksAcceptAndRefuseAsTheFieldsAreTyped)
{
    struct Row
    {
        const char* specificity;
        std::string agent;
        std::string modification;
    };
    const Row rows[] = {
        {"k!;r!", "stored: K!;R!", "refused: ! is not a valid amino acid !"},
        {"KB", "refused: B is not a valid amino acid !", "refused: B is not a valid amino acid !"},
        {"S,T;Y", "refused: , is not a valid amino acid !", "stored: S,T;Y"},
        {"Kä", "refused: ä is not a valid amino acid !", "refused: ä is not a valid amino acid !"},
        {"ACDEFGHIKLMNPQRSTVWYXO", "stored: ACDEFGHIKLMNPQRSTVW", "stored: ACDEFGHIKLMNPQRSTVWYXO"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.specificity);
        EXPECT_EQ(outcome(CheckAgent("Trypsin", row.specificity)), row.agent);
        EXPECT_EQ(outcome(CheckModification("Phospho", row.specificity, "80")), row.modification);
    }

    EXPECT_EQ(outcome(CheckModification("P", "S", "79,97")),
              "refused: Enter a valid number as weight !");
    EXPECT_EQ(std::get<core::MODIFICATION>(CheckModification("P", "S", "79.97")).mw, 79.97);

    EXPECT_EQ(ReadPKa("14"), 14.0);
    EXPECT_EQ(ReadPKa(" 0.5 "), 0.5);
    for (const char* refused : {"14.01", "0", "-1", "abc", "7,5", ""}) {
        SCOPED_TRACE(refused);
        EXPECT_FALSE(ReadPKa(refused));
    }

    EXPECT_TRUE(IsScaleValueText("-3.5"));
    EXPECT_FALSE(IsScaleValueText("-3,5"));

    EXPECT_EQ(AcceptedSize("12", 2, 20), 12);
    EXPECT_FALSE(AcceptedSize("1", 2, 20));
    EXPECT_FALSE(AcceptedSize("21", 2, 20));
    EXPECT_FALSE(AcceptedSize("1x", 1, 10));
    EXPECT_EQ(core::CharsPerLine(12), 70);
    EXPECT_EQ(core::CharsPerLine(9), 100);

    EXPECT_EQ(PKaText(10.53), "10.5");
    EXPECT_EQ(WeightText(79.966), "80");
    EXPECT_EQ(WeightText(1234.56), "1234.6");
    EXPECT_EQ(WeightText(0.0), "");
}

TEST(PreferencesTest, AConfirmationWritesItsKeysInOneReplacementOrNotAtAll)
{
    TempDir dir;
    WriteFile(dir / "quorin.ini", "[Cleaving Agents]\r\n0=Old:K\r\n1=Gone:R\r\n2=Stray:W\r\n"
                                  "[Keep]\r\nx=1\r\n");
    core::ProfileFile file(dir / "quorin.ini");
    core::PropertyRecord record;
    record.agents = {{"Old", "K"}};

    PreferenceChanges changes;
    changes.agents = std::vector<core::ENZYME>{{"Trypsin", "K!;R!"}};
    changes.output = PreferenceChanges::Output{12, 2};
    changes.workingDirectory = "/data";
    ASSERT_TRUE(WritePreferences(file, changes, &record));
    // The stray key beyond the record's list goes with the section's old keys.
    EXPECT_EQ(ReadFile(dir / "quorin.ini"),
              "[Cleaving Agents]\r\n0=Trypsin:K!;R!\r\n[Keep]\r\nx=1\r\n"
              "[Setup Options]\r\nWorking Directory=/data\r\nOutput Font Size=12\r\n"
              "Characters per line=70\r\nLine Width=2\r\n");

    core::AppSettings settings;
    ApplyPreferences(changes, settings, &record);
    EXPECT_EQ(settings.charsPerLine, 70);
    EXPECT_EQ(record.agents.size(), 1u);

    core::ProfileFile unwritable(dir / "missing" / "quorin.ini");
    EXPECT_FALSE(WritePreferences(unwritable, changes, &record));
}

TEST(PreferencesTest, TheSettingsFileIsCopiedAndReadBackOrNotAtAll)
{
    TempDir dir;
    std::filesystem::create_directory(dir / "old");
    std::filesystem::create_directory(dir / "new");
    WriteFile(dir / "old" / "quorin.ini", "[Setup Options]\r\nLine Width=3\r\n");
    ASSERT_TRUE(CopySettingsFile(dir / "old" / "quorin.ini", dir / "new"));
    EXPECT_EQ(ReadFile(dir / "new" / "quorin.ini"), "[Setup Options]\r\nLine Width=3\r\n");

    // A folder in the way of the copy: refused, and the original stays.
    std::filesystem::create_directories(dir / "blocked" / "quorin.ini");
    const core::FileStatus blocked = CopySettingsFile(dir / "old" / "quorin.ini", dir / "blocked");
    EXPECT_FALSE(blocked);
    EXPECT_FALSE(blocked.Error().empty());
    EXPECT_EQ(ReadFile(dir / "old" / "quorin.ini"), "[Setup Options]\r\nLine Width=3\r\n");

    EXPECT_TRUE(CopySettingsFile(dir / "none.ini", dir / "new"));
}

} // namespace
} // namespace quorin::shell
