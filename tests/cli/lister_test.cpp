#include "cli/lister.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "cli/lister_options.h"
#include "cli/roster_listing.h"
#include "support/save_builder.h"
#include "support/temp_folder.h"
#include "ui/roster_query.h"
#include "ui/roster_rows.h"

namespace {

bool Parse(std::vector<std::string_view> args, ListerOptions& options, std::string& error) {
  return ParseListerOptions(args, options, error);
}

// Parses arguments that must be accepted.
ListerOptions Accept(std::vector<std::string_view> args) {
  ListerOptions options;
  std::string error;
  EXPECT_TRUE(Parse(args, options, error)) << error;
  return options;
}

// Parses arguments that must be rejected and gives the reason.
std::string Reject(std::vector<std::string_view> args) {
  ListerOptions options;
  std::string error;
  EXPECT_FALSE(Parse(args, options, error));
  EXPECT_FALSE(error.empty());
  return error;
}

struct Outcome {
  int status = 0;
  std::string out;
  std::string err;
};

Outcome RunWith(std::vector<std::string_view> args) {
  std::ostringstream out;
  std::ostringstream err;
  Outcome run;
  run.status = RunLister(args, out, err);
  run.out = out.str();
  run.err = err.str();
  return run;
}

constexpr char kHeader[] =
    "name\tgender\treligion\tage\tcapital\tmartial\tdiplomacy\tintrigue\tstewardship\ttotal\n";

// The characters of the lister's tests, in save order (record index = position among the living).
std::vector<TestCharacter> Household() {
  return {
      {.id = 1, .name = "Henri", .age = 20, .martial = 5, .diplomacy = 5, .intrigue = 5,
       .stewardship = 5},
      {.id = 2, .name = "\xB1\xDD\xD8", .age = 16, .tag = "XXX", .martial = 10},
      {.id = 3, .name = "Dead", .age = 20, .martial = 40, .dead = true},
      {.id = 4, .name = "Married", .age = 25, .martial = 40},
      {.id = 5, .name = "Jean\x81", .age = 30, .stewardship = 20},
      {.id = 6, .name = "Old", .age = 31, .martial = 50},
      {.id = 7, .name = "Young", .age = 15, .martial = 50},
      {.id = 8, .name = "Tab\tName", .age = 18, .tag = "BYZ", .intrigue = 30},
      {.id = 9, .name = "\x83\x41\x83\x6E", .age = 22, .gender = 'f', .religion = "orthodox",
       .diplomacy = 7},
  };
}

class Lister : public ::testing::Test {
 protected:
  void SetUp() override {
    g_nSortColumn = 9;
    g_nSortDirection = -1;
    save_ = folder_.Write("household.eug", TestSaveText(Household(), {{4, 100}})).string();
  }
  void TearDown() override {
    g_nSortColumn = 9;
    g_nSortDirection = -1;
  }
  TempFolder folder_;
  std::string save_;
};

}  // namespace

TEST(ListerOptions, DefaultsAreTheWindowsAndEachChoiceHasItsIndex) {
  const ListerOptions defaults = Accept({"save.eug"});
  // The window's defaults: 16 to 30, 男(m), カトリック(c), 未婚.
  EXPECT_EQ(defaults.criteria.minAge, 16);
  EXPECT_EQ(defaults.criteria.maxAge, 30);
  EXPECT_EQ(defaults.criteria.genderChoice, kGenderMale);
  EXPECT_EQ(defaults.criteria.religionChoice, kReligionCatholic);
  EXPECT_EQ(defaults.criteria.maritalChoice, kMaritalUnmarried);
  EXPECT_TRUE(defaults.sorts.empty());
  EXPECT_EQ(defaults.file, "save.eug");
  EXPECT_FALSE(defaults.help);

  const std::vector<std::string_view> genders = {"all", "m", "f"};
  for (std::size_t i = 0; i < genders.size(); ++i) {
    EXPECT_EQ(Accept({"--gender", genders[i], "x"}).criteria.genderChoice, static_cast<int>(i));
  }
  const std::vector<std::string_view> religions = {"all", "c", "o", "p", "m"};
  for (std::size_t i = 0; i < religions.size(); ++i) {
    EXPECT_EQ(Accept({"--religion", religions[i], "x"}).criteria.religionChoice,
              static_cast<int>(i));
  }
  const std::vector<std::string_view> maritals = {"all", "married", "unmarried"};
  for (std::size_t i = 0; i < maritals.size(); ++i) {
    EXPECT_EQ(Accept({"--marital=" + std::string(maritals[i]), "x"}).criteria.maritalChoice,
              static_cast<int>(i));
  }
  for (const char* bad : {"M", "male", "", "0"}) EXPECT_NE(Reject({"--gender", bad, "x"}), "");
  EXPECT_NE(Reject({"--religion", "islam", "x"}), "");
  EXPECT_NE(Reject({"--marital", "single", "x"}), "");
}

