#include "ui/roster_query.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "ui/roster_rows.h"

namespace {

// Every record aged 0 to 100.
constexpr SearchCriteria kEveryone{0, 100, kGenderAll, kReligionAll, kMaritalAll};

// kDefaultSearch, the window's defaults: 16 to 30, 男(m), カトリック(c), 未婚.
constexpr SearchCriteria kDefaults = kDefaultSearch;

CharacterRecord Person(const char* name, std::int32_t age, std::int32_t total = 0,
                       std::int32_t gender = 'm', std::int32_t religion = 'c',
                       std::int32_t married = 0) {
  CharacterRecord record;
  record.name = name;
  record.gender = gender;
  record.religion = religion;
  record.age = age;
  record.total = total;
  record.married = married;
  return record;
}

std::intptr_t Context(const Roster& roster) { return reinterpret_cast<std::intptr_t>(&roster); }

// Inserts a row at the top with `name` as its only text and `data` as its item data.
void InsertRow(RosterRows& rows, std::string_view name, std::uint32_t data = 0) {
  const std::string_view cells[RosterRows::kColumnCount] = {name};
  rows.InsertItem(cells, data);
}

std::vector<std::uint32_t> Data(const RosterRows& rows) {
  std::vector<std::uint32_t> data;
  for (int row = 0; row < rows.GetItemCount(); ++row) data.push_back(rows.GetItemData(row));
  return data;
}

// The sort state is process-wide; every test starts from the program's initial one and leaves it
// as it found it.
class RosterQuery : public ::testing::Test {
 protected:
  void SetUp() override {
    g_nSortColumn = 9;
    g_nSortDirection = -1;
  }
  void TearDown() override {
    g_nSortColumn = 9;
    g_nSortDirection = -1;
  }
  std::int32_t Compare(const Roster& roster, std::intptr_t a, std::intptr_t b, std::int32_t column,
                       std::int32_t direction) {
    g_nSortColumn = column;
    g_nSortDirection = direction;
    return CompareRosterItems(a, b, Context(roster));
  }
};

}  // namespace

TEST_F(RosterQuery, AgeBoundsAreInclusive) {
  EXPECT_FALSE(RecordMatches(Person("a", 15), kDefaults));
  EXPECT_TRUE(RecordMatches(Person("a", 16), kDefaults));
  EXPECT_TRUE(RecordMatches(Person("a", 30), kDefaults));
  EXPECT_FALSE(RecordMatches(Person("a", 31), kDefaults));
  EXPECT_FALSE(RecordMatches(Person("a", 20), SearchCriteria{21, 20, 0, 0, 0}));
  EXPECT_TRUE(RecordMatches(Person("a", INT_MIN), SearchCriteria{INT_MIN, INT_MIN, 0, 0, 0}));
  EXPECT_FALSE(RecordMatches(Person("a", -1), kEveryone));
}

TEST_F(RosterQuery, GenderChoiceComparesTheWholeCode) {
  const auto matches = [](std::int32_t gender, std::int32_t choice) {
    return RecordMatches(Person("a", 20, 0, gender), SearchCriteria{0, 100, choice, 0, 0});
  };
  for (const std::int32_t gender : {std::int32_t{'m'}, std::int32_t{'f'}, std::int32_t{'M'}, 0, 'm' + 256}) EXPECT_TRUE(matches(gender, 0));
  EXPECT_TRUE(matches('m', 1));
  EXPECT_FALSE(matches('M', 1));
  EXPECT_FALSE(matches(0, 1));
  EXPECT_FALSE(matches('m' + 256, 1));
  EXPECT_FALSE(matches('f', 1));
  EXPECT_TRUE(matches('f', 2));
  EXPECT_FALSE(matches('m', 2));
  EXPECT_FALSE(matches('m', 3));
  EXPECT_FALSE(matches('m', -1));
}

TEST_F(RosterQuery, ReligionChoiceEachOfFiveAndNoOther) {
  const std::int32_t codes[] = {'c', 'o', 'p', 'm'};
  for (std::int32_t choice = 1; choice <= 4; ++choice) {
    for (const std::int32_t code : codes) {
      const bool expected = code == codes[choice - 1];
      EXPECT_EQ(RecordMatches(Person("a", 20, 0, 'f', code), SearchCriteria{0, 100, 0, choice, 0}),
                expected)
          << choice << " " << code;
    }
  }
  EXPECT_TRUE(RecordMatches(Person("a", 20, 0, 'f', 0), kEveryone));
  EXPECT_FALSE(RecordMatches(Person("a", 20, 0, 'f', 'C'), SearchCriteria{0, 100, 0, 1, 0}));
  EXPECT_FALSE(RecordMatches(Person("a", 20, 0, 'f', 'c'), SearchCriteria{0, 100, 0, 5, 0}));
  EXPECT_FALSE(RecordMatches(Person("a", 20, 0, 'f', 'c'), SearchCriteria{0, 100, 0, -1, 0}));
  // Islam and male share the code 'm' but are tested on their own fields.
  EXPECT_TRUE(RecordMatches(Person("a", 20, 0, 'm', 'm'), SearchCriteria{0, 100, 1, 4, 0}));
  EXPECT_FALSE(RecordMatches(Person("a", 20, 0, 'm', 'c'), SearchCriteria{0, 100, 0, 4, 0}));
}

