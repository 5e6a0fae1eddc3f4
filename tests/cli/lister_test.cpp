#include "cli/lister.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#ifndef _WIN32
#include <sys/stat.h>
#endif
#include <string>
#include <vector>

#include "cli/lister_options.h"
#include "cli/output_file.h"
#include "cli/roster_listing.h"
#include "cli/lister_texts.h"
#include "support/save_builder.h"
#include "support/temp_folder.h"
#include "ui/roster_query.h"
#include "ui/roster_rows.h"

namespace {

bool Parse(std::vector<std::string_view> args, ListerOptions& options, std::string& error) {
  return ParseListerOptions(args, ListerLanguage::kEnglish, options, error);
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
  run.status = RunLister(args, ListerLanguage::kEnglish, out, err);
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
  EXPECT_EQ(Accept({"--min-age", "010", "file"}).criteria.minAge, 10);  // decimal, never octal
  for (const char* bad : {"2147483648", "-2147483649", "abc", "", "1x", " 1", "+-1", "+", "1.5",
                          "0x10"}) {
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
  EXPECT_TRUE(Accept({"x.eug", "-h"}).help);
  EXPECT_TRUE(Accept({"--version"}).version);
  EXPECT_NE(Reject({}).find("FILE"), std::string::npos);
  EXPECT_NE(Reject({"a.eug", "b.eug"}).find("b.eug"), std::string::npos);
  EXPECT_NE(Reject({"--gender"}).find("--gender"), std::string::npos);
  EXPECT_NE(Reject({"--colour", "red", "f"}).find("--colour"), std::string::npos);
  // An unknown option is named as such, not taken for its value's or the file's fault.
  EXPECT_EQ(Reject({"--relgion", "all", "save.eug"}), "unknown option '--relgion'");
  EXPECT_EQ(Reject({"--relgion=all", "save.eug"}), "unknown option '--relgion'");
  EXPECT_EQ(Reject({"--csv=yes", "f"}), "--csv takes no value");
  EXPECT_EQ(Accept({"-olist.tsv", "f"}).output, "list.tsv");
  EXPECT_EQ(Accept({"--output", "-x", "f"}).output, "-x");
  EXPECT_NE(Reject({"-g", "f"}).find("-g"), std::string::npos);
  EXPECT_NE(Reject({"--sorted", "age", "f"}).find("--sorted"), std::string::npos);
  EXPECT_EQ(Accept({"--sort=age", "f"}).sorts, (std::vector<SortRequest>{{3, 1}}));

  const ListerOptions written = Accept({"--csv", "-o", "a.csv", "f", "--output=b.csv"});
  EXPECT_TRUE(written.csv);
  EXPECT_EQ(written.output, "b.csv");
  EXPECT_FALSE(Accept({"f"}).csv);
  EXPECT_NE(Reject({"f", "--output"}).find("--output"), std::string::npos);
  EXPECT_NE(Reject({"f", "--output="}).find("--output"), std::string::npos);
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

TEST(RosterListing, CsvQuotesAsRfc4180AsksAndNoNameBecomesAFormula) {
  EXPECT_EQ(CsvField("Jean", 0), "Jean");
  EXPECT_EQ(CsvField("a,b", 0), "\"a,b\"");
  EXPECT_EQ(CsvField("a;b", 0), "\"a;b\"");
  EXPECT_EQ(CsvField("say \"hi\"", 0), "\"say \"\"hi\"\"\"");
  EXPECT_EQ(CsvField("two\nlines", 0), "\"two\nlines\"");
  EXPECT_EQ(CsvField("Tab\tName", 0), "\"Tab\tName\"");
  EXPECT_EQ(CsvField("\x83\x74\x83\x42", 0), "\xE3\x83\x95\xE3\x82\xA3");
  // The ASCII leads and their full-width forms (＝＋－＠, as code page 932 spells them).
  for (const std::string lead : {"=", "+", "-", "@"}) {
    EXPECT_EQ(CsvField(lead + "SUM(A1)", 0), "'" + lead + "SUM(A1)");
  }
  EXPECT_EQ(CsvField("\t=1", 0), "\"'\t=1\"");
  EXPECT_EQ(CsvField("\x81\x81\x82\x50", 0), "'\xEF\xBC\x9D\xEF\xBC\x91");
  EXPECT_EQ(CsvField("\x81\x7B", 0), "'\xEF\xBC\x8B");
  EXPECT_EQ(CsvField("\x81\x7C", 0), "'\xEF\xBC\x8D");
  EXPECT_EQ(CsvField("\x81\x97", 0), "'\xEF\xBC\xA0");
  EXPECT_EQ(CsvField("\x83\x41=", 0), "\xE3\x82\xA2=");
  EXPECT_EQ(CsvField("\r=1", 0), "\"'\r=1\"");
  EXPECT_EQ(CsvField("=1,2", 0), "\"'=1,2\"");
  EXPECT_EQ(CsvField("A=B", 0), "A=B");
  EXPECT_EQ(CsvField("-12", 3), "-12");
  EXPECT_EQ(CsvField("-", 1), "-");
  EXPECT_EQ(CsvField(",", 2), "\",\"");

  RosterRows rows;
  const std::string_view cells[RosterRows::kColumnCount] = {"=x", "m", "c", "-1", "2",
                                                           "3", "4", "5", "6", "7"};
  rows.InsertItem(cells, 0);
  const std::string csv =
      "name,gender,religion,age,capital,martial,diplomacy,intrigue,stewardship,total\r\n"
      "'=x,m,c,-1,2,3,4,5,6,7\r\n";
  std::ostringstream withMark;
  WriteRosterListing(rows, withMark, ListingFormat::kCsv);
  EXPECT_EQ(withMark.str(), "\xEF\xBB\xBF" + csv);
  std::ostringstream withoutMark;
  WriteRosterListing(rows, withoutMark, ListingFormat::kCsvWithoutByteOrderMark);
  EXPECT_EQ(withoutMark.str(), csv);
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
  const std::string nobodyAlive =
      folder_.Write("dead.eug", TestSaveText({{.name = "Gone", .dead = true}})).string();
  EXPECT_EQ(RunWith({nobodyAlive}).status, 0);
  EXPECT_EQ(RunWith({nobodyAlive}).out, kHeader);
}

TEST_F(Lister, AFileThatTheScanDoesNotTakeForASaveIsStatusThree) {
  std::string noise;
  for (unsigned i = 1; noise.size() < 100000; i = i * 1103515245u + 12345u) {
    noise += static_cast<char>(i >> 24);
  }
  // Words of a save are not a save: the scan must reach a character section.
  const std::string readme = "The lister reads a save: its startdate = { year = 1200 ...,\n"
                             "its marrige section, its characters\ncharacter = {\n}\n";
  for (const auto& [name, bytes] : {std::pair<std::string, std::string>{"empty.eug", ""},
                                    {"noise.eug", noise},
                                    {"notes.eug", "a character\nwithout a realm"},
                                    {"note.txt", "the country of my save\n"},
                                    {"README.md", readme}}) {
    const std::string path = folder_.Write(name, bytes).string();
    const Outcome run = RunWith({path});
    EXPECT_EQ(run.status, 3) << name;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "pellarin-cli: '" + path + "' does not look like a save of the game\n");
  }
  // A save without countries lists its characters with capital 0.
  const std::string noCountries =
      folder_.Write("no_countries.eug", SaveWith(CharacterEntry({.name = "Alone"}), "", ""))
          .string();
  const Outcome listed = RunWith({noCountries});
  EXPECT_EQ(listed.status, 0) << listed.err;
  EXPECT_EQ(listed.out, std::string(kHeader) + "Alone\tm\tc\t19\t0\t1\t2\t3\t4\t10\n");
}

TEST_F(Lister, UnreadableFileIsOneLineNamingIt) {
  const std::string missing = (folder_.Path() / "missing.eug").string();
  const Outcome run = RunWith({missing});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err,
            "pellarin-cli: cannot read '" + missing + "': there is no such file or folder\n");
  const Outcome folder = RunWith({folder_.Path().string()});
  EXPECT_EQ(folder.status, 1);
  EXPECT_EQ(folder.err,
            "pellarin-cli: cannot read '" + folder_.Path().string() + "': it is a folder\n");
}

TEST_F(Lister, BadOptionsGiveTheUsageOnStandardError) {
  const Outcome run = RunWith({"--gender", "x", save_});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "");
  // The program as a player types it.
#ifdef _WIN32
  const std::string program = "pellarin-cli.exe";
#else
  const std::string program = "pellarin-cli";
#endif
  EXPECT_EQ(run.err, "pellarin-cli: --gender: 'x' is none of all, m, f\nUsage: " + program +
                         " [OPTIONS] FILE\nRun '" + program + " --help' for the options.\n");
  const Outcome help = RunWith({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out.rfind("Usage: " + program + " [OPTIONS] FILE\n", 0), 0u);
  EXPECT_EQ(help.err, "");
  for (const char* statusLine : {"0 listed", "2 the", "3 FILE is not a\nsave"}) {
    EXPECT_NE(help.out.find(statusLine), std::string::npos) << statusLine;
  }
  std::string keys;
  for (const RosterColumn& column : kRosterColumns) (keys += ' ') += column.key;
  EXPECT_NE(help.out.find("COLUMN is one of:" + keys + ".\n"), std::string::npos);
  EXPECT_EQ(RunWith({"--version", save_}).out, "pellarin-cli 1.03.01\n");
}

TEST_F(Lister, FailingToWriteIsNoSuccess) {
  std::ostringstream err;
  std::ostream broken(nullptr);
  const std::vector<std::string_view> args = {save_};
  EXPECT_EQ(RunLister(args, ListerLanguage::kEnglish, broken, err), 1);
  EXPECT_EQ(err.str(), "pellarin-cli: cannot write the listing\n");
}

TEST_F(Lister, OnlyCsvChoosesCsvAndAConsoleGetsNoByteOrderMark) {
  const auto run = [&](std::vector<std::string_view> args, bool console) {
    args.push_back(save_);
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunLister(args, ListerLanguage::kEnglish, out, err, console), 0) << err.str();
    return out.str();
  };
  const std::string tsv = run({}, false);
  EXPECT_EQ(run({}, true), tsv);
  const std::string csv = run({"--csv"}, false);
  EXPECT_EQ(csv.rfind("\xEF\xBB\xBFname,gender,", 0), 0u);
  EXPECT_EQ(run({"--csv"}, true), csv.substr(3));
  // A file gets what a redirected standard output gets, whatever its name says.
  const std::string file = (folder_.Path() / "list.csv").string();
  run({"--csv", "--output", file}, true);
  EXPECT_EQ(ReadFileBytes(file), csv);
  run({"-o", file}, false);
  EXPECT_EQ(ReadFileBytes(file), tsv);
}

