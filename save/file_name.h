#pragma once

#include <optional>
#include <string>
#include <string_view>

// A file name as the program's 8-bit file functions take it. On Windows that is the system's
// code page, and the name is converted strictly: a character that the code page cannot spell
// gives none, never a best-fit look-alike ("é" as "e") that would name another file. Elsewhere
// file names are UTF-8 bytes. A NUL inside the name, which would cut it short, gives none too.
std::optional<std::string> EncodeFileName(std::wstring_view name);