TEST_F(RosterQuery, MaritalChoiceMarriedMeansExactlyOne) {
  const auto matches = [](std::int32_t married, std::int32_t choice) {
    return RecordMatches(Person("a", 20, 0, 'm', 'c', married), SearchCriteria{0, 100, 0, 0, choice});
  };
  EXPECT_TRUE(matches(0, 0));
  EXPECT_TRUE(matches(1, 0));
  EXPECT_TRUE(matches(1, 1));
  EXPECT_FALSE(matches(0, 1));
  EXPECT_FALSE(matches(2, 1));
  EXPECT_TRUE(matches(0, 2));
  EXPECT_TRUE(matches(2, 2));
  EXPECT_TRUE(matches(-1, 2));
  EXPECT_FALSE(matches(1, 2));
  EXPECT_FALSE(matches(0, 3));
  EXPECT_FALSE(matches(0, -1));
}

TEST_F(RosterQuery, ComparesNumbersByTheirDifferenceInEitherDirection) {
  Roster roster{Person("a", 20, 10), Person("b", 25, 3), Person("c", 20, 3)};
  EXPECT_EQ(Compare(roster, 0, 1, 9, -1), -7);
  EXPECT_EQ(Compare(roster, 0, 1, 9, 1), 7);
  EXPECT_EQ(Compare(roster, 0, 1, 3, 1), -5);
  EXPECT_EQ(Compare(roster, 0, 1, 3, -1), 5);
  EXPECT_EQ(Compare(roster, 0, 2, 3, 1), 0);
  EXPECT_EQ(Compare(roster, 0, 2, 3, -1), 0);
  EXPECT_EQ(Compare(roster, 1, 2, 1, 1), 0);  // both 'm'
  roster[1].gender = 'f';
  EXPECT_EQ(Compare(roster, 1, 2, 1, 1), 'f' - 'm');
}

TEST_F(RosterQuery, ComparisonKeepsItsSignWhereThirtyTwoBitsWouldOverflow) {
  const Roster roster{Person("max", INT_MAX, INT_MAX), Person("min", INT_MIN, INT_MIN),
                      Person("neg", -1, -1)};
  EXPECT_EQ(Compare(roster, 0, 1, 9, 1), INT_MAX);
  EXPECT_EQ(Compare(roster, 1, 0, 9, 1), INT_MIN);
  EXPECT_EQ(Compare(roster, 0, 1, 9, -1), INT_MIN);
  EXPECT_EQ(Compare(roster, 1, 0, 9, -1), INT_MAX);
  EXPECT_EQ(Compare(roster, 0, 2, 3, 1), INT_MAX);
  EXPECT_EQ(Compare(roster, 2, 1, 3, -1), -INT_MAX);
  // A direction other than ±1 scales the difference, still without wrapping.
  EXPECT_EQ(Compare(roster, 2, 1, 3, INT_MIN), INT_MIN);
  EXPECT_EQ(Compare(roster, 0, 2, 0, INT_MIN), INT_MAX);  // "max" before "neg", reversed
  EXPECT_EQ(Compare(roster, 2, 0, 0, INT_MIN), INT_MIN);
}

TEST_F(RosterQuery, ComparesNamesAsUnsignedBytes) {
  const Roster roster{Person("Zed", 20),  Person("abc", 20),      Person("ab", 20),
                      Person("abc", 21), Person("\x83\x41", 20), Person("", 20)};
  EXPECT_LT(Compare(roster, 0, 1, 0, 1), 0);  // upper case before lower case
  EXPECT_GT(Compare(roster, 0, 1, 0, -1), 0);
  EXPECT_EQ(Compare(roster, 2, 1, 0, 1), -1);  // a prefix first
  EXPECT_EQ(Compare(roster, 2, 1, 0, -1), 1);
  EXPECT_EQ(Compare(roster, 1, 3, 0, 1), 0);
  EXPECT_EQ(Compare(roster, 1, 3, 0, -1), 0);
  EXPECT_EQ(Compare(roster, 4, 1, 0, 1), 1);  // a double-byte character after every ASCII one
  EXPECT_EQ(Compare(roster, 5, 0, 0, 1), -1);
}

