#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Conversions between the program's 8-bit code page (code page 932, Shift-JIS) and Unicode. On
// Windows they go through the system's converter for the ANSI code page; elsewhere through iconv.

// The most bytes that `units` UTF-16 code units can become in the code page, or SIZE_MAX when
// that is more than memory can hold. Code page 932 spells a code unit in at most two bytes; on
// Windows the bound follows the system's ANSI code page, which may be a wider one.
std::size_t MaxCodePageBytes(std::size_t units);

// Converts `count` UTF-16 little-endian code units, starting at `bytes`, to the code page, writing
// at most MaxCodePageBytes(count) bytes at `out`, with no terminating NUL; returns how many. The
// two sides differ for characters that code page 932 lacks. Windows' converter, with its
// defaults, writes a best-fit look-alike where it knows one ("é" as "e", "«" as "≪") and "?"
// otherwise; iconv writes "?" for every one. A few characters convert on one side only: U+2014,
// U+2016, U+2212 and U+301C with iconv, U+3094 and U+F8F0 to U+F8F3 on Windows. A text
// converted piece by piece gives the same bytes as converted whole, as long as no piece ends
// between the two halves of a surrogate pair. Returns SIZE_MAX when the system has no converter
// for the code page or its converter fails.
std::size_t ConvertUtf16LePiece(const unsigned char* bytes, std::size_t count, char* out);

// Converts `count` UTF-16 little-endian code units at once, as ConvertUtf16LePiece does. Returns a
// new NUL-terminated malloc buffer, or nullptr when memory runs out or the system has no converter
// for the code page.
char* ConvertUtf16LeToCodePage(const unsigned char* bytes, std::size_t count);

// Decodes code-page text to UTF-8. A byte where no valid character starts becomes U+FFFD and
// decoding resumes at the next byte.
std::string DecodeCodePageToUtf8(std::string_view text);
