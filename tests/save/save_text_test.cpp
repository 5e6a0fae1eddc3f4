#include "save/save_text.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>

#include <thread>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#endif

#include "support/reference_comparison.h"
#include "support/temp_folder.h"
#include "support/utf16.h"

namespace {

class LoadSaveTextTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& bytes) { return folder_.Write("save.eug", bytes).string(); }

  // Loads `bytes` from a file and gives the whole text up to its first NUL.
  std::string LoadBytes(const std::string& bytes) {
    const SaveTextOwner text(LoadSaveText(Write(bytes).c_str()));
    EXPECT_NE(text, nullptr);
    if (text == nullptr) return "<none>";
    return std::string(text.get());
  }

  TempFolder folder_;
};

std::string Utf16(std::u16string_view text, bool byteOrderMark = true) {
  return byteOrderMark ? Utf16LeFile(text) : Utf16Le(text);
}

TEST_F(LoadSaveTextTest, EightBitFileComesBackByteForByteWithOneNulAppended) {
  const std::string bytes = "a\r\nb \x83\x74\x83\x42\x81\x5C\xFE\x80 end\r\n";
  const SaveTextOwner text(LoadSaveText(Write(bytes).c_str()));
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(std::memcmp(text.get(), bytes.data(), bytes.size()), 0);
  EXPECT_EQ(text.get()[bytes.size()], '\0');
}

TEST_F(LoadSaveTextTest, NulInsideAnEightBitFileEndsTheText) {
  EXPECT_EQ(LoadBytes(std::string("startdate\0 after", 16)), "startdate");
}

TEST_F(LoadSaveTextTest, EmptyFileGivesEmptyTextAndMissingFileGivesNone) {
  EXPECT_EQ(LoadBytes(""), "");
  EXPECT_EQ(SaveTextOwner(LoadSaveText((folder_.Path() / "missing.eug").string().c_str())), nullptr);
  errno = 0;
  EXPECT_EQ(SaveTextOwner(LoadSaveText(folder_.Path().string().c_str())), nullptr)
      << "a folder is not a readable save";
  EXPECT_EQ(errno, EISDIR);
}

#ifndef _WIN32
// A pipe has no size: what comes through it loads as the same bytes from a file do, also when it
// is longer than the first buffer and when it is UTF-16.
TEST_F(LoadSaveTextTest, APipeIsReadToItsEnd) {
  std::string long8Bit;
  while (long8Bit.size() < 3 * kUtf16PieceBytes) long8Bit += "character = \x83\x74\n";
  std::u16string long16;
  while (long16.size() < 2 * kUtf16PieceBytes) long16 += u"\u30D5a";
  const std::string pipe = (folder_.Path() / "pipe").string();
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  for (const std::string& bytes : {std::string(), long8Bit, std::string("a\0b", 3),
                                   Utf16(long16) + "z", Utf16(u"ab\0c")}) {
    std::thread writer([&] { std::ofstream(pipe, std::ios::binary) << bytes; });
    const SaveTextOwner text(LoadSaveText(pipe.c_str()));
    writer.join();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(std::string(text.get()), LoadBytes(bytes)) << bytes.size() << " bytes";
  }
}
#endif

// Nothing longer than the limit is read, from a file or through a pipe, which tells no size and
// is read until the limit is passed by one byte.
TEST_F(LoadSaveTextTest, NothingLongerThanTheLimitIsRead) {
  constexpr std::size_t kLimit = 3 * kUtf16PieceBytes / 2;
  const auto throughPipe = [](const std::string& bytes) {
    int ends[2];
#ifdef _WIN32
    EXPECT_EQ(_pipe(ends, 4096, _O_BINARY), 0);
#else
    EXPECT_EQ(pipe(ends), 0);
#endif
    std::thread writer([&] {
      const auto written = write(ends[1], bytes.data(), static_cast<unsigned>(bytes.size()));
      EXPECT_EQ(static_cast<std::size_t>(written), bytes.size());
      close(ends[1]);
    });
    std::FILE* stream = fdopen(ends[0], "rb");
    errno = 0;
    const SaveTextOwner text(ReadSaveText(stream, kLimit));
    const int reason = errno;
    writer.join();
    std::fclose(stream);
    return text == nullptr ? "<none: " + std::to_string(reason) + ">" : std::string(text.get());
  };
  const std::string fits(kLimit, 'a');
  EXPECT_EQ(throughPipe(fits), fits);
  EXPECT_EQ(throughPipe(fits + "a"), "<none: " + std::to_string(EFBIG) + ">");
  EXPECT_EQ(SaveTextOwner(LoadSaveText(Write(fits + "a"), kLimit)), nullptr);
  EXPECT_EQ(errno, EFBIG);
  EXPECT_NE(SaveTextOwner(LoadSaveText(Write(fits), kLimit)), nullptr);
}

