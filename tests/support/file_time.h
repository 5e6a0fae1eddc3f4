#pragma once

#include <cstdint>
#include <filesystem>

// Sets the modification time of a file or folder to `seconds` since 1970-01-01 00:00:00 UTC
// (negative before it). False when the file system refuses it.
bool SetModificationTime(const std::filesystem::path& path, std::int64_t seconds);

// Whether this platform's file-status query reports times before 1970 and after January 2038 as
// they were set. Wine's does not: it gives 0 for them.
bool StatusReportsTimesOutside32Bits();
