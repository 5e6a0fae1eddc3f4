#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Save files written for tests, in the layout the scanner reads.

// One character of a test save; its age is counted at the save's start date, 5 March 1200.
struct TestCharacter {
  int id = 0;        // 0: its position in the list, counted from 1
  std::string name;  // bytes in code page 932
  int age = 20;
  char gender = 'm';
  std::string religion = "catholic";
  std::string tag = "FRA";
  int martial = 0;
  int diplomacy = 0;
  int intrigue = 0;
  int stewardship = 0;
  bool married = false;  // married characters are wed to each other in pairs, in list order
  bool dead = false;
};

// The text of a save with these characters in this order, the countries FRA, ENG and BYZ (capitals
// 120, 236 and 151), a marriage that does not count, and a counted marriage of each pair of ids in
// `marriages`.
std::string TestSaveText(const std::vector<TestCharacter>& characters,
                         const std::vector<std::pair<int, int>>& marriages = {});

// UTF-16 little-endian code units as a file holds them, without a byte-order mark.
std::string Utf16Le(std::u16string_view text);

// The byte-order mark of a UTF-16 little-endian file.
inline constexpr std::string_view kUtf16ByteOrderMark = "\xFF\xFE";

// Each byte as one code unit of the same value.
std::u16string WidenBytes(std::string_view bytes);