TEST_F(LoadSaveTextTest, Utf16FileIsConvertedWithTheByteOrderMarkKeptAsQuestionMark) {
  // U+FEFF has no place in code page 932, so it becomes "?" and stays at the front.
  EXPECT_EQ(LoadBytes(Utf16(u"name = \"フィリップ\"\n")),
            "?name = \"\x83\x74\x83\x42\x83\x8A\x83\x62\x83\x76\"\n");
}

TEST_F(LoadSaveTextTest, Utf16ConversionStopsAtTheFirstZeroCodeUnit) {
  std::u16string units = u"abc";
  units += u'\0';
  units += u"def";
  EXPECT_EQ(LoadBytes(Utf16(units)), "?abc");
}

TEST_F(LoadSaveTextTest, Utf16LoneLastByteOfAnOddLengthFileIsDropped) {
  EXPECT_EQ(LoadBytes(Utf16(u"xy") + "z"), "?xy");
  EXPECT_EQ(LoadBytes("\xFF"), "") << "a lone 0xFF holds no code unit";
}

TEST_F(LoadSaveTextTest, Utf16CharactersTheCodePageLacksBecomeQuestionMarks) {
  // é is not in code page 932, nor is an emoji (a surrogate pair) or a lone surrogate. The C
  // library's converter gives one "?" for each character; the Windows converter gives the
  // nearest character where it knows one ("e" for "é") and one "?" for each code unit of the rest.
#ifdef _WIN32
  constexpr const char* kConverted = "?e???\xB1";
#else
  constexpr const char* kConverted = "????\xB1";
#endif
  std::u16string units = u"é😀";
  units += static_cast<char16_t>(0xD800);
  units += u"ｱ";
  EXPECT_EQ(LoadBytes(Utf16(units)), kConverted);
  // A high surrogate cut off by the end of the file.
  std::u16string cut = u"a";
  cut += static_cast<char16_t>(0xD83D);
  EXPECT_EQ(LoadBytes(Utf16(cut)), "?a?");
}

TEST_F(LoadSaveTextTest, OnlyALeadingFFByteSelectsUtf16) {
  EXPECT_EQ(LoadBytes("\xEF\xBB\xBFstartdate"), "\xEF\xBB\xBFstartdate") << "UTF-8 mark is not converted";
  EXPECT_EQ(LoadBytes(Utf16(u"abc", false)), std::string("a", 1)) << "no mark: 8-bit, ends at the first NUL";
  // The second byte is not examined: FF 4F reads as the code unit U+4FFF, a kanji of the code page.
  EXPECT_EQ(LoadBytes("\xFF\x4F"), "\xFA\x76");
}

// A UTF-16 file is read and converted a piece at a time. A file of many pieces, made of a pattern
// of seven code units (ASCII, kana, a surrogate pair, a tag character, a lone surrogate) shifted
// by 0 to 6 units, puts each kind of unit, and each half of a pair, at the pieces' ends. Every
// variant must load as the whole text converted at once, also with an odd last byte and with a
// zero code unit in a later piece.
TEST_F(LoadSaveTextTest, LongUtf16FileLoadsAsItsWholeTextConvertedAtOnce) {
  const std::u16string pattern = {u'a', u'\uFF71', 0xD83D, 0xDE00, 0xDB40, 0xDC61, 0xD800};
  std::u16string content;
  while (content.size() < 160'000) content += pattern;
  for (std::size_t shift = 0; shift < pattern.size(); ++shift) {
    SCOPED_TRACE("shifted by " + std::to_string(shift));
    const std::string file = Utf16(std::u16string(shift, u'b') + content);
    EXPECT_EQ(LoadBytes(file), ReferenceUtf16Text(file));
    EXPECT_EQ(LoadBytes(file + "z"), ReferenceUtf16Text(file)) << "odd last byte";
    std::string cut = file;
    cut[200'000] = cut[200'001] = '\0';
    EXPECT_EQ(LoadBytes(cut), ReferenceUtf16Text(cut)) << "zero unit in a later piece";
  }
}

TEST(SampleSaves, TheUtf16SampleLoadsLikeItsShiftJisContent) {
  const SaveTextOwner text(LoadSaveText(PELLARIN_SAMPLE_DIR "/1066_england_utf16.eug"));
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text.get()[0], '?');
  EXPECT_NE(std::strstr(text.get(), "startdate = { year = 1066 month = october day = 14 }"), nullptr);
  EXPECT_NE(std::strstr(text.get(), "\x83\x74\x83\x42\x83\x8A\x83\x62\x83\x76"), nullptr)
      << "フィリップ";
}

}  // namespace
