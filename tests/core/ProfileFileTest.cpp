#include "core/ProfileFile.h"

#include "core/TestFiles.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace quorin::core {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

TEST(ProfileFileTest, MissingFileReadsEmptyAndTheFirstWriteCreatesIt)
{
    TempDir dir;
    ProfileFile file(dir / "quorin.ini");
    EXPECT_FALSE(file.Lookup("Setup Options", "Line Width"));
    EXPECT_EQ(file.ReadString("Setup Options", "Line Width", "?"), "?");
    EXPECT_EQ(file.ReadInt("Setup Options", "Line Width", 7), 7);
    EXPECT_FALSE(std::filesystem::exists(dir / "quorin.ini"));

    ASSERT_TRUE(file.WriteInt("Setup Options", "Line Width", 2));
    EXPECT_EQ(ReadFile(dir / "quorin.ini"), "[Setup Options]\r\nLine Width=2\r\n");
}

TEST(ProfileFileTest, SectionsAndKeysIgnoreCaseAndValuesAreTrimmed)
{
    TempDir dir;
    WriteFile(dir / "a.ini", "[setup OPTIONS]\nline width =  3  \nName=\"  quoted  \"\n");
    ProfileFile file(dir / "a.ini");
    EXPECT_EQ(file.ReadString("Setup Options", "Line Width", "?"), "3");
    EXPECT_EQ(file.ReadString("SETUP options", "name", "?"), "  quoted  ");
    EXPECT_EQ(file.ReadInt("Setup Options", "Line Width", 0), 3);
}

TEST(ProfileFileTest, AByteOrderMarkIsNoPartOfTheFirstSectionAndStaysOnWrite)
{
    TempDir dir;
    WriteFile(dir / "a.ini", "\xEF\xBB\xBF[Setup Options]\r\nLine Width=3\r\n");
    ProfileFile file(dir / "a.ini");
    EXPECT_EQ(file.ReadInt("Setup Options", "Line Width", 0), 3);
    ASSERT_TRUE(file.WriteInt("Setup Options", "Line Width", 2));
    EXPECT_EQ(ReadFile(dir / "a.ini"), "\xEF\xBB\xBF[Setup Options]\r\nLine Width=2\r\n");
}

TEST(ProfileFileTest, IntegersReadTheLeadingNumberAndZeroForText)
{
    TempDir dir;
    WriteFile(dir / "a.ini", "[S]\na=-13\nb=12px\nc=abc\nd=\n");
    ProfileFile file(dir / "a.ini");
    EXPECT_EQ(file.ReadInt("S", "a", 5), -13);
    EXPECT_EQ(file.ReadInt("S", "b", 5), 12);
    EXPECT_EQ(file.ReadInt("S", "c", 5), 0);
    EXPECT_EQ(file.ReadInt("S", "d", 5), 0);
    EXPECT_EQ(file.ReadInt("S", "e", 5), 5);
}

TEST(ProfileFileTest, WritesKeepEveryOtherLineByteForByte)
{
    TempDir dir;
    const std::string before = "; my notes\n[Other]\nkeep = me\n\n[Setup Options]\nLine Width=1\n"
                               "Colour=red\n\n[Tail]\nx=1";
    WriteFile(dir / "a.ini", before);
    ProfileFile file(dir / "a.ini");

    ASSERT_TRUE(file.WriteString("setup options", "LINE WIDTH", "4"));
    EXPECT_EQ(ReadFile(dir / "a.ini"),
              "; my notes\n[Other]\nkeep = me\n\n[Setup Options]\nLine Width=4\n"
              "Colour=red\n\n[Tail]\nx=1");

    ASSERT_TRUE(file.WriteString("Setup Options", "New Key", "v"));
    EXPECT_EQ(ReadFile(dir / "a.ini"),
              "; my notes\n[Other]\nkeep = me\n\n[Setup Options]\nLine Width=4\n"
              "Colour=red\nNew Key=v\r\n\n[Tail]\nx=1");

    ASSERT_TRUE(file.WriteString("Fresh", "k", "1"));
    EXPECT_EQ(ReadFile(dir / "a.ini"),
              "; my notes\n[Other]\nkeep = me\n\n[Setup Options]\nLine Width=4\n"
              "Colour=red\nNew Key=v\r\n\n[Tail]\nx=1\r\n[Fresh]\r\nk=1\r\n");
}

TEST(ProfileFileTest, WritingNoValueDeletesTheKeyOnly)
{
    TempDir dir;
    WriteFile(dir / "a.ini", "[Cleaving Agents]\r\n0=Trypsin:K!;R!\r\n1=Lys-C:K!\r\n");
    ProfileFile file(dir / "a.ini");
    ASSERT_TRUE(file.DeleteKey("Cleaving Agents", "0"));
    ASSERT_TRUE(file.DeleteKey("Cleaving Agents", "7"));
    EXPECT_EQ(ReadFile(dir / "a.ini"), "[Cleaving Agents]\r\n1=Lys-C:K!\r\n");
    EXPECT_FALSE(file.Lookup("Cleaving Agents", "0"));
}

TEST(ProfileFileTest, FirstDuplicateWinsAndValuesMayHoldEqualSigns)
{
    TempDir dir;
    WriteFile(dir / "a.ini", "[S]\nk=first=1\nk=second\n[S]\nk=third\n");
    ProfileFile file(dir / "a.ini");
    EXPECT_EQ(file.ReadString("S", "k", "?"), "first=1");
    ASSERT_TRUE(file.DeleteKey("s", "K"));
    EXPECT_EQ(file.ReadString("S", "k", "?"), "second");
}

TEST(ProfileFileTest, AfterAWriteTheIndexReadsWhatTheFileHolds)
{
    // The writer keeps its index instead of parsing the file again; where a
    // reader splits a written line differently, it must read as a reader does.
    const struct
    {
        std::string section;
        std::string key;
        std::string value;
        std::string probeSection;
        std::string probeKey;
        std::optional<std::string> read;
    } rows[] = {
        {"S", "k", "plain", "S", "k", "plain"},
        {"S", "k", "a\r\nb=c", "S", "b", "c"},
        {"S", "x=y", "1", "S", "x", "y=1"},
        {"S", " padded", "2", "S", "padded", "2"},
        {"S", ";note", "3", "S", ";note", std::nullopt},
        {"T]x", "k", "4", "T", "k", "4"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.key + " = " + row.value);
        TempDir dir;
        WriteFile(dir / "a.ini", "[S]\r\nold=1\r\n");
        ProfileFile writer(dir / "a.ini");
        ASSERT_TRUE(writer.WriteString(row.section, row.key, row.value));
        EXPECT_EQ(writer.Lookup(row.probeSection, row.probeKey), row.read);
        EXPECT_EQ(ProfileFile(dir / "a.ini").Lookup(row.probeSection, row.probeKey), row.read);
    }
}

TEST(ProfileFileTest, FailedWriteLeavesTheFileAndReportsFalse)
{
    TempDir dir;
    ProfileFile file(dir / "missing-dir" / "a.ini");
    EXPECT_FALSE(file.WriteInt("S", "k", 1));
    EXPECT_FALSE(std::filesystem::exists(dir / "missing-dir"));
}

} // namespace
} // namespace quorin::core
