#include "core/RecentFileList.h"

#include "core/TestFiles.h"

#include <gtest/gtest.h>

namespace quorin::core {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

TEST(RecentFileListTest, NewestFirstWithoutDuplicatesAndAtMostFour)
{
    RecentFileList list;
    for (const char* path : {"/a.pep", "/b.pep", "/c.pep", "/a.pep", "/d.pep", "/e.pep"}) {
        list.Add(path);
    }
    EXPECT_EQ(list.Entries(), (std::vector<std::string>{"/e.pep", "/d.pep", "/a.pep", "/c.pep"}));
    list.Remove("/d.pep");
    list.Add("");
    EXPECT_EQ(list.Entries(), (std::vector<std::string>{"/e.pep", "/a.pep", "/c.pep"}));
}

TEST(RecentFileListTest, TheSettingsFileListsExactlyWhatTheMenuShows)
{
    TempDir dir;
    WriteFile(dir / "quorin.ini", "[Recent File List]\r\nFile1=/x.pep\r\nFile2=\r\nFile3=/y.pep\r\n"
                                  "File4=/x.pep\r\n[Other]\r\nFile5=keep\r\n");
    ProfileFile file(dir / "quorin.ini");
    RecentFileList list;
    list.Read(file);
    EXPECT_EQ(list.Entries(), (std::vector<std::string>{"/x.pep", "/y.pep"}));

    list.Add("/z.pep");
    list.Write(file);
    EXPECT_EQ(file.ReadString("Recent File List", "File1", "?"), "/z.pep");
    EXPECT_EQ(file.ReadString("Recent File List", "File2", "?"), "/x.pep");
    EXPECT_EQ(file.ReadString("Recent File List", "File3", "?"), "/y.pep");
    EXPECT_FALSE(file.Lookup("Recent File List", "File4"));
    EXPECT_EQ(file.ReadString("Other", "File5", "?"), "keep");

    RecentFileList again;
    again.Read(file);
    EXPECT_EQ(again.Entries(), list.Entries());
}

} // namespace
} // namespace quorin::core
