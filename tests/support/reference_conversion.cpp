#include "reference_conversion.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <iconv.h>
#endif

#ifdef _WIN32

std::string ReferenceConvertUtf16LeToCodePage(const unsigned char* bytes, std::size_t count) {
  const auto* units = reinterpret_cast<const wchar_t*>(bytes);
  const int unitCount = static_cast<int>(count);
  const int needed =
      count == 0 ? 0 : WideCharToMultiByte(CP_ACP, 0, units, unitCount, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(needed), '\0');
  const int written = needed == 0 ? 0
                                  : WideCharToMultiByte(CP_ACP, 0, units, unitCount, text.data(),
                                                        needed, nullptr, nullptr);
  text.resize(static_cast<std::size_t>(written));
  return text;
}

#else

namespace {

bool IsHighSurrogate(const char* unit) {
  const unsigned high = static_cast<unsigned char>(unit[1]);
  return high >= 0xD8 && high <= 0xDB;
}

bool IsLowSurrogate(const char* unit) {
  const unsigned high = static_cast<unsigned char>(unit[1]);
  return high >= 0xDC && high <= 0xDF;
}

// The first of the tag characters U+E0000 to U+E007F (surrogates DB40, DC00 to DC7F) in
// [from, end), or end. glibc's converter passes over them without output and without an error.
char* FindTagCharacter(char* from, char* end) {
  for (; end - from >= 4; from += 2) {
    if (static_cast<unsigned char>(from[0]) == 0x40 && static_cast<unsigned char>(from[1]) == 0xDB &&
        static_cast<unsigned char>(from[2]) <= 0x7F && static_cast<unsigned char>(from[3]) == 0xDC) {
      return from;
    }
  }
  return end;
}

}  // namespace

std::string ReferenceConvertUtf16LeToCodePage(const unsigned char* bytes, std::size_t count) {
  const iconv_t cd = iconv_open("CP932", "UTF-16LE");
  if (cd == reinterpret_cast<iconv_t>(-1)) return {};
  std::string text(count * 2, '\0');
  char* in = reinterpret_cast<char*>(const_cast<unsigned char*>(bytes));
  char* const inEnd = in + count * 2;
  char* out = text.data();
  std::size_t outLeft = text.size();
  // The converter runs up to the next tag character, which it would drop, so that each one
  // becomes "?" like any other character the code page lacks.
  char* tag = FindTagCharacter(in, inEnd);
  while (in < inEnd) {
    if (tag < in) tag = FindTagCharacter(in, inEnd);
    std::size_t inLeft = static_cast<std::size_t>(tag - in);
    if (inLeft > 0 && iconv(cd, &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1) &&
        errno != EILSEQ && errno != EINVAL) {
      break;
    }
    if (in == inEnd) break;
    // A tag character, a character the code page lacks, a lone surrogate, or a high surrogate
    // cut off at the end: one "?" for the code point, and conversion goes on after it.
    const std::size_t rest = static_cast<std::size_t>(inEnd - in);
    std::size_t skip = 2;
    if (rest >= 4 && IsHighSurrogate(in) && IsLowSurrogate(in + 2)) skip = 4;
    if (skip > rest) skip = rest;
    *out++ = '?';
    --outLeft;
    in += skip;
  }
  text.resize(static_cast<std::size_t>(out - text.data()));
  iconv_close(cd);
  return text;
}

#endif
