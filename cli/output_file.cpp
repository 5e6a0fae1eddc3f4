#include "output_file.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
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

// The type of the existing file `name` (FILE_TYPE_DISK for a file or a folder, whose identity
// goes to `info`); FILE_TYPE_UNKNOWN when there is none.
DWORD QueryIdentity(const std::string& name, BY_HANDLE_FILE_INFORMATION& info) {
  // No access asked for: only the file's identity is read, and a folder opens too.
  const HANDLE file = CreateFileW(WideFromUtf8(name).c_str(), 0,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return FILE_TYPE_UNKNOWN;
  DWORD type = GetFileType(file);
  if (type == FILE_TYPE_DISK && GetFileInformationByHandle(file, &info) == 0) {
    type = FILE_TYPE_UNKNOWN;
  }
  CloseHandle(file);
  return type;
}

// Whether the last part of `name` is one of the devices that every folder holds: "NUL",
// "con.txt" and "COM1 " name devices, not files, whatever the folder and the ending.
bool IsDeviceName(std::string_view name) {
  const std::size_t separator = name.find_last_of("/\\:");
  std::string base(name.substr(separator == std::string_view::npos ? 0 : separator + 1));
  base = base.substr(0, base.find('.'));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  std::transform(base.begin(), base.end(), base.begin(),
                 [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; });
  for (const char* device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"}) {
    if (base == device) return true;
  }
  return base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT")) &&
         base[3] >= '1' && base[3] <= '9';
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

OutputTarget ResolveOutput(const std::string& name, const std::string& save) {
  BY_HANDLE_FILE_INFORMATION target{};
  BY_HANDLE_FILE_INFORMATION read{};
  const DWORD type = QueryIdentity(name, target);
  if (HasSaveEnding(name) ||
      (type == FILE_TYPE_DISK && QueryIdentity(save, read) == FILE_TYPE_DISK &&
       target.dwVolumeSerialNumber == read.dwVolumeSerialNumber &&
       target.nFileIndexHigh == read.nFileIndexHigh &&
       target.nFileIndexLow == read.nFileIndexLow)) {
    return {name, OutputRefusal::kSave};
  }
  if (IsDeviceName(name) || (type != FILE_TYPE_UNKNOWN && type != FILE_TYPE_DISK)) {
    return {name, OutputRefusal::kNotAFile};
  }
  if (type == FILE_TYPE_DISK && (target.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return {name, OutputRefusal::kFolder};
  }
  std::error_code failed;
  const std::filesystem::path full = std::filesystem::absolute(SystemPath(name), failed);
  return {failed ? name : Utf8FromWide(full.wstring()), OutputRefusal::kNone};
}

bool ReplaceFileWith(const std::string& target, std::string_view contents, ListerLanguage,
                     std::string& error) {
  // A read-only list is left alone, as the rename would leave it on most systems.
  const DWORD attributes = GetFileAttributesW(WideFromUtf8(target).c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    SetLastError(ERROR_ACCESS_DENIED);
    error = LastErrorText();
    return false;
  }
  std::wstring temporary;
  HANDLE file = INVALID_HANDLE_VALUE;
  for (int attempt = 0; file == INVALID_HANDLE_VALUE && attempt < kTemporaryNameTries; ++attempt) {
    temporary = WideFromUtf8(TemporaryName(target, GetCurrentProcessId(), attempt));
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
      !MoveFileExW(temporary.c_str(), WideFromUtf8(target).c_str(), MOVEFILE_REPLACE_EXISTING)) {
    done = false;
    error = LastErrorText();
  }
  if (!done) DeleteFileW(temporary.c_str());
  return done;
}

#else

OutputTarget ResolveOutput(const std::string& name, const std::string& save) {
  std::error_code failed;
  const std::string given = std::filesystem::absolute(name, failed).lexically_normal().string();
  // A link is followed to the file it leads to; a name that leads nowhere yet is its own target.
  OutputTarget target{failed ? name : given};
  if (char* resolved = realpath(name.c_str(), nullptr)) {
    target.file = resolved;
    std::free(resolved);
  }
  struct stat written {};
  struct stat read {};
  const bool exists = stat(target.file.c_str(), &written) == 0;
  if (HasSaveEnding(name) || HasSaveEnding(target.file) ||
      (exists && stat(save.c_str(), &read) == 0 && written.st_dev == read.st_dev &&
       written.st_ino == read.st_ino)) {
    target.refusal = OutputRefusal::kSave;
  } else if (given.starts_with("/dev/") || given.starts_with("/proc/")) {
    target.refusal = OutputRefusal::kNotAFile;
  } else if (exists && S_ISDIR(written.st_mode)) {
    target.refusal = OutputRefusal::kFolder;
  } else if (exists && !S_ISREG(written.st_mode)) {
    // Never renamed over: as root that would put a file in a device's place.
    target.refusal = OutputRefusal::kNotAFile;
  }
  return target;
}

bool ReplaceFileWith(const std::string& target, std::string_view contents,
                     ListerLanguage language, std::string& error) {
  const auto failure = [&] {
    error = ReasonText(errno, language);
    return false;
  };
  // The list is as private as the file it replaces: the new file has its bits from the start.
  struct stat replaced {};
  const bool replacing = stat(target.c_str(), &replaced) == 0;
  if (replacing && access(target.c_str(), W_OK) != 0) return failure();
  mode_t mode = replacing ? replaced.st_mode & 07777 : 0666;
  std::string temporary;
  int file = -1;
  for (int attempt = 0; file < 0 && attempt < kTemporaryNameTries; ++attempt) {
    temporary = TemporaryName(target, static_cast<unsigned long>(getpid()), attempt);
    file = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                replacing ? 0600 : mode);
    if (file < 0 && errno != EEXIST) break;
  }
  if (file < 0) return failure();
  // The bits as they were, umask aside. The group is kept where the system lets the owner give
  // it; elsewhere the new file has another group, which gets none of the bits.
  struct stat created {};
  if (replacing) {
    [[maybe_unused]] const int grouped = fchown(file, static_cast<uid_t>(-1), replaced.st_gid);
    if (fstat(file, &created) != 0 || created.st_gid != replaced.st_gid) mode &= ~mode_t{070};
    [[maybe_unused]] const int kept = fchmod(file, mode);
  }
  bool done = WriteAll(file, contents) || failure();
  if (close(file) != 0 && done) done = failure();
  if (done && rename(temporary.c_str(), target.c_str()) != 0) done = failure();
  if (!done) unlink(temporary.c_str());
  return done;
}

#endif