TEST_F(Lister, TheOutputFileIsReplacedOnlyByAWholeList) {
  const std::string list = folder_.Write("list.tsv", "earlier").string();
  const std::string missing = (folder_.Path() / "missing.eug").string();
  const std::string noSave = folder_.Write("empty.eug", "").string();
  EXPECT_EQ(RunWith({"-o", list, missing}).status, 1);
  EXPECT_EQ(RunWith({"-o", list, noSave}).status, 3);
  EXPECT_EQ(ReadFileBytes(list), "earlier");

  const Outcome written = RunWith({"-o", list, save_});
  EXPECT_EQ(written.status, 0);
  EXPECT_EQ(written.out + written.err, "");
  EXPECT_EQ(ReadFileBytes(list), RunWith({save_}).out);

  // A folder cannot be replaced: the list goes nowhere, and nothing is left beside it.
  std::filesystem::create_directory(folder_.Path() / "folder");
  const std::string folder = (folder_.Path() / "folder").string();
  const Outcome failed = RunWith({"-o", folder, save_});
  EXPECT_EQ(failed.status, 1);
  EXPECT_EQ(failed.err,
            "pellarin-cli: cannot write the list to '" + folder + "': it is a folder\n");
  EXPECT_TRUE(std::filesystem::is_directory(folder));
#ifndef _WIN32
  // A pipe is written into by no rename, and a link stays a link to the replaced file.
  const std::string pipe = (folder_.Path() / "folder" / "pipe").string();
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  EXPECT_EQ(RunWith({"-o", pipe, save_}).status, 1);
  EXPECT_EQ(std::filesystem::status(pipe).type(), std::filesystem::file_type::fifo);
  const std::filesystem::path link = folder_.Path() / "folder" / "link";
  std::filesystem::create_symlink(list, link);
  EXPECT_EQ(RunWith({"--csv", "-o", link.string(), save_}).status, 0);
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(ReadFileBytes(list), RunWith({"--csv", save_}).out);
#endif
  // A device is refused before the save is read, as a folder is.
#ifdef _WIN32
  const std::vector<std::string> devices = {"NUL", "con", "CON.txt", "COM1"};
#else
  const std::vector<std::string> devices = {"/dev/null", "/dev/stdout", "/proc/self/fd/1"};
#endif
  for (const std::string& device : devices) {
    const Outcome refused = RunWith({"-o", device, (folder_.Path() / "missing.eug").string()});
    EXPECT_EQ(refused.status, 1) << device;
    EXPECT_EQ(refused.err, "pellarin-cli: cannot write the list to '" + device +
                               "': it is not a regular file; without --output the list goes to "
                               "standard output\n");
  }
  const Outcome nowhere = RunWith({"-o", (folder_.Path() / "none" / "list").string(), save_});
  EXPECT_EQ(nowhere.status, 1);
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder_.Path())) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"empty.eug", "folder", "household.eug", "list.tsv"}));
}

