#include "code_page.h"

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <iconv.h>
#endif

#ifdef _WIN32

namespace {

// The most bytes a character of the ANSI code page takes, and so the most a code unit becomes.
std::size_t MaxBytesPerUnit() {
  static const std::size_t bytes = [] {
    CPINFO info{};
    return GetCPInfo(CP_ACP, &info) && info.MaxCharSize > 2 ? std::size_t{info.MaxCharSize} : 2;
  }();
  return bytes;
}

// Converts a run of code units through the system's converter; SIZE_MAX when it fails.
std::size_t ConvertWithSystem(const unsigned char* bytes, std::size_t count, char* out) {
  const std::size_t room = MaxCodePageBytes(count);
  if (room > static_cast<std::size_t>(INT_MAX)) return SIZE_MAX;
  const auto* units = reinterpret_cast<const wchar_t*>(bytes);
  const int written = WideCharToMultiByte(CP_ACP, 0, units, static_cast<int>(count), out,
                                          static_cast<int>(room), nullptr, nullptr);
  return written > 0 ? static_cast<std::size_t>(written) : SIZE_MAX;
}

bool IsCodePage932() {
  static const bool is932 = GetACP() == 932;
  return is932;
}

// The UTF-8 form of the character that the code page spells with `bytes`, or false when those bytes
// spell none.
bool DecodeCharacter(const char* bytes, int count, std::string& utf8) {
  wchar_t wide[2];
  const int units = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes, count, wide, 2);
  if (units == 0) return false;
  char out[8];
  const int length = WideCharToMultiByte(CP_UTF8, 0, wide, units, out, sizeof out, nullptr, nullptr);
  if (length == 0) return false;
  utf8.append(out, static_cast<std::size_t>(length));
  return true;
}

}  // namespace

// One character at a time, so that a byte where no character starts becomes one U+FFFD and the
// next byte starts afresh, as iconv's road does; the system's own decoding of a whole text would
// turn a lone lead byte into "・" and swallow the byte after it.
std::string DecodeCodePageToUtf8(std::string_view text) {
  static constexpr char kReplacement[] = "\xEF\xBF\xBD";
  std::string utf8;
  utf8.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x80) {
      utf8 += static_cast<char>(byte);
      ++i;
      continue;
    }
    // No character of code page 932 is the byte 0x80, 0xA0 or 0xFD to 0xFF alone, though some of
    // the system's converters pass them through as control or private-use characters. Other code
    // pages spell characters with them, and the system decodes those as it does.
    if (IsCodePage932() && (byte == 0x80 || byte == 0xA0 || byte >= 0xFD)) {
      utf8 += kReplacement;
      ++i;
      continue;
    }
    const bool lead = IsDBCSLeadByteEx(CP_ACP, byte) != 0;
    const int count = lead && i + 1 < text.size() ? 2 : 1;
    if ((!lead || count == 2) && DecodeCharacter(text.data() + i, count, utf8)) {
      i += static_cast<std::size_t>(count);
    } else {
      utf8 += kReplacement;
      ++i;
    }
  }
  return utf8;
}

#else

namespace {

// One iconv descriptor per direction and thread, opened on first use and reset before each call.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (Valid()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool Valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t Get() const {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    return cd_;
  }

 private:
  iconv_t cd_;
};

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

std::size_t MaxBytesPerUnit() { return 2; }

// Converts a run of code units through iconv; SIZE_MAX when the C library was built without the
// code page.
std::size_t ConvertWithSystem(const unsigned char* bytes, std::size_t count, char* out) {
  thread_local Converter converter("CP932", "UTF-16LE");
  if (!converter.Valid()) return SIZE_MAX;
  char* in = reinterpret_cast<char*>(const_cast<unsigned char*>(bytes));
  char* const inEnd = in + count * 2;
  char* const start = out;
  std::size_t outLeft = MaxCodePageBytes(count);
  const iconv_t cd = converter.Get();
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
  return static_cast<std::size_t>(out - start);
}

}  // namespace

