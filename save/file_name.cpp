#include "save/file_name.h"

#include <cerrno>
#include <climits>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

#ifdef _WIN32

std::optional<std::string> EncodeFileName(std::wstring_view name) {
  if (name.empty()) return std::string();
  if (name.find(L'\0') != std::wstring_view::npos || name.size() > INT_MAX) return std::nullopt;
  const int units = static_cast<int>(name.size());
  // The UTF-8 code page refuses the used-default check and has no best fit; it rejects what it
  // cannot encode (a lone surrogate) itself.
  const bool utf8 = GetACP() == CP_UTF8;
  const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  BOOL usedDefault = FALSE;
  BOOL* const usedDefaultCheck = utf8 ? nullptr : &usedDefault;
  const int size = WideCharToMultiByte(CP_ACP, flags, name.data(), units, nullptr, 0, nullptr,
                                       usedDefaultCheck);
  if (size <= 0 || usedDefault) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(size), '\0');
  const int written = WideCharToMultiByte(CP_ACP, flags, name.data(), units, bytes.data(), size,
                                          nullptr, usedDefaultCheck);
  if (written != size || usedDefault) return std::nullopt;
  return bytes;
}

#endif

namespace {

// The bare name of `file` for the 8-bit file functions; none when they cannot spell it.
std::optional<std::string> BareName(const std::filesystem::path& file) {
  if (file.native().find(std::filesystem::path::value_type{}) != std::string::npos) {
    return std::nullopt;
  }
#ifdef _WIN32
  return EncodeFileName(file.filename().native());
#else
  return file.filename().native();
#endif
}

}  // namespace

SaveText LoadSaveTextThroughFolder(const std::filesystem::path& file) {
  // A folder is one whether or not its name can be spelt.
  if (std::error_code unknown; std::filesystem::is_directory(file, unknown)) {
    errno = EISDIR;
    return nullptr;
  }
  const std::optional<std::string> name = BareName(file);
  if (!name) {
    errno = EILSEQ;
    return nullptr;
  }
  std::error_code error;
  const std::filesystem::path folder = file.parent_path();
  const std::filesystem::path started =
      folder.empty() ? std::filesystem::path() : std::filesystem::current_path(error);
  if (!error && !folder.empty()) std::filesystem::current_path(folder, error);
  if (error) {
    errno = error.value();
    return nullptr;
  }
  const SaveText text = LoadSaveText(name->c_str());
  const int reason = errno;
  if (!folder.empty()) std::filesystem::current_path(started, error);
  errno = reason;
  return text;
}
