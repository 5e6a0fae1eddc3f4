#include "save/save_scanner.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view kStartDate = "startdate = { year = 1200 month = march day = 5 }\n";
constexpr std::string_view kCountries =
    "country = {\n    tag = FRA\n    capital = 120\n}\n"
    "country = {\n    tag = ENG\n    capital = 236\n}\n";

struct Character {
  int id = 1;
  std::string_view name = "Philippe";
  std::string_view birth = "11810206";
  std::string_view gender = "m";
  std::string_view religion = "catholic";
  std::string_view tag = "FRA\n";
  std::string_view beforeReligion;    // lines between gender and religion
  std::string_view beforeAttributes;  // lines between religion and attributes
  std::array<std::string_view, 4> attributes = {"1", "2", "3", "4"};
  std::string_view after;             // text between the attributes and the entry's end
};

std::string Entry(const Character& c) {
  std::string s = "character = {\n    id = { type = 41 id = " + std::to_string(c.id) + " }\n";
  s += "    tag = " + std::string(c.tag) + "    name = \"" + std::string(c.name) + "\"\n";
  s += "    culture = frankish\n    birthdate = \"" + std::string(c.birth) + "\"\n";
  s += "    gender = " + std::string(c.gender) + "\n" + std::string(c.beforeReligion);
  s += "    religion = " + std::string(c.religion) + "\n" + std::string(c.beforeAttributes);
  s += "    attributes = {\n";
  static constexpr std::array<std::string_view, 4> kNames = {"martial", "diplomacy", "intrigue",
                                                             "stewardship"};
  for (std::size_t i = 0; i < 4; ++i) {
    s += "        " + std::string(kNames[i]) + " = " + std::string(c.attributes[i]) + "\n";
  }
  return s + "    }\n" + std::string(c.after) + "}\n";
}

std::string Marriage(int first, int second, std::string_view after = "status = wed") {
  return "marrige = {\n    husband = { type = 41 id = " + std::to_string(first) +
         " }\n    wife = { type = 41 id = " + std::to_string(second) + " } " + std::string(after) +
         "\n}\n";
}

std::string Save(std::string_view characters, std::string_view marriages = "",
                 std::string_view countries = kCountries, std::string_view date = kStartDate) {
  std::string s = "version = \"1.05\"\n" + std::string(date);
  s += marriages.empty() ? "marrige = {\n}\n" : std::string(marriages);
  s += std::string(characters) + "title = {\n    id = k_france\n}\n";
  return s + std::string(countries) + "include = \"common/history.txt\"\n";
}

// A scanned text together with the roster whose names point into it.
struct Scanned {
  std::vector<char> text;
  Roster roster;
};

Scanned Scan(std::string_view save) {
  Scanned scanned{std::vector<char>(save.begin(), save.end()), {}};
  scanned.text.push_back('\0');
  ScanSave(scanned.text.data(), scanned.roster);
  return scanned;
}

std::vector<std::string> Names(const Roster& roster) {
  std::vector<std::string> names;
  for (const CharacterRecord& record : roster) names.emplace_back(record.name);
  return names;
}

std::vector<int> Ages(std::string_view save, std::initializer_list<std::string_view> births) {
  std::string characters;
  for (std::string_view birth : births) characters += Entry({.birth = birth});
  std::vector<int> ages;
  for (const CharacterRecord& record : Scan(Save(characters, "", kCountries, save)).roster) {
    ages.push_back(record.age);
  }
  return ages;
}

TEST(ScanSave, ReadsEveryFieldOfALivingCharacter) {
  const Scanned s = Scan(Save(Entry({.id = 7,
                                     .name = "\x83\x74\x83\x42\x83\x8A\x83\x62\x83\x76",
                                     .gender = "f",
                                     .religion = "orthodox",
                                     .tag = "ENG\n",
                                     .attributes = {"12", "-3", "007", "  5 extra"}}),
                              Marriage(7, 8)));
  ASSERT_EQ(s.roster.size(), 1u);
  const CharacterRecord& r = s.roster[0];
  EXPECT_STREQ(r.name, "\x83\x74\x83\x42\x83\x8A\x83\x62\x83\x76");
  EXPECT_EQ(r.gender, 'f');
  EXPECT_EQ(r.religion, 'o');
  EXPECT_EQ(r.age, 19);
  EXPECT_EQ(r.capital, 236);
  EXPECT_EQ(r.martial, 12);
  EXPECT_EQ(r.diplomacy, -3);
  EXPECT_EQ(r.intrigue, 7);
  EXPECT_EQ(r.stewardship, 5);
  EXPECT_EQ(r.total, 21);
  EXPECT_EQ(r.married, 1);
  EXPECT_GE(r.name, s.text.data());
  EXPECT_LT(r.name, s.text.data() + s.text.size()) << "the name is used where it stands";
}

TEST(ScanSave, AgeTruncatesTowardZeroWithThePlusOneOfTheFormula) {
  EXPECT_EQ(Ages(kStartDate, {"11810206", "11810207", "12000206", "12010205", "12020205"}),
            (std::vector<int>{19, 18, 0, 0, -1}));
}

