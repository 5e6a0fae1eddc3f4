#include "system_names.h"

#ifdef _WIN32
#include <windows.h>
#endif

#ifdef _WIN32

std::wstring WideFromUtf8(std::string_view text) {
  const int size = static_cast<int>(text.size());
  std::wstring wide(MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), static_cast<int>(wide.size()));
  return wide;
}

std::string Utf8FromWide(std::wstring_view text) {
  const int size = static_cast<int>(text.size());
  std::string utf8(WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr),
                   '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), size, utf8.data(), static_cast<int>(utf8.size()),
                      nullptr, nullptr);
  return utf8;
}

std::vector<std::string> ListerArguments(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(Utf8FromWide(argv[i]));
  return args;
}

std::filesystem::path SystemPath(std::string_view name) { return WideFromUtf8(name); }

#else

std::vector<std::string> ListerArguments(int argc, char** argv) {
  return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

std::filesystem::path SystemPath(std::string_view name) { return std::string(name); }

#endif
