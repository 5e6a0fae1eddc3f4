#pragma once

#include <cstddef>
#include <string>

// The conversion from UTF-16 to the code page as first written: the whole text in one call to the
// system's converter (iconv, or WideCharToMultiByte on Windows). The loader's piecewise conversion,
// with its own road for ASCII, must give the same bytes for every input; the tests and the
// differential fuzzer hold it to that. The result holds every converted byte, a zero code unit's
// NUL included.
std::string ReferenceConvertUtf16LeToCodePage(const unsigned char* bytes, std::size_t count);
