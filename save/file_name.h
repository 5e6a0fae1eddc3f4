#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "save_text.h"

// Reads the save `file` as LoadSaveText does, by entering its folder and reading its bare name:
// the 8-bit file functions need only spell the name, not the folder, which the system enters in
// its own characters. Goes back to the current directory it started in; the window's Open,
// which has already entered the folder, stays there. Returns nullptr when the file cannot be
// read, with errno set: EILSEQ when the name cannot be spelt for the 8-bit file functions (or
// holds a NUL), else what the call that failed left.
SaveText LoadSaveTextThroughFolder(const std::filesystem::path& file);

#ifdef _WIN32
// A file name as the program's 8-bit file functions take it: in the system's code page, converted
// strictly: a character that the code page cannot spell gives none, never a best-fit look-alike
// ("é" as "e") that would name another file. A NUL inside the name, which would cut it short,
// gives none too.
std::optional<std::string> EncodeFileName(std::wstring_view name);
#endif