#ifndef _WIN32
TEST_F(Lister, AReplacedListKeepsItsPermissionBits) {
  const mode_t mask = umask(0);
  umask(mask);
  const std::filesystem::path created = folder_.Path() / "new.tsv";
  ASSERT_EQ(RunWith({"-o", created.string(), save_}).status, 0);
  struct stat status {};
  ASSERT_EQ(stat(created.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0666 & ~mask) << "a new file: the usual default";
  for (const mode_t mode : {0600, 0640, 0604}) {
    const std::filesystem::path list = folder_.Write("private.tsv", "earlier");
    ASSERT_EQ(chmod(list.c_str(), mode), 0);
    ASSERT_EQ(RunWith({"-o", list.string(), save_}).status, 0);
    ASSERT_EQ(stat(list.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, mode);
    EXPECT_EQ(ReadFileBytes(list), RunWith({save_}).out);
  }
}
#endif

TEST_F(Lister, TheOutputIsNeverASave) {
  const std::string saveBytes = ReadFileBytes(save_);
  const std::filesystem::path link = folder_.Path() / "link.tsv";
  std::filesystem::create_hard_link(save_, link);
  for (const std::string& name : {save_, link.string(), (folder_.Path() / "new.EUG").string(),
                                  (folder_.Path() / "new.eug.").string()}) {
    const Outcome run = RunWith({"--output", name, save_});
    EXPECT_EQ(run.status, 2) << name;
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find(name), std::string::npos);
  }
  EXPECT_EQ(ReadFileBytes(save_), saveBytes);
  EXPECT_FALSE(std::filesystem::exists(folder_.Path() / "new.EUG"));
#ifndef _WIN32
  // Nor another save that a link leads to.
  const std::string other = folder_.Write("other.eug", "another save").string();
  std::filesystem::create_symlink(other, folder_.Path() / "other.csv");
  EXPECT_EQ(RunWith({"-o", (folder_.Path() / "other.csv").string(), save_}).status, 2);
  EXPECT_EQ(ReadFileBytes(other), "another save");
#endif
  // Refused before the save is read: a missing save is not even looked for.
  EXPECT_EQ(RunWith({"-o", "x.eug", (folder_.Path() / "missing.eug").string()}).status, 2);

  for (const char* name :
       {"a.eug", "a.Eug ", "dir/a.eug.", "a.eug:list", "C:a.eug", "a.eug::$DATA"}) {
    EXPECT_TRUE(HasSaveEnding(name)) << name;
  }
  for (const char* name :
       {"a.csv", "eug", "a.eug.csv", "dir.eug/a.tsv", "dir.eug\\a.tsv", "a.eugx"}) {
    EXPECT_FALSE(HasSaveEnding(name)) << name;
  }
}

TEST(ListerTexts, EveryTextInBothLanguagesWithTheSameValues) {
  for (int text = 0; text < static_cast<int>(ListerText::kCount); ++text) {
    const auto values = [text](ListerLanguage language) {
      const std::string formatted =
          FormatText(language, static_cast<ListerText>(text), {"\x01", "\x02", "\x03"});
      EXPECT_FALSE(formatted.empty()) << text;
      EXPECT_EQ(formatted.find('%'), std::string::npos) << text;
      std::string found;
      for (const char c : formatted) {
        if (c >= '\x01' && c <= '\x03') found += c;
      }
      return found;
    };
    EXPECT_EQ(values(ListerLanguage::kJapanese), values(ListerLanguage::kEnglish)) << text;
  }
  // A value is put in as it stands, never read for places of its own.
  EXPECT_EQ(FormatText(ListerLanguage::kEnglish, ListerText::kCannotRead, {"a%2", "b"}),
            "cannot read 'a%2': b");
}

TEST_F(Lister, JapaneseMessagesAndTheSameListing) {
  std::ostringstream out;
  std::ostringstream err;
  const std::vector<std::string_view> list = {save_};
  EXPECT_EQ(RunLister(list, ListerLanguage::kJapanese, out, err), 0);
  EXPECT_EQ(out.str(), RunWith({save_}).out) << "the header names are the same in both";
  const std::vector<std::string_view> help = {"--help"};
  out.str("");
  EXPECT_EQ(RunLister(help, ListerLanguage::kJapanese, out, err), 0);
  EXPECT_EQ(out.str().rfind("使い方: pellarin-cli", 0), 0u);
  const std::vector<std::string_view> unknown = {"--relgion", "all", save_};
  EXPECT_EQ(RunLister(unknown, ListerLanguage::kJapanese, out, err), 2);
  EXPECT_EQ(err.str().rfind("pellarin-cli: '--relgion' というオプションはありません\n使い方", 0),
            0u);
}
