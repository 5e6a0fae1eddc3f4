#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Conversions between the program's 8-bit code page (code page 932, Shift-JIS) and Unicode. On
// Windows they go through the system's converter for the ANSI code page; elsewhere through iconv.

// Converts `count` UTF-16 little-endian code units, starting at `bytes`, to the code page. A
// character that the code page lacks becomes "?", as the Windows converter's default does.
// Returns a new NUL-terminated malloc buffer, or nullptr when memory runs out or the system has no
// converter for the code page.
char* ConvertUtf16LeToCodePage(const unsigned char* bytes, std::size_t count);

// Decodes code-page text to UTF-8. A byte where no valid character starts becomes U+FFFD and
// decoding resumes at the next byte.
std::string DecodeCodePageToUtf8(std::string_view text);