std::string DecodeCodePageToUtf8(std::string_view text) {
  thread_local Converter converter("UTF-8", "CP932");
  static constexpr char kReplacement[] = "\xEF\xBF\xBD";
  std::string utf8;
  if (text.empty()) return utf8;
  // A code-page character is at most two bytes and becomes at most three bytes of UTF-8; a
  // replaced single byte becomes three.
  utf8.resize(text.size() * 3);
  if (!converter.Valid()) {
    utf8.clear();
    for (char c : text) {
      if (static_cast<unsigned char>(c) < 0x80) utf8 += c;
      else utf8 += kReplacement;
    }
    return utf8;
  }
  const iconv_t cd = converter.Get();
  char* in = const_cast<char*>(text.data());
  std::size_t inLeft = text.size();
  char* out = utf8.data();
  std::size_t outLeft = utf8.size();
  while (inLeft > 0) {
    if (iconv(cd, &in, &inLeft, &out, &outLeft) != static_cast<std::size_t>(-1)) break;
    if (errno != EILSEQ && errno != EINVAL) break;
    std::memcpy(out, kReplacement, 3);
    out += 3;
    outLeft -= 3;
    ++in;
    --inLeft;
  }
  utf8.resize(static_cast<std::size_t>(out - utf8.data()));
  return utf8;
}

#endif

namespace {

bool IsAsciiUnit(const unsigned char* unit) { return unit[1] == 0 && unit[0] < 0x80; }

// Copies the leading code units below 0x80, which are the same bytes in the code page, and gives
// how many there were. Sixteen units at a time where SSE2 is there.
std::size_t CopyAsciiUnits(const unsigned char* bytes, std::size_t count, char* out) {
  std::size_t i = 0;
#if defined(__SSE2__)
  const __m128i nonAscii = _mm_set1_epi16(static_cast<short>(0xFF80));
  for (; count - i >= 16; i += 16) {
    const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + 2 * i));
    const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + 2 * i + 16));
    const __m128i either = _mm_and_si128(_mm_or_si128(low, high), nonAscii);
    if (_mm_movemask_epi8(_mm_cmpeq_epi16(either, _mm_setzero_si128())) != 0xFFFF) break;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(low, high));
  }
#endif
  for (; i < count && IsAsciiUnit(bytes + 2 * i); ++i) {
    out[i] = static_cast<char>(bytes[2 * i]);
  }
  return i;
}

// How many leading code units, the first of them 0x80 or above, go to the system's converter in
// one call: up to the first stretch of kAsciiStretch ASCII units, or all. Short ASCII gaps, such as
// the spaces and digits among Japanese words, stay in the run, since each call costs far more than
// converting a few units.
std::size_t SystemRunLength(const unsigned char* bytes, std::size_t count) {
  constexpr std::size_t kAsciiStretch = 16;
  std::size_t ascii = 0;
  for (std::size_t i = 0; i < count; ++i) {
    ascii = IsAsciiUnit(bytes + 2 * i) ? ascii + 1 : 0;
    if (ascii == kAsciiStretch) return i + 1 - ascii;
  }
  return count;
}

}  // namespace

std::size_t MaxCodePageBytes(std::size_t units) {
  const std::size_t perUnit = MaxBytesPerUnit();
  return units > (SIZE_MAX - 1) / perUnit ? SIZE_MAX : units * perUnit;
}

// Saves are mostly ASCII, which the code page spells alike; only the runs between long stretches of
// ASCII go to the system's converter. The code page is stateless and no run ends inside a surrogate
// pair, so the runs convert as the whole text would.
std::size_t ConvertUtf16LePiece(const unsigned char* bytes, std::size_t count, char* out) {
  char* const start = out;
  std::size_t done = 0;
  while (done < count) {
    const std::size_t ascii = CopyAsciiUnits(bytes + 2 * done, count - done, out);
    done += ascii;
    out += ascii;
    if (done == count) break;
    const std::size_t other = SystemRunLength(bytes + 2 * done, count - done);
    const std::size_t written = ConvertWithSystem(bytes + 2 * done, other, out);
    if (written == SIZE_MAX) return SIZE_MAX;
    done += other;
    out += written;
  }
  return static_cast<std::size_t>(out - start);
}

char* ConvertUtf16LeToCodePage(const unsigned char* bytes, std::size_t count) {
  const std::size_t room = MaxCodePageBytes(count);
  if (room == SIZE_MAX) return nullptr;
  char* text = static_cast<char*>(std::malloc(room + 1));
  if (text == nullptr) return nullptr;
  const std::size_t length = ConvertUtf16LePiece(bytes, count, text);
  if (length == SIZE_MAX) {
    std::free(text);
    return nullptr;
  }
  text[length] = '\0';
  return text;
}
