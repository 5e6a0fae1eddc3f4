#pragma once

#include <cstddef>

// The conversion from UTF-16 to the code page as first written: the whole text in one call to the
// system's converter (iconv, or WideCharToMultiByte on Windows). The loader's piecewise conversion,
// with its own road for ASCII, must give the same bytes for every input; the tests and the
// differential fuzzer hold it to that. Returns a new NUL-terminated malloc buffer, or nullptr.
char* ReferenceConvertUtf16LeToCodePage(const unsigned char* bytes, std::size_t count);
