#include "save/file_name.h"

#include <climits>

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

#else

std::optional<std::string> EncodeFileName(std::wstring_view name) {
  std::string bytes;
  bytes.reserve(name.size());
  for (const wchar_t character : name) {
    const auto code = static_cast<char32_t>(character);
    if (code == 0 || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) return std::nullopt;
    if (code < 0x80) {
      bytes += static_cast<char>(code);
    } else if (code < 0x800) {
      bytes += static_cast<char>(0xC0 | (code >> 6));
      bytes += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      bytes += static_cast<char>(0xE0 | (code >> 12));
      bytes += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      bytes += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      bytes += static_cast<char>(0xF0 | (code >> 18));
      bytes += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      bytes += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      bytes += static_cast<char>(0x80 | (code & 0x3F));
    }
  }
  return bytes;
}

#endif
