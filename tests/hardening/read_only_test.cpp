// Loading, scanning and searching a save must leave every file as it was: saves are opened
// read-only and nothing is written anywhere. The game folder is watched with inotify while the
// sample saves are loaded from it by relative path and their rosters searched and sorted, and its
// entries are compared before and after. The saves are read-only files, which stops a writable open
// wherever the test does not run as root; the watch's close events tell read-only opens from
// writable ones for root too.

#include <gtest/gtest.h>

#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "save/save_scanner.h"
#include "save/save_text.h"
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
  long long modifiedNs = 0;
  unsigned mode = 0;

  bool operator==(const EntryState&) const = default;
};

// Every entry below `root`, the root included.
std::map<std::string, EntryState> Snapshot(const fs::path& root) {
  std::map<std::string, EntryState> entries;
  std::vector<fs::path> paths = {root};
  for (const auto& entry : fs::recursive_directory_iterator(root)) paths.push_back(entry.path());
  for (const fs::path& path : paths) {
    struct stat status {};
    EXPECT_EQ(lstat(path.c_str(), &status), 0) << path;
    EntryState state;
    if (S_ISREG(status.st_mode)) state.content = ReadFileBytes(path);
    state.size = static_cast<std::uintmax_t>(status.st_size);
    state.modifiedNs = status.st_mtim.tv_sec * 1'000'000'000LL + status.st_mtim.tv_nsec;
    state.mode = status.st_mode;
    entries[fs::relative(path, root).string()] = state;
  }
  return entries;
}

// Runs the test body in `folder` as the current directory, as the program runs in the game's folder.
class CurrentDirectory {
 public:
  explicit CurrentDirectory(const fs::path& folder) : previous_(fs::current_path()) {
    fs::current_path(folder);
  }
  ~CurrentDirectory() { fs::current_path(previous_); }
  CurrentDirectory(const CurrentDirectory&) = delete;
  CurrentDirectory& operator=(const CurrentDirectory&) = delete;

 private:
  fs::path previous_;
};

// The inotify events of one folder, by entry name ("" for the folder itself).
class FolderWatch {
 public:
  explicit FolderWatch(const fs::path& folder) : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
    if (fd_ >= 0) watch_ = inotify_add_watch(fd_, folder.c_str(), IN_ALL_EVENTS);
  }
  ~FolderWatch() {
    if (fd_ >= 0) close(fd_);
  }
  FolderWatch(const FolderWatch&) = delete;
  FolderWatch& operator=(const FolderWatch&) = delete;

  bool Watching() const { return fd_ >= 0 && watch_ >= 0; }

  std::map<std::string, std::uint32_t> Events() const {
    std::map<std::string, std::uint32_t> events;
    alignas(inotify_event) char buffer[16 * 1024];
    for (ssize_t length; (length = read(fd_, buffer, sizeof buffer)) > 0;) {
      for (ssize_t at = 0; at < length;) {
        const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
        events[event->len > 0 ? event->name : ""] |= event->mask;
        at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
      }
    }
    return events;
  }

 private:
  int fd_;
  int watch_ = -1;
};

constexpr std::uint32_t kWriteEvents = IN_MODIFY | IN_ATTRIB | IN_CLOSE_WRITE | IN_CREATE |
                                       IN_DELETE | IN_DELETE_SELF | IN_MOVED_FROM | IN_MOVED_TO |
                                       IN_MOVE_SELF;

TEST(ReadOnly, LoadScanAndSearchWriteNothingAndOpenSavesReadOnly) {
  TempFolder game;
  for (const char* save : kSaves) {
    const fs::path file = game.Write(kSaveFolder / save, ReadFileBytes(kSampleDir / save));
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  }
  const CurrentDirectory inGame(game.Path());
  const auto before = Snapshot(game.Path());
  const FolderWatch gameWatch(game.Path());
  const FolderWatch saveWatch(game.Path() / kSaveFolder);
  ASSERT_TRUE(gameWatch.Watching());
  ASSERT_TRUE(saveWatch.Watching());

  for (const char* save : kSaves) {
    SCOPED_TRACE(save);
    SaveText text = LoadSaveText((kSaveFolder / save).c_str());
    ASSERT_NE(text, nullptr);
    Roster roster;
    ScanSave(text, roster);
    RosterRows rows;
    SearchRoster(rows, roster, SearchCriteria{0, 100, 0, 0, 0});
    EXPECT_GT(rows.GetItemCount(), 0);
    for (std::int32_t column = 0; column < RosterRows::kColumnCount; ++column) {
      ClickRosterColumn(rows, roster, column);
    }
    ReleaseSaveText(text);
  }

  const auto saveEvents = saveWatch.Events();
  for (const char* save : kSaves) {
    const auto events = saveEvents.find(save);
    ASSERT_NE(events, saveEvents.end()) << save << " was never opened";
    EXPECT_TRUE(events->second & IN_CLOSE_NOWRITE) << save << " was not opened read-only";
  }
  for (const auto& [name, mask] : saveEvents) EXPECT_EQ(mask & kWriteEvents, 0u) << name;
  for (const auto& [name, mask] : gameWatch.Events()) EXPECT_EQ(mask & kWriteEvents, 0u) << name;
  EXPECT_TRUE(before == Snapshot(game.Path()));
}

}  // namespace