TEST(ScanSave, StartDateMonthsAndUnknownMonth) {
  EXPECT_EQ(Ages("startdate = { year = 1200 month = december day = 31 }\n", {"11001132", "11001133"}),
            (std::vector<int>{100, 99}));
  // Month names compare exactly; an unknown one counts as month 0, one month before january.
  EXPECT_EQ(Ages("startdate = { year = 1200 month = march day = 5 }\n", {"11989907"}),
            std::vector<int>{1});
  EXPECT_EQ(Ages("startdate = { year = 1200 month = March day = 5 }\n", {"11989907", "11989906"}),
            (std::vector<int>{0, 1}));
}

TEST(ScanSave, UnreadableStartDateGivesNoRecords) {
  const std::string entry = Entry({});
  EXPECT_EQ(Scan(Save(entry, "", kCountries, "startdate = { year = 1200 month = march day = 5}\n"))
                .roster.size(),
            1u)
      << "the day ends at the first space anywhere after it";
  EXPECT_TRUE(Scan("startdate = { year = 1200").roster.empty());
  EXPECT_TRUE(Scan("startdate = { year = 1200 month").roster.empty());
  EXPECT_TRUE(Scan("startdate = { year = 1200 month = march day = 5").roster.empty());
}

TEST(ScanSave, MissingSectionsGiveNoRecords) {
  const std::string entry = Entry({});
  const std::string save = Save(entry);
  ASSERT_EQ(Scan(save).roster.size(), 1u);
  auto without = [&](std::string_view what, std::string_view replacement) {
    std::string changed = save;
    changed.replace(changed.find(what), what.size(), replacement);
    return Scan(changed).roster.size();
  };
  EXPECT_EQ(without("startdate = { year = ", "startdate = {year = "), 0u);
  EXPECT_EQ(without("marrige", "marriage"), 0u);
  EXPECT_EQ(without("\ncharacter", "\n character"), 0u) << "the section needs a line beginning with it";
  EXPECT_EQ(without("\ntitle", "\n title"), 0u);
}

TEST(ScanSave, CountriesAreOptionalAndRunToTheEndWithoutInclude) {
  const std::string entry = Entry({});
  EXPECT_EQ(Scan(Save(entry, "", "")).roster.at(0).capital, 0) << "no country: no capitals";
  std::string save = Save(entry);
  save.erase(save.find("include"));
  EXPECT_EQ(Scan(save).roster.at(0).capital, 120);
}

TEST(ScanSave, TagsCompareOnExactlyFourBytes) {
  // The country's tag is followed by a line feed, the character's by a space.
  const Scanned s = Scan(Save(Entry({.tag = "FRA \n"}) + Entry({.tag = "FRA\n"})));
  ASSERT_EQ(s.roster.size(), 2u);
  EXPECT_EQ(s.roster[0].capital, 0);
  EXPECT_EQ(s.roster[1].capital, 120);
}

TEST(ScanSave, LaterCountryWithTheSameTagWins) {
  const std::string countries = std::string(kCountries) + "country = {\n    tag = FRA\n    capital = 99\n}\n";
  EXPECT_EQ(Scan(Save(Entry({}), "", countries)).roster.at(0).capital, 99);
}

TEST(ScanSave, OnlyMarriagesFollowedByTheStatusByteCount) {
  const std::string characters = Entry({.id = 1}) + Entry({.id = 2}) + Entry({.id = 3}) +
                                 Entry({.id = 4}) + Entry({.id = 5});
  const std::string marriages = Marriage(1, 2, "divorced = yes") + Marriage(3, 4) + Marriage(2, 5);
  std::vector<int> married;
  for (const CharacterRecord& r : Scan(Save(characters, marriages)).roster) married.push_back(r.married);
  EXPECT_EQ(married, (std::vector<int>{0, 1, 1, 1, 1}));
}

TEST(ScanSave, DeathDateCountsOnlyBetweenReligionAndAttributes) {
  const std::string characters =
      Entry({.name = "dead", .beforeAttributes = "    deathdate = \"11990101\"\n"}) +
      Entry({.name = "after", .after = "    deathdate = \"11990101\"\n"}) +
      Entry({.name = "before", .beforeReligion = "    deathdate = \"11990101\"\n"});
  EXPECT_EQ(Names(Scan(Save(characters)).roster), (std::vector<std::string>{"after", "before"}));
}

TEST(ScanSave, EmptyValuesGiveZeroCodesAndEmptyName) {
  const Scanned s = Scan(Save(Entry({.name = "", .gender = "", .religion = ""})));
  ASSERT_EQ(s.roster.size(), 1u);
  EXPECT_STREQ(s.roster[0].name, "");
  EXPECT_EQ(s.roster[0].gender, 0);
  EXPECT_EQ(s.roster[0].religion, 0);
}

TEST(ScanSave, CharacterCodesAreSignExtendedBytes) {
  const Scanned s = Scan(Save(Entry({.gender = "\x83\x7D", .religion = "M"})));
  ASSERT_EQ(s.roster.size(), 1u);
  EXPECT_EQ(s.roster[0].gender, static_cast<signed char>('\x83'));
  EXPECT_EQ(s.roster[0].religion, 'M');
}

