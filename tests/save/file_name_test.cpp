#include "save/file_name.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include "support/current_directory.h"
#include "support/temp_folder.h"

namespace {

// A save in a folder whose name code page 932 cannot spell reads through the folder; the current
// directory is where it was before, also after a failure. On Windows the system's code page is
// 932 here (the first Windows test checks it).
TEST(LoadSaveTextThroughFolder, ReadsByTheBareNameAndComesBack) {
  TempFolder folder;
  const CurrentDirectoryGuard guard(folder.Path());
  const std::filesystem::path save =
      folder.Write(std::filesystem::path(u8"Jos\u00e9") / u8"\u8868\u793a.eug", "a save");
  const auto read = [&folder](const std::filesystem::path& file) {
    errno = 0;
    const SaveTextOwner text(LoadSaveTextThroughFolder(file));
    EXPECT_TRUE(std::filesystem::equivalent(std::filesystem::current_path(), folder.Path()));
    return text == nullptr ? "<none: " + std::to_string(errno) + ">" : std::string(text.get());
  };
  EXPECT_EQ(read(save), "a save");
  EXPECT_EQ(read(std::filesystem::relative(save)), "a save");
  folder.Write("here.eug", "here");
  EXPECT_EQ(read("here.eug"), "here");
  EXPECT_EQ(read(save.parent_path() / "missing.eug"), "<none: " + std::to_string(ENOENT) + ">");
  EXPECT_EQ(read(folder.Path() / "missing" / "x.eug"), "<none: " + std::to_string(ENOENT) + ">");
  EXPECT_EQ(read(folder.Path()), "<none: " + std::to_string(EISDIR) + ">");
  EXPECT_EQ(read(save.parent_path()), "<none: " + std::to_string(EISDIR) + ">");
  EXPECT_EQ(read(std::string("a\0b", 3)), "<none: " + std::to_string(EILSEQ) + ">");
#ifdef _WIN32
  // Its best-fit look-alike beside it is never read in its place.
  folder.Write(std::filesystem::path(u8"Jos\u00e9") / "e.eug", "another");
  EXPECT_EQ(read(save.parent_path() / u8"\u00e9.eug"), "<none: " + std::to_string(EILSEQ) + ">");
#endif
}

#ifdef _WIN32
TEST(EncodeFileName, SpellsWhatTheFileSystemTakesAndNothingElse) {
  EXPECT_EQ(EncodeFileName(L"save games\\1200.eug"), "save games\\1200.eug");
  EXPECT_EQ(EncodeFileName(L""), "");
  EXPECT_EQ(EncodeFileName(std::wstring_view(L"a\0b.eug", 7)), std::nullopt) << "cut short";
  EXPECT_EQ(EncodeFileName(L"表示.eug"), "\x95\x5C\x8E\xA6.eug");
  EXPECT_EQ(EncodeFileName(L"ﾃｩ.eug"), "\xC3\xA9.eug");
  // Best fit would make these "e.eug" and "<<.eug": other files.
  EXPECT_EQ(EncodeFileName(L"é.eug"), std::nullopt);
  EXPECT_EQ(EncodeFileName(L"«.eug"), std::nullopt);
  EXPECT_EQ(EncodeFileName(L"Jos\u00e9e\\save1.eug"), std::nullopt);
}
#endif

}  // namespace
