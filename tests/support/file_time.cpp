#include "file_time.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#endif

#ifdef _WIN32

bool SetModificationTime(const std::filesystem::path& path, std::int64_t seconds) {
  // FILETIME counts 100 ns steps from 1601; backup semantics let a folder be opened too.
  const HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const std::int64_t ticks = (seconds + 11'644'473'600LL) * 10'000'000LL;
  FILETIME time;
  time.dwLowDateTime = static_cast<DWORD>(static_cast<std::uint64_t>(ticks) & 0xFFFFFFFFu);
  time.dwHighDateTime = static_cast<DWORD>(static_cast<std::uint64_t>(ticks) >> 32);
  const bool set = SetFileTime(file, nullptr, &time, &time) != 0;
  CloseHandle(file);
  return set;
}

bool StatusReportsTimesOutside32Bits() {
  // Wine answers with its own name from ntdll; a Windows system has no such export.
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll == nullptr || GetProcAddress(ntdll, "wine_get_version") == nullptr;
}

#else

bool SetModificationTime(const std::filesystem::path& path, std::int64_t seconds) {
  const timespec times[2] = {{static_cast<time_t>(seconds), 0}, {static_cast<time_t>(seconds), 0}};
  return utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}

bool StatusReportsTimesOutside32Bits() { return true; }

#endif
