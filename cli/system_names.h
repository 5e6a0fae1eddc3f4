#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// The command line's text as the lister holds it: in UTF-8 on Windows, where the command line is
// wide, so that no name is lost on the way; elsewhere the bytes as given.
#ifdef _WIN32
using CommandLineChar = wchar_t;
#else
using CommandLineChar = char;
#endif

// The arguments that follow the program's name.
std::vector<std::string> ListerArguments(int argc, CommandLineChar** argv);

// A file name as the lister holds it, as the system's own path, in wide characters on Windows.
std::filesystem::path SystemPath(std::string_view name);

#ifdef _WIN32
// Conversions between the lister's UTF-8 and the wide characters of Windows' own calls.
std::wstring WideFromUtf8(std::string_view text);
std::string Utf8FromWide(std::wstring_view text);
#endif
