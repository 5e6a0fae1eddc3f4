#include "save_finder.h"

#include <cstdint>
#include <utility>

#include <sys/stat.h>
#include <sys/types.h>

#ifdef _WIN32
#include <io.h>
#else
#include <dirent.h>
#endif

#ifdef _WIN32
const char kSaveGameFolder[] = ".\\scenarios\\save games\\";
#else
const char kSaveGameFolder[] = "./scenarios/save games/";
#endif

namespace {

constexpr std::string_view kSuffix = ".eug";

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

#ifdef _WIN32

bool QueryModificationTime(const std::string& path, SaveFileTime& mtime) {
  struct _stat64 status {};
  if (_stat64(path.c_str(), &status) != 0) return false;
  mtime = status.st_mtime;
  return true;
}

// Calls `deliver` with the name of every entry of `folder` that the system's "*.eug" wildcard
// matches, in the system's order.
template <typename Deliver>
void EnumerateSaveWildcard(const std::string& folder, Deliver deliver) {
  const std::string pattern = folder + "*.eug";
  __finddata64_t match{};
  const std::intptr_t handle = _findfirst64(pattern.c_str(), &match);
  if (handle == -1) return;
  do {
    deliver(std::string_view(match.name));
  } while (_findnext64(handle, &match) == 0);
  _findclose(handle);
}

#else

bool QueryModificationTime(const std::string& path, SaveFileTime& mtime) {
  struct stat status {};
  if (stat(path.c_str(), &status) != 0) return false;
  mtime = status.st_mtime;
  return true;
}

// The directory API has no wildcards: every entry is read and the "*.eug" wildcard applied here,
// case-insensitive as on Windows, so the byte-exact test still sees what Windows would deliver.
template <typename Deliver>
void EnumerateSaveWildcard(const std::string& folder, Deliver deliver) {
  DIR* directory = opendir(folder.empty() ? "." : folder.c_str());
  if (directory == nullptr) return;
  while (const dirent* entry = readdir(directory)) {
    const std::string_view name(entry->d_name);
    if (MatchesSaveWildcard(name)) deliver(name);
  }
  closedir(directory);
}

#endif

}  // namespace

bool operator<(const SaveFileEntry& a, const SaveFileEntry& b) { return a.mtime < b.mtime; }

bool MatchesSaveWildcard(std::string_view name) {
  if (name.size() < kSuffix.size()) return false;
  const std::string_view tail = name.substr(name.size() - kSuffix.size());
  for (std::size_t i = 0; i < kSuffix.size(); ++i) {
    if (LowerAscii(tail[i]) != kSuffix[i]) return false;
  }
  return true;
}

bool IsSaveFileName(std::string_view name) {
  return name.size() > kSuffix.size() && name.ends_with(kSuffix);
}

SaveFileList ListSaveFiles(const std::string& folder) {
  SaveFileList entries;
  EnumerateSaveWildcard(folder, [&](std::string_view name) {
    if (!IsSaveFileName(name)) return;
    SaveFileEntry entry{folder + std::string(name), 0};
    // A file that vanished or cannot be examined has no time to compare; it is no candidate.
    if (!QueryModificationTime(entry.path, entry.mtime)) return;
    entries.push_back(std::move(entry));
  });
  return entries;
}

std::string OldestSaveFile(SaveFileList& entries) {
  if (entries.empty()) return {};
  // list::sort is a stable merge sort: among equal times the enumeration's order stands.
  entries.sort();
  return entries.front().path;
}

std::string FindSaveGame(const std::string& folder) {
  SaveFileList entries = ListSaveFiles(folder);
  return OldestSaveFile(entries);
}
