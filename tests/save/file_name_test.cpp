#include "save/file_name.h"

#include <gtest/gtest.h>

namespace {

// On Windows the system's code page is 932 here (the first Windows test checks it).
TEST(EncodeFileName, SpellsWhatTheFileSystemTakesAndNothingElse) {
  EXPECT_EQ(EncodeFileName(L"save games\\1200.eug"), "save games\\1200.eug");
  EXPECT_EQ(EncodeFileName(L""), "");
  EXPECT_EQ(EncodeFileName(std::wstring_view(L"a\0b.eug", 7)), std::nullopt) << "cut short";
#ifdef _WIN32
  EXPECT_EQ(EncodeFileName(L"表示.eug"), "\x95\x5C\x8E\xA6.eug");
  EXPECT_EQ(EncodeFileName(L"ﾃｩ.eug"), "\xC3\xA9.eug");
  // Best fit would make these "e.eug" and "<<.eug": other files.
  EXPECT_EQ(EncodeFileName(L"é.eug"), std::nullopt);
  EXPECT_EQ(EncodeFileName(L"«.eug"), std::nullopt);
  EXPECT_EQ(EncodeFileName(L"Jos\u00e9e\\save1.eug"), std::nullopt);
#else
  EXPECT_EQ(EncodeFileName(L"表示 é.eug"), "表示 é.eug");
  EXPECT_EQ(EncodeFileName(L"\U0001F600"), "\U0001F600");
  EXPECT_EQ(EncodeFileName(std::wstring(1, static_cast<wchar_t>(0xD800))), std::nullopt);
#endif
}

}  // namespace