TEST(ScanSave, SectionsBoundWhatIsRead) {
  std::string save = Save(Entry({.name = "inside"}), Marriage(1, 2));
  // A character after the title line, a marriage inside the character section, a country before
  // the title line: none of them is read.
  save.replace(save.find("title = {"), 9, "title = {\n" + Entry({.name = "outside"}));
  save.insert(save.find("character = {"), "country = {\n    tag = FRA\n    capital = 5\n}\n");
  const Scanned s = Scan(save);
  EXPECT_EQ(Names(s.roster), std::vector<std::string>{"inside"});
  EXPECT_EQ(s.roster[0].capital, 120);
  EXPECT_EQ(s.roster[0].married, 1);
}

TEST(ScanSave, CharacterAfterAnEntrysLastValueStartsTheNextEntry) {
  const std::string nested = "    character = {\n    id = { type = 41 id = 9 }\n    tag = ENG\n"
                             "    name = \"nested\"\n    birthdate = \"11900101\"\n    gender = f\n"
                             "    religion = pagan\n    attributes = {\n    martial = 1\n"
                             "    diplomacy = 1\n    intrigue = 1\n    stewardship = 1\n";
  EXPECT_EQ(Names(Scan(Save(Entry({.name = "outer", .after = nested}))).roster),
            (std::vector<std::string>{"outer", "nested"}));
}

TEST(ScanSave, NumbersSaturateAndTheTotalWraps) {
  const Scanned s = Scan(Save(Entry({.birth = "-99999999999999",
                                     .attributes = {"2147483647", "1", "99999999999", "0"}}) +
                              Entry({.attributes = {"-99999999999", "-1", "0", "0"}})));
  ASSERT_EQ(s.roster.size(), 2u);
  EXPECT_EQ(s.roster[0].age, (12000205LL - INT_MIN + 1) / 10000) << "the birth value saturates";
  EXPECT_EQ(s.roster[0].martial, INT_MAX);
  EXPECT_EQ(s.roster[0].intrigue, INT_MAX);
  EXPECT_EQ(s.roster[0].total, -1) << "INT_MAX + 1 + INT_MAX wraps";
  EXPECT_EQ(s.roster[1].martial, INT_MIN);
  EXPECT_EQ(s.roster[1].total, INT_MAX) << "INT_MIN - 1 wraps";
  // A year beyond 32 bits saturates; the date and the age are formed in 64 bits, and the age
  // saturates in turn.
  EXPECT_EQ(Ages("startdate = { year = 99999999999 month = march day = 5 }\n", {"0"}),
            std::vector<int>{INT_MAX});
  EXPECT_EQ(Ages("startdate = { year = -99999999999 month = march day = 5 }\n", {"2147483647"}),
            std::vector<int>{INT_MIN});
}

TEST(ScanSave, OverwritesOnlyTheDelimitersItCuts) {
  const std::string save = Save(Entry({.id = 1}) + Entry({.id = 2, .beforeAttributes = "    deathdate = \"1\"\n"}),
                                Marriage(1, 2));
  Scanned s = Scan(save);
  std::size_t cuts = 0;
  for (std::size_t i = 0; i < save.size(); ++i) {
    if (s.text[i] == save[i]) continue;
    EXPECT_EQ(s.text[i], '\0') << "at " << i;
    ++cuts;
  }
  // Sections 3, start date 3, two countries 2 each, one marriage 2, a living character 11, a dead
  // one 7.
  EXPECT_EQ(cuts, 3u + 3u + 4u + 2u + 11u + 7u);
}

// The character section's entries may run into the end of the text past the title line's cut; a
// text that ends inside an entry keeps the records before it and never reads past its end.
TEST(ScanSave, TextEndingInsideAnEntryKeepsTheRecordsBeforeIt) {
  const std::string head = std::string(kStartDate) + "marrige\n";
  const std::string first = Entry({.name = "first"});
  const std::string second = Entry({.name = "second"});
  const std::size_t complete = second.find('\n', second.find("stewardship")) + 1;
  for (std::size_t cut = 0; cut <= second.size(); ++cut) {
    const Scanned s = Scan(head + first + second.substr(0, cut) + "\ntitle");
    const std::vector<std::string> expected =
        cut >= complete ? std::vector<std::string>{"first", "second"} : std::vector<std::string>{"first"};
    EXPECT_EQ(Names(s.roster), expected) << "cut at " << cut;
  }
}

TEST(ScanSave, TextEndingInsideTheCountriesKeepsTheCapitalsBeforeIt) {
  std::string save = Save(Entry({.tag = "ENG\n"}));
  save.erase(save.find("include"));
  const std::size_t complete = save.find('\n', save.find("capital = 236")) + 1;
  for (std::size_t cut = save.find("country"); cut <= save.size(); ++cut) {
    const Scanned s = Scan(save.substr(0, cut));
    ASSERT_EQ(s.roster.size(), 1u) << "cut at " << cut;
    EXPECT_EQ(s.roster[0].capital, cut >= complete ? 236 : 0) << "cut at " << cut;
  }
}

}  // namespace
