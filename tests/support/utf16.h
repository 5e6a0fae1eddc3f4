#pragma once

#include <string>
#include <string_view>

// Text as a UTF-16 little-endian file holds it.

// The code units, without a byte-order mark.
std::string Utf16Le(std::u16string_view text);

// A whole file: the byte-order mark, then the code units.
std::string Utf16LeFile(std::u16string_view text);

// Each byte as one code unit of the same value.
std::u16string WidenBytes(std::string_view bytes);