TEST_F(RosterQuery, RowsBeyondTheRosterCompareAsABlankRecord) {
  Roster roster{Person("abc", 20, 5), Person(nullptr, 0, 0)};
  roster[1].gender = 0;
  roster[1].religion = 0;
  EXPECT_EQ(Compare(roster, 0, 7, 9, 1), 5);
  EXPECT_EQ(Compare(roster, 7, 0, 3, 1), -20);
  EXPECT_EQ(Compare(roster, 7, 1, 1, 1), 0);
  EXPECT_EQ(Compare(roster, 0, 0xFFFFFFFF, 0, 1), 1);
  EXPECT_EQ(Compare(roster, 1, 0xFFFFFFFF, 0, 1), 0);  // a record without a name is blank too
  EXPECT_EQ(Compare(roster, -1, 0, 0, 1), -1);
  g_nSortColumn = 3;
  EXPECT_EQ(CompareRosterItems(0, 1, 0), 0);  // no roster at all
}

TEST_F(RosterQuery, SearchFillsCellsAsTheTableShowsThem) {
  CharacterRecord record = Person("\x83\x74\x83\x42\x83\x8A\x83\x62\x83\x76", 18, -3, 'm' + 0x100);
  record.religion = 0;
  record.capital = -2147483647 - 1;
  record.martial = 1;
  record.diplomacy = -2;
  record.intrigue = 100;
  record.stewardship = 0;
  const Roster roster{record};
  RosterRows rows;
  SearchRoster(rows, roster, kEveryone);
  ASSERT_EQ(rows.GetItemCount(), 1);
  const char* expected[] = {"\x83\x74\x83\x42\x83\x8A\x83\x62\x83\x76",
                            "m", "", "18", "-2147483648", "1", "-2", "100", "0", "-3"};
  for (int column = 0; column < RosterRows::kColumnCount; ++column) {
    EXPECT_EQ(rows.GetItemText(0, column), expected[column]) << column;
  }
  EXPECT_EQ(rows.GetItemData(0), 0u);
}

TEST_F(RosterQuery, SearchListsMatchesByTotalDescendingWithTiesInReverseRosterOrder) {
  const Roster roster{Person("a", 20, 5),  Person("b", 40, 9), Person("c", 20, 9),
                      Person("d", 30, 1),  Person("e", 16, 9), Person("f", 20, 9, 'f'),
                      Person("g", 15, 99), Person("h", 25, 5)};
  RosterRows rows;
  SearchRoster(rows, roster, kDefaults);
  EXPECT_EQ(Data(rows), (std::vector<std::uint32_t>{4, 2, 7, 0, 3}));
  EXPECT_EQ(g_nSortColumn, 9);
  EXPECT_EQ(g_nSortDirection, -1);
  FillRosterRows(rows, roster, kDefaults);
  EXPECT_EQ(Data(rows), (std::vector<std::uint32_t>{7, 4, 3, 2, 0}));
}

TEST_F(RosterQuery, SearchReplacesEveryRowAndEmptyRosterGivesNone) {
  RosterRows rows;
  InsertRow(rows, "left over");
  SearchRoster(rows, Roster{}, kDefaults);
  EXPECT_EQ(rows.GetItemCount(), 0);
  InsertRow(rows, "left over");
  SearchRoster(rows, Roster{Person("a", 20)}, SearchCriteria{0, 100, -1, 0, 0});
  EXPECT_EQ(rows.GetItemCount(), 0);
}

TEST_F(RosterQuery, HeaderClicksAlternateTheDirectionWhicheverColumn) {
  const Roster roster{Person("b", 20, 5), Person("a", 22, 7), Person("c", 22, 6),
                      Person("a", 20, 7)};
  RosterRows rows;
  SearchRoster(rows, roster, kDefaults);
  ClickRosterColumn(rows, roster, 9);  // total ascending
  EXPECT_EQ(Data(rows), (std::vector<std::uint32_t>{0, 2, 3, 1}));
  ClickRosterColumn(rows, roster, 0);  // name descending
  EXPECT_EQ(Data(rows), (std::vector<std::uint32_t>{2, 0, 3, 1}));
  ClickRosterColumn(rows, roster, 0);  // name ascending
  EXPECT_EQ(Data(rows), (std::vector<std::uint32_t>{3, 1, 0, 2}));
  ClickRosterColumn(rows, roster, 3);  // age descending, names ascending within an age
  EXPECT_EQ(Data(rows), (std::vector<std::uint32_t>{1, 2, 3, 0}));
  EXPECT_EQ(g_nSortColumn, 3);
  EXPECT_EQ(g_nSortDirection, -1);
}

