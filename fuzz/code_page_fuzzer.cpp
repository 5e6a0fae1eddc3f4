// Takes arbitrary bytes both as code-page text to decode to UTF-8 and as UTF-16 little-endian
// code units to convert to the code page, and checks the size and form of both results.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "save/code_page.h"

namespace {

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "code_page_fuzzer: %s\n", what);
  std::abort();
}

// Well-formed UTF-8: shortest forms only, no surrogates, nothing above U+10FFFF.
bool IsWellFormedUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    std::uint32_t code = 0;
    if (lead < 0x80) {
      ++i;
      continue;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
      code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      code = lead & 0x07;
    } else {
      return false;
    }
    if (text.size() - i < length) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    static constexpr std::uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kSmallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
      return false;
    }
    i += length;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string utf8 = DecodeCodePageToUtf8(bytes);
  // A character is one or two bytes and becomes one to three bytes of UTF-8; a byte that starts no
  // character becomes a three-byte replacement character.
  if (utf8.size() > 3 * size) Fail("decoded text is larger than three bytes a byte");
  if (utf8.size() < (size + 1) / 2) Fail("decoded text lost characters");
  if (!IsWellFormedUtf8(utf8)) Fail("decoded text is not well-formed UTF-8");

  const std::size_t units = size / 2;
  char* converted = ConvertUtf16LeToCodePage(data, units);
  if (converted == nullptr) Fail("conversion gave no buffer");
  // A code point is one or two code units and becomes one or two bytes ("?" where the code page
  // lacks it); only a zero code unit gives a NUL.
  const std::size_t length = std::strlen(converted);
  if (length > 2 * units) Fail("converted text is larger than two bytes a code unit");
  bool hasZeroUnit = false;
  for (std::size_t i = 0; i < units; ++i) hasZeroUnit |= (data[2 * i] | data[2 * i + 1]) == 0;
  if (!hasZeroUnit && length < (units + 1) / 2) Fail("converted text lost characters");
  std::free(converted);
  return 0;
}