TEST(ListerOptions, AgesTakeAnyThirtyTwoBitInteger) {
  const ListerOptions options =
      Accept({"--min-age", "-2147483648", "--max-age=2147483647", "file"});
  EXPECT_EQ(options.criteria.minAge, INT32_MIN);
  EXPECT_EQ(options.criteria.maxAge, INT32_MAX);
  EXPECT_EQ(Accept({"--min-age", "+7", "file"}).criteria.minAge, 7);
  EXPECT_EQ(Accept({"--min-age", "1", "--min-age", "2", "file"}).criteria.minAge, 2);
  for (const char* bad : {"2147483648", "-2147483649", "abc", "", "1x", " 1", "+-1", "+", "1.5"}) {
    EXPECT_NE(Reject({"--max-age", bad, "file"}).find("--max-age"), std::string::npos) << bad;
  }
}

TEST(ListerOptions, SortsKeepTheirOrderAndDefaultToAscending) {
  const ListerOptions options =
      Accept({"--sort", "name", "--sort=age:desc", "--sort", "stewardship:asc", "f"});
  EXPECT_EQ(options.sorts,
            (std::vector<SortRequest>{{0, 1}, {3, -1}, {8, 1}}));
  for (std::size_t column = 0; column < kRosterColumns.size(); ++column) {
    EXPECT_EQ(Accept({"--sort", kRosterColumns[column].key, "f"}).sorts.front().column,
              static_cast<int>(column));
  }
  for (const char* bad : {"Name", "married", "age:down", "age:", ":asc", "", "age:desc:asc"}) {
    EXPECT_NE(Reject({"--sort", bad, "f"}), "") << bad;
  }
}

TEST(ListerOptions, FileAndOptionShapes) {
  EXPECT_EQ(Accept({"--", "--min-age"}).file, "--min-age");
  EXPECT_EQ(Accept({"-"}).file, "-");
  EXPECT_EQ(Accept({"save.eug", "--gender", "f"}).criteria.genderChoice, 2);
  EXPECT_TRUE(Accept({"--help", "--no-such-option"}).help);
  EXPECT_NE(Reject({}).find("no save file"), std::string::npos);
  EXPECT_NE(Reject({"a.eug", "b.eug"}).find("b.eug"), std::string::npos);
  EXPECT_NE(Reject({"--gender"}).find("needs a value"), std::string::npos);
  EXPECT_NE(Reject({"--colour", "red", "f"}).find("--colour"), std::string::npos);
  EXPECT_NE(Reject({"-g", "f"}).find("-g"), std::string::npos);
  EXPECT_NE(Reject({"--help=yes", "f"}).find("--help=yes"), std::string::npos);
  EXPECT_NE(Reject({"--sorted", "age", "f"}).find("--sorted"), std::string::npos);
  EXPECT_EQ(Accept({"--sort=age", "f"}).sorts, (std::vector<SortRequest>{{3, 1}}));
}

TEST(RosterListing, TextCellsAreDecodedAndKeptOnOneLine) {
  EXPECT_EQ(ListingCell("\xB1", 0), "\xEF\xBD\xB1");          // half-width katakana A
  EXPECT_EQ(ListingCell("\x81", 0), "\xEF\xBF\xBD");          // a lead byte alone
  EXPECT_EQ(ListingCell("\x81" "0", 0), "\xEF\xBF\xBD" "0");  // no valid character starts there
  EXPECT_EQ(ListingCell("\x83\x74\x83\x42", 0), "\xE3\x83\x95\xE3\x82\xA3");
  EXPECT_EQ(ListingCell("a\tb\rc\nd", 0), "a b c d");
  EXPECT_EQ(ListingCell("\x85", 1), "\xEF\xBF\xBD");
  EXPECT_EQ(ListingCell("\xE0", 2), "\xEF\xBF\xBD");
  EXPECT_EQ(ListingCell("-12", 3), "-12");
  EXPECT_EQ(ListingCell("", 1), "");
}

