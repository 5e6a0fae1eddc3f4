// Every prefix of every sample save, cut at each byte, is loaded from a file and scanned. A save
// cut short must never fault, and must give either nothing (cut before the line that ends the
// characters) or exactly the full save's characters; only the capitals may differ while the cut
// falls among the countries.

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>

#include "save/save_scanner.h"
#include "save/save_text.h"
#include "support/reference_comparison.h"
#include "support/scan_invariants.h"
#include "support/temp_folder.h"
#include "support/utf16.h"

namespace {

const std::filesystem::path kSampleDir = PELLARIN_SAMPLE_DIR;

// `bytes` written to a file, loaded and scanned; the roster's names point into the text, which is
// released at the end.
class ScannedSave {
 public:
  ScannedSave(const TempFolder& folder, std::string_view bytes)
      : text_(LoadSaveText(folder.Write("save.eug", bytes).string().c_str())) {
    if (text_ == nullptr) return;
    // A converted text has no NUL before its end; an 8-bit one is the file byte for byte.
    const bool converted = !bytes.empty() && static_cast<unsigned char>(bytes[0]) == 0xFF;
    loaded_ = converted ? std::string(text_.get()) : std::string(bytes);
    convertedAsReference_ = !converted || loaded_ == ReferenceUtf16Text(bytes);
    ScanSave(text_.get(), roster_);
  }

  bool Loaded() const { return text_ != nullptr; }
  const Roster& Records() const { return roster_; }
  std::string Invariants() const { return CheckScanInvariants(loaded_, text_.get(), roster_); }
  // Empty when the text loaded and scanned as the reference conversion and scanner have it.
  std::string AgainstReference() const {
    if (!convertedAsReference_) return "the text was not converted as the reference converts it";
    return CompareScanWithReference(loaded_);
  }

 private:
  SaveTextOwner text_;
  std::string loaded_;  // the buffer as loaded, for checking what the scan changed
  bool convertedAsReference_ = true;
  Roster roster_;
};

// The text as it stands in a file of the sample's encoding: UTF-16 little-endian when the sample
// starts with 0xFF, else byte for byte.
std::string Encode(std::string_view text, bool utf16) {
  return utf16 ? Utf16Le(WidenBytes(text)) : std::string(text);
}

// The length of the shortest prefix that holds all of `text` as found from `from`.
std::size_t EndOf(const std::string& file, std::string_view text, std::size_t from, bool utf16) {
  const std::string encoded = Encode(text, utf16);
  const std::size_t at = file.find(encoded, from);
  EXPECT_NE(at, std::string::npos) << "the sample has no " << text;
  return at + encoded.size();
}

// Compares everything but the capital; names as strings, since each roster points into its own text.
testing::AssertionResult SameButCapital(const CharacterRecord& got, const CharacterRecord& want) {
  if (std::strcmp(got.name, want.name) != 0 || got.gender != want.gender ||
      got.religion != want.religion || got.age != want.age || got.martial != want.martial ||
      got.diplomacy != want.diplomacy || got.intrigue != want.intrigue ||
      got.stewardship != want.stewardship || got.total != want.total ||
      got.married != want.married) {
    return testing::AssertionFailure() << "differs from \"" << want.name << "\"";
  }
  return testing::AssertionSuccess();
}

class SavePrefixTest : public testing::TestWithParam<const char*> {};

TEST_P(SavePrefixTest, EveryPrefixGivesNothingOrTheFullRoster) {
  const std::string file = ReadFileBytes(kSampleDir / GetParam());
  ASSERT_FALSE(file.empty());
  const bool utf16 = static_cast<unsigned char>(file[0]) == 0xFF;
  TempFolder folder;

  const ScannedSave full(folder, file);
  ASSERT_TRUE(full.Loaded());
  ASSERT_FALSE(full.Records().empty());

  // The characters end at the first line that starts with "title" after the first "character"
  // line; the last capital is complete with the line feed after it.
  const std::size_t charactersEnd = EndOf(file, "\ntitle", EndOf(file, "\ncharacter", 0, utf16), utf16);
  const std::size_t lastCapital = file.rfind(Encode("capital", utf16));
  ASSERT_NE(lastCapital, std::string::npos);
  const std::size_t capitalsEnd = EndOf(file, "\n", lastCapital, utf16);

  for (std::size_t length = 0; length <= file.size(); ++length) {
    SCOPED_TRACE("prefix of " + std::to_string(length) + " bytes");
    const ScannedSave prefix(folder, std::string_view(file).substr(0, length));
    ASSERT_TRUE(prefix.Loaded());
    ASSERT_EQ(prefix.Invariants(), "");
    ASSERT_EQ(prefix.AgainstReference(), "");
    if (length < charactersEnd) {
      ASSERT_TRUE(prefix.Records().empty());
      continue;
    }
    ASSERT_EQ(prefix.Records().size(), full.Records().size());
    for (std::size_t i = 0; i < full.Records().size(); ++i) {
      ASSERT_TRUE(SameButCapital(prefix.Records()[i], full.Records()[i])) << "record " << i;
      if (length >= capitalsEnd) {
        ASSERT_EQ(prefix.Records()[i].capital, full.Records()[i].capital) << "record " << i;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(SampleSaves, SavePrefixTest,
                         testing::Values("1200_france.eug", "1187_jerusalem.eug",
                                         "1066_england_utf16.eug"),
                         [](const testing::TestParamInfo<const char*>& info) {
                           std::string name = info.param;
                           return name.substr(0, name.find('.'));
                         });

}  // namespace
