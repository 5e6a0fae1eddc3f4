#include "save/code_page.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/reference_comparison.h"

namespace {

TEST(DecodeCodePageToUtf8, DecodesSingleAndDoubleByteCharacters) {
  EXPECT_EQ(DecodeCodePageToUtf8("Richard"), "Richard");
  EXPECT_EQ(DecodeCodePageToUtf8("\x83\x74\x83\x42\x83\x8A\x83\x62\x83\x76"), "フィリップ");
  EXPECT_EQ(DecodeCodePageToUtf8("\x95\x5C\x83\x5C"), "表ソ") << "0x5C as a trail byte is no backslash";
  EXPECT_EQ(DecodeCodePageToUtf8("\xB1"), "ｱ");
  EXPECT_EQ(DecodeCodePageToUtf8(""), "");
}

TEST(DecodeCodePageToUtf8, EachBadByteBecomesOneReplacementAndDecodingResumes) {
  EXPECT_EQ(DecodeCodePageToUtf8("\x81"), "\xEF\xBF\xBD") << "lead byte cut off at the end";
  EXPECT_EQ(DecodeCodePageToUtf8("a\x81 b"), "a\xEF\xBF\xBD b") << "no valid trail byte";
  EXPECT_EQ(DecodeCodePageToUtf8("\xFF\xFF\xB1"), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBD\xB1");
  EXPECT_EQ(DecodeCodePageToUtf8("\x80\xA0\xFD"), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD")
      << "bytes that are no character alone";
}

// Every byte alone and every pair of bytes that starts above 0x7F, decoded one after the other:
// the fingerprint of how the whole code page is shown. The same value on every platform means
// that the window and the lister show the same text on Linux and on Windows.
TEST(DecodeCodePageToUtf8, TheWholeCodePageDecodesAlikeOnEveryPlatform) {
  std::uint64_t fingerprint = 0xCBF29CE484222325u;  // 64-bit FNV-1a
  const auto add = [&](const std::string& bytes) {
    for (const char c : DecodeCodePageToUtf8(bytes) + '\n') {
      fingerprint = (fingerprint ^ static_cast<unsigned char>(c)) * 0x100000001B3u;
    }
  };
  for (int first = 0; first < 256; ++first) add(std::string(1, static_cast<char>(first)));
  for (int first = 0x80; first < 256; ++first) {
    for (int second = 0; second < 256; ++second) {
      add({static_cast<char>(first), static_cast<char>(second)});
    }
  }
  EXPECT_EQ(fingerprint, 0x4106C4C2CC0A3988u);
}

// Every code unit converts as the whole-text reference converts it: after one ASCII letter (a
// short gap, which stays in the system converter's run), after seventeen (a stretch copied as
// ASCII), and in one run with its neighbours.
TEST(ConvertUtf16LeToCodePage, EveryCodeUnitConvertsAsTheReferenceDoes) {
  for (const std::size_t gap : {std::size_t{1}, std::size_t{17}, std::size_t{0}}) {
    std::vector<unsigned char> bytes;
    for (unsigned unit = 1; unit <= 0xFFFF; ++unit) {
      bytes.insert(bytes.end(), 2 * gap, 0);
      for (std::size_t i = 0; i < gap; ++i) bytes[bytes.size() - 2 * gap + 2 * i] = 'x';
      bytes.push_back(static_cast<unsigned char>(unit & 0xFF));
      bytes.push_back(static_cast<unsigned char>(unit >> 8));
    }
    EXPECT_EQ(CompareConversionWithReference(bytes.data(), bytes.size() / 2), "") << "gap " << gap;
  }
}

TEST(ConvertUtf16LeToCodePage, EmptyInputGivesEmptyText) {
  char* text = ConvertUtf16LeToCodePage(nullptr, 0);
  ASSERT_NE(text, nullptr);
  EXPECT_STREQ(text, "");
  std::free(text);
}

TEST(ConvertUtf16LeToCodePage, TagCharactersBecomeQuestionMarksLikeOtherMissingCharacters) {
  // U+E0061 (a tag character, which the C library's converter would drop), "A", U+1F600. The
  // Windows converter writes one "?" for each code unit of a character the code page lacks.
#ifdef _WIN32
  constexpr const char* kConverted = "??A??";
#else
  constexpr const char* kConverted = "?A?";
#endif
  const unsigned char units[] = {0x40, 0xDB, 0x61, 0xDC, 0x41, 0x00, 0x3D, 0xD8, 0x00, 0xDE};
  char* text = ConvertUtf16LeToCodePage(units, 5);
  ASSERT_NE(text, nullptr);
  EXPECT_STREQ(text, kConverted);
  std::free(text);
}

}  // namespace
