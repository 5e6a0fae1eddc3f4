#include "output_file.h"

#include <algorithm>
#include <cerrno>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <windows.h>

#include "system_names.h"
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#endif

namespace {

constexpr std::string_view kSaveEnding = ".eug";

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EndsWithSaveEnding(std::string_view name) {
  while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.remove_suffix(1);
  if (name.size() < kSaveEnding.size()) return false;
  return std::equal(kSaveEnding.begin(), kSaveEnding.end(), name.end() - kSaveEnding.size(),
                    [](char ending, char c) { return ending == LowerAscii(c); });
}

// A few tries at a name that no other file has, should an earlier run have left one behind.
constexpr int kTemporaryNameTries = 100;

std::string TemporaryName(const std::string& name, unsigned long process, int attempt) {
  return name + "." + std::to_string(process) + "-" + std::to_string(attempt) + ".tmp";
}

#ifdef _WIN32

std::string LastErrorText() {
  const DWORD code = GetLastError();
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring message(text != nullptr ? text : L"", length);
  LocalFree(text);
  while (!message.empty() && (message.back() == L'\r' || message.back() == L'\n' ||
                              message.back() == L' ' || message.back() == L'.')) {
    message.pop_back();
  }
  return message.empty() ? "error " + std::to_string(code) : Utf8FromWide(message);
}

bool QueryIdentity(const std::string& name, BY_HANDLE_FILE_INFORMATION& info) {
  // No access asked for: only the file's identity is read, and a folder opens too.
  const HANDLE file = CreateFileW(WideFromUtf8(name).c_str(), 0,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool known = GetFileInformationByHandle(file, &info) != 0;
  CloseHandle(file);
  return known;
}

bool WriteAll(HANDLE file, std::string_view contents) {
  while (!contents.empty()) {
    const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(contents.size(), 1u << 30));
    DWORD written = 0;
    if (!WriteFile(file, contents.data(), piece, &written, nullptr) || written == 0) return false;
    contents.remove_prefix(written);
  }
  return true;
}

#else

std::string LastErrorText() { return std::generic_category().message(errno); }

bool WriteAll(int file, std::string_view contents) {
  while (!contents.empty()) {
    const ssize_t written = write(file, contents.data(), contents.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    contents.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

#endif

}  // namespace

bool HasSaveEnding(std::string_view name) {
  const std::size_t separator = name.find_last_of("/\\");
  std::string_view last = separator == std::string_view::npos ? name : name.substr(separator + 1);
  // Each part between colons: "C:x.eug" is a drive's folder and "x.eug:list" a stream.
  for (std::size_t colon; (colon = last.find(':')) != std::string_view::npos;
       last.remove_prefix(colon + 1)) {
    if (EndsWithSaveEnding(last.substr(0, colon))) return true;
  }
  return EndsWithSaveEnding(last);
}

#ifdef _WIN32

std::string ReplacedFile(const std::string& name) { return name; }

bool IsSameFile(const std::string& first, const std::string& second) {
  BY_HANDLE_FILE_INFORMATION a{};
  BY_HANDLE_FILE_INFORMATION b{};
  return QueryIdentity(first, a) && QueryIdentity(second, b) &&
         a.dwVolumeSerialNumber == b.dwVolumeSerialNumber &&
         a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
}

bool ReplaceFileWith(const std::string& name, std::string_view contents, std::string& error) {
  std::wstring temporary;
  HANDLE file = INVALID_HANDLE_VALUE;
  for (int attempt = 0; file == INVALID_HANDLE_VALUE && attempt < kTemporaryNameTries; ++attempt) {
    temporary = WideFromUtf8(TemporaryName(name, GetCurrentProcessId(), attempt));
    file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) break;
  }
  if (file == INVALID_HANDLE_VALUE) {
    error = LastErrorText();
    return false;
  }
  bool done = WriteAll(file, contents);
  if (!done) error = LastErrorText();
  if (!CloseHandle(file) && done) {
    done = false;
    error = LastErrorText();
  }
  if (done &&
      !MoveFileExW(temporary.c_str(), WideFromUtf8(name).c_str(), MOVEFILE_REPLACE_EXISTING)) {
    done = false;
    error = LastErrorText();
  }
  if (!done) DeleteFileW(temporary.c_str());
  return done;
}

#else

std::string ReplacedFile(const std::string& name) {
  char* resolved = realpath(name.c_str(), nullptr);
  if (resolved == nullptr) return name;
  std::string target = resolved;
  std::free(resolved);
  return target;
}

bool IsSameFile(const std::string& first, const std::string& second) {
  struct stat a {};
  struct stat b {};
  return stat(first.c_str(), &a) == 0 && stat(second.c_str(), &b) == 0 && a.st_dev == b.st_dev &&
         a.st_ino == b.st_ino;
}

bool ReplaceFileWith(const std::string& name, std::string_view contents, std::string& error) {
  const std::string target = ReplacedFile(name);
  // A device or a pipe is never renamed over: as root that would put a file in its place.
  struct stat status {};
  if (stat(target.c_str(), &status) == 0 && !S_ISREG(status.st_mode)) {
    error = S_ISDIR(status.st_mode) ? "it is a folder" : "it is not a regular file";
    return false;
  }
  std::string temporary;
  int file = -1;
  for (int attempt = 0; file < 0 && attempt < kTemporaryNameTries; ++attempt) {
    temporary = TemporaryName(target, static_cast<unsigned long>(getpid()), attempt);
    file = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (file < 0 && errno != EEXIST) break;
  }
  if (file < 0) {
    error = LastErrorText();
    return false;
  }
  bool done = WriteAll(file, contents);
  if (!done) error = LastErrorText();
  if (close(file) != 0 && done) {
    done = false;
    error = LastErrorText();
  }
  if (done && rename(temporary.c_str(), target.c_str()) != 0) {
    done = false;
    error = LastErrorText();
  }
  if (!done) unlink(temporary.c_str());
  return done;
}

#endif
