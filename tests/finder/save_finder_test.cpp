#include "finder/save_finder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/file_time.h"
#include "support/entry_without_status.h"
#include "support/temp_folder.h"

namespace {

// A fresh folder of its own for each test, removed afterwards.
class SaveFinder : public ::testing::Test {
 protected:
  // Creates `name` in the folder with the given modification time.
  void Make(const std::string& name, SaveFileTime mtime) {
    SetTime(temp_.Write(name, "save"), mtime);
  }
  void MakeFolder(const std::string& name, SaveFileTime mtime) {
    ASSERT_TRUE(std::filesystem::create_directory(temp_.Path() / name));
    SetTime(temp_.Path() / name, mtime);
  }
  static void SetTime(const std::filesystem::path& path, SaveFileTime mtime) {
    ASSERT_TRUE(SetModificationTime(path, mtime)) << path;
  }

  TempFolder temp_;
  // The folder text as the finder takes it, with its trailing separator.
  const std::string root_ = temp_.Path().string();
  const std::string folder_ = root_ + "/";
};

std::vector<std::string> Paths(const SaveFileList& entries) {
  std::vector<std::string> paths;
  for (const SaveFileEntry& entry : entries) paths.push_back(entry.path);
  return paths;
}

}  // namespace

TEST(SaveFileNames, WildcardIgnoresCaseAndTheExactTestDoesNot) {
  for (const char* name : {"a.eug", "SAVE.EUG", "Save.Eug", ".eug", ".EUG"}) {
    EXPECT_TRUE(MatchesSaveWildcard(name)) << name;
  }
  for (const char* name : {"", ".", "..", "eug", "a.eugx", "a_eug", "a.eu"}) {
    EXPECT_FALSE(MatchesSaveWildcard(name)) << name;
  }
  EXPECT_TRUE(IsSaveFileName("x.eug"));
  EXPECT_TRUE(IsSaveFileName("..eug"));
  EXPECT_FALSE(IsSaveFileName(".eug"));
  EXPECT_FALSE(IsSaveFileName("SAVE.EUG"));
  EXPECT_FALSE(IsSaveFileName("save.Eug"));
  EXPECT_FALSE(IsSaveFileName("save.eug "));
}

TEST(OldestSaveFile, TiesGoToTheFirstInEnumerationOrder) {
  SaveFileList entries{{"d/c.eug", 9}, {"d/b.eug", 5}, {"d/a.eug", 5}, {"d/z.eug", 7}};
  EXPECT_EQ(OldestSaveFile(entries), "d/b.eug");
  // Sorted by time, equal times in their first order.
  EXPECT_EQ(Paths(entries), (std::vector<std::string>{"d/b.eug", "d/a.eug", "d/z.eug", "d/c.eug"}));
  SaveFileList reversed{{"d/a.eug", 5}, {"d/b.eug", 5}};
  EXPECT_EQ(OldestSaveFile(reversed), "d/a.eug");
  SaveFileList none;
  EXPECT_EQ(OldestSaveFile(none), "");
}

TEST_F(SaveFinder, MissingFolderGivesNothing) {
  Make("plain.txt", 1);
  EXPECT_EQ(FindSaveGame(folder_ + "no such folder/"), "");
  EXPECT_EQ(FindSaveGame(folder_ + "plain.txt/"), "");
}

TEST_F(SaveFinder, OneCandidateIsJoinedToTheFolderTextAsGiven) {
  Make("a.eug", 100);
  EXPECT_EQ(FindSaveGame(folder_), folder_ + "a.eug");
  const std::string roundabout = root_ + "/./";
  EXPECT_EQ(FindSaveGame(roundabout), roundabout + "a.eug");
}

TEST_F(SaveFinder, OldestOfThreeWins) {
  Make("first.eug", 300);
  Make("second.eug", 100);
  Make("third.eug", 200);
  Make("older.txt", 1);
  EXPECT_EQ(FindSaveGame(folder_), folder_ + "second.eug");
}

TEST_F(SaveFinder, EqualTimesGoToTheFirstEnumerated) {
  for (const char* name : {"m.eug", "b.eug", "x.eug", "k.eug"}) Make(name, 500);
  Make("newer.eug", 600);
  const SaveFileList listed = ListSaveFiles(folder_);
  ASSERT_EQ(listed.size(), 5u);
  std::string firstOldest;
  for (const SaveFileEntry& entry : listed) {
    if (entry.mtime == 500) {
      firstOldest = entry.path;
      break;
    }
  }
  EXPECT_EQ(FindSaveGame(folder_), firstOldest);
}

TEST_F(SaveFinder, OnlyExactLowerCaseSuffixesOfFiveBytesOrMore) {
  Make(".eug", 1);
  Make("SAVE.EUG", 2);
  Make("save.Eug", 3);
  Make("game.eugx", 4);
  EXPECT_EQ(FindSaveGame(folder_), "");
  Make("x.eug", 50);
  EXPECT_EQ(FindSaveGame(folder_), folder_ + "x.eug");
}

TEST_F(SaveFinder, SubFolderWithASaveNameIsACandidate) {
  Make("b.eug", 200);
  MakeFolder("a.eug", 100);
  EXPECT_EQ(FindSaveGame(folder_), folder_ + "a.eug");
  SetTime(temp_.Path() / "a.eug", 300);
  EXPECT_EQ(FindSaveGame(folder_), folder_ + "b.eug");
}

TEST_F(SaveFinder, CandidateWithoutStatusIsSkipped) {
  ASSERT_TRUE(MakeEntryWithoutStatus(temp_.Path(), "gone.eug"));
  EXPECT_EQ(FindSaveGame(folder_), "");
  Make("kept.eug", 1000);
  EXPECT_EQ(Paths(ListSaveFiles(folder_)), std::vector<std::string>{folder_ + "kept.eug"});
}

TEST_F(SaveFinder, TimesBefore1970AndAfter2038KeepTheirOrder) {
  constexpr SaveFileTime kPast2038 = SaveFileTime{1} << 32;  // 2106, would wrap to 0 in 32 bits
  constexpr SaveFileTime kBefore1970 = -86400 * 365;
  Make("late.eug", kPast2038);
  Make("y2038.eug", 2147483647);
  if (!StatusReportsTimesOutside32Bits()) {
    GTEST_SKIP() << "this system's file status reports no time past 2038 or before 1970";
  }
  const SaveFileList listed = ListSaveFiles(folder_);
  ASSERT_EQ(listed.size(), 2u);
  for (const SaveFileEntry& entry : listed) {
    if (entry.path == folder_ + "late.eug" && entry.mtime != kPast2038) {
      GTEST_SKIP() << "this file system cannot hold a time past 2038";
    }
  }
  EXPECT_EQ(FindSaveGame(folder_), folder_ + "y2038.eug");
  Make("early.eug", kBefore1970);
  EXPECT_EQ(FindSaveGame(folder_), folder_ + "early.eug");
}