TEST_F(RosterQuery, HeaderClickOnAnEmptyTableStillChangesTheSortState) {
  RosterRows rows;
  ClickRosterColumn(rows, Roster{}, 4);
  EXPECT_EQ(g_nSortColumn, 4);
  EXPECT_EQ(g_nSortDirection, 1);
  EXPECT_EQ(rows.GetItemCount(), 0);
}

TEST_F(RosterQuery, HeaderClickSortsStaleRowsByTheRecordsNowAtTheirIndexes) {
  const Roster earlier{Person("a", 20, 1), Person("b", 20, 2), Person("c", 20, 3),
                       Person("d", 20, 4)};
  RosterRows rows;
  SearchRoster(rows, earlier, kDefaults);
  // A load without a Search: the rows stay, the roster is now shorter and different.
  const Roster current{Person("x", 50, 8), Person("y", 50, 9)};
  ClickRosterColumn(rows, current, 9);  // ascending: indexes 2 and 3 are blank, total 0
  EXPECT_EQ(Data(rows), (std::vector<std::uint32_t>{3, 2, 0, 1}));
  EXPECT_EQ(rows.GetItemText(0, 0), "d");  // the texts are the rows' own
  ClickRosterColumn(rows, current, 0);     // descending: blank names last
  EXPECT_EQ(Data(rows), (std::vector<std::uint32_t>{1, 0, 3, 2}));
}

TEST_F(RosterQuery, SortAgreesWithPairwiseComparisonOnEveryColumnAndDirection) {
  // Extremes, ties, long names with shared prefixes, empty and missing names, and rows whose
  // records are gone: the sort must give exactly the order of the comparison itself.
  std::mt19937 random(1187);
  const std::vector<std::string> names = {"", "a", "ab", "abcdefgh", "abcdefghi", "abcdefghij",
                                          "abcdefgz", "\x83\x41\x83\x42\x83\x43\x83\x44\x83",
                                          "ABCDEFGHIJ", "\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\x01"};
  const std::int32_t numbers[] = {INT_MIN, INT_MIN + 1, -1, 0, 1, 2, 255, 256, INT_MAX - 1, INT_MAX};
  Roster roster;
  for (int i = 0; i < 300; ++i) {
    CharacterRecord record;
    const std::size_t name = random() % (names.size() + 1);
    record.name = name < names.size() ? names[name].c_str() : nullptr;
    std::int32_t* fields[] = {&record.gender,   &record.religion,  &record.age,
                              &record.capital,  &record.martial,   &record.diplomacy,
                              &record.intrigue, &record.stewardship, &record.total,
                              &record.married};
    for (std::int32_t* field : fields) *field = numbers[random() % std::size(numbers)];
    roster.push_back(record);
  }
  for (std::int32_t column = 0; column <= 11; ++column) {
    for (const std::int32_t direction : {1, -1, 0, 3, INT_MIN, INT_MAX}) {
      RosterRows sorted;
      for (std::uint32_t i = 0; i < 400; ++i) {
        InsertRow(sorted, "", i % 7 == 0 ? 0xFFFFFFF0u + i % 16 : random() % 330);
      }
      // The rows as they stand, stably sorted by the comparison itself.
      std::vector<std::uint32_t> expected = Data(sorted);
      g_nSortColumn = column;
      g_nSortDirection = direction;
      std::stable_sort(expected.begin(), expected.end(), [&](std::uint32_t a, std::uint32_t b) {
        return CompareRosterItems(a, b, Context(roster)) < 0;
      });
      SortRosterRows(sorted, roster);
      ASSERT_EQ(Data(sorted), expected) << "column " << column << " direction " << direction;
    }
  }
}

TEST(SearchChoices, AreTheListsIndexesAsDisplayed) {
  // The gender, religion and (sorted) marital lists as the window displays them.
  EXPECT_EQ((std::vector<int>{kGenderAll, kGenderMale, kGenderFemale}),
            (std::vector<int>{0, 1, 2}));
  EXPECT_EQ((std::vector<int>{kReligionAll, kReligionCatholic, kReligionOrthodox, kReligionPagan,
                              kReligionIslam}),
            (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ((std::vector<int>{kMaritalAll, kMaritalMarried, kMaritalUnmarried}),
            (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(kDefaultSearch.minAge, 16);
  EXPECT_EQ(kDefaultSearch.maxAge, 30);
  EXPECT_EQ(kDefaultSearch.genderChoice, 1) << "男(m)";
  EXPECT_EQ(kDefaultSearch.religionChoice, 1) << "カトリック(c)";
  EXPECT_EQ(kDefaultSearch.maritalChoice, 2) << "未婚";
}
