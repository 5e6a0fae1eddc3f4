#pragma once

#include <ctime>
#include <list>
#include <string>
#include <string_view>

// Modification times in the platform's 64-bit time type, so that no time after January 2038
// wraps around to one before 1970.
#ifdef _WIN32
using SaveFileTime = __time64_t;
#else
using SaveFileTime = std::time_t;
#endif
static_assert(sizeof(SaveFileTime) >= 8, "modification times need 64 bits");

// The folder that the automatic load searches, relative to the current directory, with its
// trailing separator: the finder joins folder and file name with nothing between.
extern const char kSaveGameFolder[];

// One candidate save file.
struct SaveFileEntry {
  std::string path;  // the caller's folder text followed directly by the file name
  SaveFileTime mtime = 0;
};

// Orders candidates by modification time alone; entries with equal times are equivalent.
bool operator<(const SaveFileEntry& a, const SaveFileEntry& b);

// The candidates of one search, in the order the folder enumeration delivered them.
using SaveFileList = std::list<SaveFileEntry>;

// The platform's wildcard "*.eug": the name ends in ".eug" in any mix of upper and lower case.
bool MatchesSaveWildcard(std::string_view name);

// The test that decides which delivered names are candidates: at least five bytes, the last four
// exactly ".eug" (so "SAVE.EUG" and ".eug" are not).
bool IsSaveFileName(std::string_view name);

// Every candidate in `folder` (which ends with a separator, or is empty for the current
// directory) with its modification time, in enumeration order. A folder that cannot be read
// gives none; a candidate whose status cannot be had is left out.
SaveFileList ListSaveFiles(const std::string& folder);

// The path of the entry with the earliest modification time, the first of them in the list when
// several share it; the empty string for an empty list. Sorts the list by time, stably.
std::string OldestSaveFile(SaveFileList& entries);

// The path of the oldest save file in `folder`, or the empty string when it holds none or cannot
// be searched. Reads no file contents and changes nothing on disk.
std::string FindSaveGame(const std::string& folder);
