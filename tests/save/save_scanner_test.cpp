#include "save/save_scanner.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "support/save_builder.h"

namespace {

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
  for (std::string_view birth : births) characters += CharacterEntry({.birth = birth});
  std::vector<int> ages;
  for (const CharacterRecord& record : Scan(SaveWith(characters, "", kTestCountries, save)).roster) {
    ages.push_back(record.age);
  }
  return ages;
}

TEST(ScanSave, ReadsEveryFieldOfALivingCharacter) {
  const Scanned s = Scan(SaveWith(CharacterEntry({.id = 7,
                                     .name = "\x83\x74\x83\x42\x83\x8A\x83\x62\x83\x76",
                                     .gender = "f",
                                     .religion = "orthodox",
                                     .tag = "ENG\n",
                                     .attributes = {"12", "-3", "007", "  5 extra"}}),
                              MarriageEntry(7, 8)));
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
  EXPECT_EQ(Ages(kTestStartDate, {"11810206", "11810207", "12000206", "12010205", "12020205"}),
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
  const std::string entry = CharacterEntry({});
  EXPECT_EQ(Scan(SaveWith(entry, "", kTestCountries, "startdate = { year = 1200 month = march day = 5}\n"))
                .roster.size(),
            1u)
      << "the day ends at the first space anywhere after it";
  EXPECT_TRUE(Scan("startdate = { year = 1200").roster.empty());
  EXPECT_TRUE(Scan("startdate = { year = 1200 month").roster.empty());
  EXPECT_TRUE(Scan("startdate = { year = 1200 month = march day = 5").roster.empty());
}

TEST(ScanSave, MissingSectionsGiveNoRecords) {
  const std::string entry = CharacterEntry({});
  const std::string save = SaveWith(entry);
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
  const std::string entry = CharacterEntry({});
  EXPECT_EQ(Scan(SaveWith(entry, "", "")).roster.at(0).capital, 0) << "no country: no capitals";
  std::string save = SaveWith(entry);
  save.erase(save.find("include"));
  EXPECT_EQ(Scan(save).roster.at(0).capital, 120);
}

TEST(ScanSave, TagsCompareOnExactlyFourBytes) {
  // The country's tag is followed by a line feed, the character's by a space.
  const Scanned s = Scan(SaveWith(CharacterEntry({.tag = "FRA \n"}) + CharacterEntry({.tag = "FRA\n"})));
  ASSERT_EQ(s.roster.size(), 2u);
  EXPECT_EQ(s.roster[0].capital, 0);
  EXPECT_EQ(s.roster[1].capital, 120);
}

TEST(ScanSave, LaterCountryWithTheSameTagWins) {
  const std::string countries = std::string(kTestCountries) + "country = {\n    tag = FRA\n    capital = 99\n}\n";
  EXPECT_EQ(Scan(SaveWith(CharacterEntry({}), "", countries)).roster.at(0).capital, 99);
}

TEST(ScanSave, OnlyMarriagesFollowedByTheStatusByteCount) {
  const std::string characters = CharacterEntry({.id = 1}) + CharacterEntry({.id = 2}) + CharacterEntry({.id = 3}) +
                                 CharacterEntry({.id = 4}) + CharacterEntry({.id = 5});
  const std::string marriages = MarriageEntry(1, 2, "divorced = yes") + MarriageEntry(3, 4) + MarriageEntry(2, 5);
  std::vector<int> married;
  for (const CharacterRecord& r : Scan(SaveWith(characters, marriages)).roster) married.push_back(r.married);
  EXPECT_EQ(married, (std::vector<int>{0, 1, 1, 1, 1}));
}

TEST(ScanSave, DeathDateCountsOnlyBetweenReligionAndAttributes) {
  const std::string characters =
      CharacterEntry({.name = "dead", .beforeAttributes = "    deathdate = \"11990101\"\n"}) +
      CharacterEntry({.name = "after", .after = "    deathdate = \"11990101\"\n"}) +
      CharacterEntry({.name = "before", .beforeReligion = "    deathdate = \"11990101\"\n"});
  EXPECT_EQ(Names(Scan(SaveWith(characters)).roster), (std::vector<std::string>{"after", "before"}));
}

TEST(ScanSave, EmptyValuesGiveZeroCodesAndEmptyName) {
  const Scanned s = Scan(SaveWith(CharacterEntry({.name = "", .gender = "", .religion = ""})));
  ASSERT_EQ(s.roster.size(), 1u);
  EXPECT_STREQ(s.roster[0].name, "");
  EXPECT_EQ(s.roster[0].gender, 0);
  EXPECT_EQ(s.roster[0].religion, 0);
}

TEST(ScanSave, CharacterCodesAreSignExtendedBytes) {
  const Scanned s = Scan(SaveWith(CharacterEntry({.gender = "\x83\x7D", .religion = "M"})));
  ASSERT_EQ(s.roster.size(), 1u);
  EXPECT_EQ(s.roster[0].gender, static_cast<signed char>('\x83'));
  EXPECT_EQ(s.roster[0].religion, 'M');
}

TEST(ScanSave, SectionsBoundWhatIsRead) {
  std::string save = SaveWith(CharacterEntry({.name = "inside"}), MarriageEntry(1, 2));
  // A character after the title line, a marriage inside the character section, a country before
  // the title line: none of them is read.
  save.replace(save.find("title = {"), 9, "title = {\n" + CharacterEntry({.name = "outside"}));
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
  EXPECT_EQ(Names(Scan(SaveWith(CharacterEntry({.name = "outer", .after = nested}))).roster),
            (std::vector<std::string>{"outer", "nested"}));
}

TEST(ScanSave, NumbersSaturateAndTheTotalWraps) {
  const Scanned s = Scan(SaveWith(CharacterEntry({.birth = "-99999999999999",
                                     .attributes = {"2147483647", "1", "99999999999", "0"}}) +
                              CharacterEntry({.attributes = {"-99999999999", "-1", "0", "0"}})));
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
  const std::string save =
      SaveWith(CharacterEntry({.id = 1}) +
                   CharacterEntry({.id = 2, .beforeAttributes = "    deathdate = \"1\"\n"}),
               MarriageEntry(1, 2));
  Scanned s = Scan(save);
  std::size_t cuts = 0;
  for (std::size_t i = 0; i < save.size(); ++i) {
    if (s.text[i] == save[i]) continue;
    EXPECT_EQ(s.text[i], '\0') << "at " << i;
    ++cuts;
  }
  // Sections 3, start date 3, three countries 2 each, one marriage 2, a living character 11, a
  // dead one 7.
  EXPECT_EQ(cuts, 3u + 3u + 6u + 2u + 11u + 7u);
}

// The character section's entries may run into the end of the text past the title line's cut; a
// text that ends inside an entry keeps the records before it and never reads past its end.
TEST(ScanSave, TextEndingInsideAnEntryKeepsTheRecordsBeforeIt) {
  const std::string head = std::string(kTestStartDate) + "marrige\n";
  const std::string first = CharacterEntry({.name = "first"});
  const std::string second = CharacterEntry({.name = "second"});
  const std::size_t complete = second.find('\n', second.find("stewardship")) + 1;
  for (std::size_t cut = 0; cut <= second.size(); ++cut) {
    const Scanned s = Scan(head + first + second.substr(0, cut) + "\ntitle");
    const std::vector<std::string> expected =
        cut >= complete ? std::vector<std::string>{"first", "second"} : std::vector<std::string>{"first"};
    EXPECT_EQ(Names(s.roster), expected) << "cut at " << cut;
  }
}

TEST(ScanSave, TextEndingInsideTheCountriesKeepsTheCapitalsBeforeIt) {
  std::string save = SaveWith(CharacterEntry({.tag = "ENG\n"}));
  save.erase(save.find("include"));
  const std::size_t complete = save.find('\n', save.find("capital = 236")) + 1;
  for (std::size_t cut = save.find("country"); cut <= save.size(); ++cut) {
    const Scanned s = Scan(save.substr(0, cut));
    ASSERT_EQ(s.roster.size(), 1u) << "cut at " << cut;
    EXPECT_EQ(s.roster[0].capital, cut >= complete ? 236 : 0) << "cut at " << cut;
  }
}

}  // namespace

TEST(ScanSave, ReportsWhetherItReachedTheCharacters) {
  const auto reached = [](std::string save) {
    Roster roster;
    return ScanSave(save.data(), roster);
  };
  const std::string living = CharacterEntry({});
  EXPECT_TRUE(reached(SaveWith(living)));
  EXPECT_TRUE(reached(SaveWith(living, "", "")));  // no countries: capital 0
  EXPECT_TRUE(reached(SaveWith(CharacterEntry({.beforeAttributes = "deathdate = \"1\"\n"}))));
  // Each of the four places that lead to the characters, taken away in turn.
  const std::string save = SaveWith(living);
  for (const std::string_view needed :
       {std::string_view("startdate"), std::string_view("marrige"), std::string_view("\ncharacter"),
        std::string_view("\ntitle")}) {
    std::string without = save;
    without.replace(without.find(needed), needed.size(), "other");
    EXPECT_FALSE(reached(without)) << needed;
  }
  for (const char* text : {"", "a character\nwithout a realm", "country = { capital = 1 }"}) {
    EXPECT_FALSE(reached(text)) << text;
  }
}