TEST(RosterListing, HeaderThenTenTabSeparatedCellsPerRow) {
  RosterRows rows;
  const std::string_view cells[RosterRows::kColumnCount] = {"n", "m", "", "1", "2",
                                                           "3", "4", "5", "6", "7"};
  rows.InsertItem(cells, 0);
  std::ostringstream out;
  WriteRosterListing(rows, out);
  EXPECT_EQ(out.str(), std::string(kHeader) + "n\tm\t\t1\t2\t3\t4\t5\t6\t7\n");
}

TEST_F(Lister, DefaultsListUnmarriedCatholicMenSixteenToThirtyByTotal) {
  const Outcome run = RunWith({save_});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out, std::string(kHeader) +
                         "Tab Name\tm\tc\t18\t151\t0\t0\t30\t0\t30\n"
                         "Jean\xEF\xBF\xBD\tm\tc\t30\t120\t0\t0\t0\t20\t20\n"
                         "Henri\tm\tc\t20\t120\t5\t5\t5\t5\t20\n"
                         "\xEF\xBD\xB1\xEF\xBE\x9D\xEF\xBE\x98\tm\tc\t16\t0\t10\t0\t0\t0\t10\n");
  EXPECT_EQ(g_nSortColumn, 9);
  EXPECT_EQ(g_nSortDirection, -1);
}

TEST_F(Lister, EachSortIsAStableSortOfTheRowsAsTheyStand) {
  const std::vector<std::string_view> everyone = {"--gender", "all", "--religion", "all",
                                                  "--marital", "all", "--min-age", "0",
                                                  "--max-age", "100"};
  const auto names = [&](std::vector<std::string_view> sorts) {
    std::vector<std::string_view> args = everyone;
    args.insert(args.end(), sorts.begin(), sorts.end());
    args.push_back(save_);
    const Outcome run = RunWith(args);
    EXPECT_EQ(run.status, 0) << run.err;
    std::string firstColumn;
    std::istringstream lines(run.out.substr(run.out.find('\n') + 1));
    for (std::string line; std::getline(lines, line);) {
      firstColumn += line.substr(0, line.find('\t')) + ",";
    }
    return firstColumn;
  };
  // By age, oldest first; within an age by name, bytes ascending.
  EXPECT_EQ(names({"--sort", "name", "--sort", "age:desc"}),
            "Old,Jean\xEF\xBF\xBD,Married,\xE3\x82\xA2\xE3\x83\x8F,Henri,Tab Name,"
            "\xEF\xBD\xB1\xEF\xBE\x9D\xEF\xBE\x98,Young,");
  // Ties (total 20 for Henri and Jean, 50 for Old and Young) stay in reverse roster order.
  EXPECT_EQ(names({"--sort", "total"}),
            "\xE3\x82\xA2\xE3\x83\x8F,\xEF\xBD\xB1\xEF\xBE\x9D\xEF\xBE\x98,Jean\xEF\xBF\xBD,Henri,"
            "Tab Name,Married,Young,Old,");
  EXPECT_EQ(names({}), names({"--sort", "total:desc"}));
}

TEST_F(Lister, NoMatchPrintsTheHeaderAlone) {
  const Outcome run = RunWith({"--min-age", "31", "--max-age", "30", save_});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, kHeader);
  EXPECT_EQ(RunWith({folder_.Write("empty.eug", "").string()}).out, kHeader);
}

TEST_F(Lister, UnreadableFileIsOneLineNamingIt) {
  const std::string missing = (folder_.Path() / "missing.eug").string();
  const Outcome run = RunWith({missing});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "pellarin-cli: cannot read '" + missing + "': No such file or directory\n");
  const Outcome folder = RunWith({folder_.Path().string()});
  EXPECT_EQ(folder.status, 1);
  EXPECT_NE(folder.err.find(folder_.Path().string()), std::string::npos);
  EXPECT_EQ(std::count(folder.err.begin(), folder.err.end(), '\n'), 1);
}

TEST_F(Lister, BadOptionsGiveTheUsageOnStandardError) {
  const Outcome run = RunWith({"--gender", "x", save_});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "pellarin-cli: invalid value 'x' for --gender\n" + std::string(kListerUsage));
  const Outcome help = RunWith({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out, kListerUsage);
  EXPECT_EQ(help.err, "");
}

TEST_F(Lister, FailingToWriteIsNoSuccess) {
  std::ostringstream err;
  std::ostream broken(nullptr);
  const std::vector<std::string_view> args = {save_};
  EXPECT_EQ(RunLister(args, broken, err), 1);
  EXPECT_EQ(err.str(), "pellarin-cli: cannot write the listing\n");
}
