// Loading, scanning and searching a save must leave every file as it was: saves are opened
// read-only and nothing is written anywhere. The game folder is watched while the sample saves are
// loaded from it by relative path and their rosters searched and sorted, and its entries are
// compared before and after. The saves are read-only files, which stops a writable open wherever
// the test does not run as root; where the system reports opens (Linux), the watch's close events
// tell read-only opens from writable ones for root too.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "save/save_scanner.h"
#include "save/save_text.h"
#include "support/current_directory.h"
#include "support/folder_watch.h"
#include "support/temp_folder.h"
#include "ui/roster_query.h"
#include "ui/roster_rows.h"

namespace {

namespace fs = std::filesystem;

const fs::path kSampleDir = PELLARIN_SAMPLE_DIR;
const fs::path kSaveFolder = fs::path("scenarios") / "save games";
const char* const kSaves[] = {"1200_france.eug", "1187_jerusalem.eug", "1066_england_utf16.eug"};

struct EntryState {
  std::string content;  // empty for a folder
  std::uintmax_t size = 0;
  fs::file_time_type modified;
  fs::perms permissions = fs::perms::none;

  bool operator==(const EntryState&) const = default;
};

// Every entry below `root`, the root included.
std::map<std::string, EntryState> Snapshot(const fs::path& root) {
  std::map<std::string, EntryState> entries;
  std::vector<fs::path> paths = {root};
  for (const auto& entry : fs::recursive_directory_iterator(root)) paths.push_back(entry.path());
  for (const fs::path& path : paths) {
    EntryState state;
    const fs::file_status status = fs::symlink_status(path);
    if (fs::is_regular_file(status)) {
      state.content = ReadFileBytes(path);
      state.size = fs::file_size(path);
    }
    state.modified = fs::last_write_time(path);
    state.permissions = status.permissions();
    entries[fs::relative(path, root).string()] = state;
  }
  return entries;
}

TEST(ReadOnly, LoadScanAndSearchWriteNothingAndOpenSavesReadOnly) {
  TempFolder game;
  for (const char* save : kSaves) {
    const fs::path file = game.Write(kSaveFolder / save, ReadFileBytes(kSampleDir / save));
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  }
  const CurrentDirectoryGuard inGame(game.Path());
  const auto before = Snapshot(game.Path());
  const FolderWatch gameWatch(game.Path());
  const FolderWatch saveWatch(game.Path() / kSaveFolder);
  ASSERT_TRUE(gameWatch.Watching());
  ASSERT_TRUE(saveWatch.Watching());

  for (const char* save : kSaves) {
    SCOPED_TRACE(save);
    const SaveTextOwner text(LoadSaveText((kSaveFolder / save).string().c_str()));
    ASSERT_NE(text, nullptr);
    Roster roster;
    ScanSave(text.get(), roster);
    RosterRows rows;
    SearchRoster(rows, roster, SearchCriteria{0, 100, kGenderAll, kReligionAll, kMaritalAll});
    EXPECT_GT(rows.GetItemCount(), 0);
    for (std::int32_t column = 0; column < RosterRows::kColumnCount; ++column) {
      ClickRosterColumn(rows, roster, column);
    }
  }

  const auto saveEvents = saveWatch.Events();
  for (const char* save : kSaves) {
    if (!FolderWatch::kSeesOpens) break;
    const auto events = saveEvents.find(save);
    ASSERT_NE(events, saveEvents.end()) << save << " was never opened";
    EXPECT_TRUE(events->second & FolderWatch::kClosedUnwritten) << save << " was not opened read-only";
  }
  for (const auto& [name, mask] : saveEvents) EXPECT_EQ(mask & FolderWatch::kWritten, 0u) << name;
  for (const auto& [name, mask] : gameWatch.Events()) EXPECT_EQ(mask & FolderWatch::kWritten, 0u) << name;
  EXPECT_TRUE(before == Snapshot(game.Path()));
}

}  // namespace
