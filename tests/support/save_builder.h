#pragma once

#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Save files written for tests, in the layout the scanner reads: entries spelled out value by value
// for the scanner's own tests, and whole saves of plain characters for everything else.

// The start date of every test save, 5 March 1200, and its countries FRA, ENG and BYZ with the
// capitals 120, 236 and 151.
inline constexpr std::string_view kTestStartDate =
    "startdate = { year = 1200 month = march day = 5 }\n";
inline constexpr std::string_view kTestCountries =
    "country = {\n    tag = FRA\n    capital = 120\n}\n"
    "country = {\n    tag = ENG\n    capital = 236\n}\n"
    "country = {\n    tag = BYZ\n    capital = 151\n}\n";

// One character entry with every value as the save spells it.
struct CharacterText {
  int id = 1;
  std::string_view name = "Philippe";
  std::string_view birth = "11810206";
  std::string_view gender = "m";
  std::string_view religion = "catholic";
  std::string_view tag = "FRA\n";    // with what ends it
  std::string_view beforeReligion;    // lines between gender and religion
  std::string_view beforeAttributes;  // lines between religion and attributes
  std::array<std::string_view, 4> attributes = {"1", "2", "3", "4"};
  std::string_view after;  // text between the attributes and the entry's end
};

std::string CharacterEntry(const CharacterText& c);

// A marriage entry of two ids; "status = wed" after them makes it count.
std::string MarriageEntry(int first, int second, std::string_view after = "status = wed");

// A whole save around these entries; with no marriages, an empty marriage section.
std::string SaveWith(std::string_view characters, std::string_view marriages = "",
                     std::string_view countries = kTestCountries,
                     std::string_view date = kTestStartDate);

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

// The text of a save with these characters in this order, the test countries, a marriage that does
// not count, and a counted marriage of each pair of ids in `marriages`.
std::string TestSaveText(const std::vector<TestCharacter>& characters,
                         const std::vector<std::pair<int, int>>& marriages = {});
