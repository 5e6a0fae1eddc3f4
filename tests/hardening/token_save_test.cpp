// Saves made only of the scanner's keywords, delimiters, numbers, NUL and 0xFF bytes in random
// order, loaded from files and scanned. The seed and the counts are fixed, so every run tries the
// same saves; the asan preset runs them under AddressSanitizer.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>

#include "save/save_scanner.h"
#include "save/save_text.h"
#include "support/reference_comparison.h"
#include "support/scan_invariants.h"
#include "support/temp_folder.h"
#include "support/utf16.h"

namespace {

// Each keyword bare and with the separator the scanner skips, so that some saves line values up
// where the skips land and others fall short of them.
constexpr std::array<std::string_view, 54> kTokens = {
    "startdate = { year = ", " month = ", " day = ", "march", "marrige", "character",
    "\ncharacter", "title", "\ntitle", "country", "\ninclude", "include", "id", "id = ",
    "id = { type = 41 id = ", "tag", "tag = ", "FRA", "capital", "capital = ", "name",
    "name = \"", "date", "birthdate = \"", "deathdate", "gender", "gender = ", "religion",
    "religion = ", " attributes", "attributes", "martial", "martial = ", "diplomacy",
    "diplomacy = ", "intrigue", "intrigue = ", "stewardship", "stewardship = ", "1200",
    "11810206", "-1", "2147483648", "\n", "\r\n", " ", "\"", "{", "}", "=", "s", "m", "c",
    "} s",
};

// NUL ends the text and 0xFF first selects UTF-16, so they come about once a save: more often and
// few saves would reach past the start.
constexpr std::array<std::string_view, 3> kRareTokens = {std::string_view("\0", 1), "\xFF",
                                                          "\xFF\xFE"};

// The order in which the scanner looks for things, from the start date to the end of the
// countries. Half the tokens of a save walk along it, so that saves get deep into the entries; the
// other half are drawn from all tokens and break the entries up at random places.
constexpr std::array<std::string_view, 48> kScanOrder = {
    "startdate = { year = ", "1200", " month = ", "march", " day = ", "5 ", "marrige",
    "id = ", "1", "}", "id = ", "2", "} s", "\ncharacter", "id", "id = ", "1", "\n", "tag = ",
    "FRA", "\n", "name = \"", "\"", "birthdate = \"", "11810206", "\"", "gender = ", "m\n",
    "religion = ", "c\n", " attributes", "martial = ", "\n", "diplomacy = ", "\n",
    "intrigue = ", "\n", "stewardship = ", "\n", "\ntitle", "country", "tag = ", "FRA",
    "\n", "capital = ", "7", "\n", "\ninclude"};

constexpr std::uint32_t kSeed = 20260607;
constexpr int kSaves = 2000;
constexpr int kTokensPerSave = 400;

std::string RandomSave(std::mt19937& random) {
  std::string save;
  std::size_t next = 0;
  for (int i = 0; i < kTokensPerSave; ++i) {
    const std::uint32_t pick = random();
    if (pick % kTokensPerSave == 0) {
      save += kRareTokens[pick / kTokensPerSave % kRareTokens.size()];
    } else if (pick % 2 == 0) {
      save += kScanOrder[next++ % kScanOrder.size()];
    } else {
      save += kTokens[pick / 2 % kTokens.size()];
    }
  }
  return save;
}

// Each byte as one UTF-16 little-endian code unit (NUL a zero unit), after a byte-order mark.
std::string AsUtf16(std::string_view bytes) {
  return Utf16LeFile(WidenBytes(bytes));
}

TEST(TokenSaves, LoadAndScanWithoutFaultAndCutOnlyWithinTheTextAsTheReferenceDoes) {
  TempFolder folder;
  std::mt19937 random(kSeed);
  int savesWithRecords = 0;
  for (int n = 0; n < kSaves; ++n) {
    // Every third save goes the UTF-16 road.
    const std::string tokens = RandomSave(random);
    const std::string file = n % 3 == 2 ? AsUtf16(tokens) : tokens;
    SCOPED_TRACE("save " + std::to_string(n));
    const auto path = folder.Write("tokens.eug", file);

    const SaveTextOwner text(LoadSaveText(path.string().c_str()));
    ASSERT_NE(text, nullptr);
    const bool converted = !file.empty() && static_cast<unsigned char>(file[0]) == 0xFF;
    const std::string loaded = converted ? std::string(text.get()) : file;
    if (converted) {
      EXPECT_EQ(loaded, ReferenceUtf16Text(file));
    }
    EXPECT_EQ(CompareScanWithReference(loaded), "") << testing::PrintToString(file);
    Roster roster;
    ScanSave(text.get(), roster);
    EXPECT_EQ(CheckScanInvariants(loaded, text.get(), roster), "") << testing::PrintToString(file);
    savesWithRecords += !roster.empty();
  }
  // Enough saves must reach the record path, or they would test little but the search for
  // sections.
  EXPECT_GT(savesWithRecords, kSaves / 10);
}

}  // namespace
