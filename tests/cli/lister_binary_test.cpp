// Runs the built pellarin-cli as a separate process, as a user would.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "support/process.h"
#include "support/save_builder.h"
#include "support/temp_folder.h"

namespace {

ProcessOutcome RunCli(const TempFolder& folder, const std::vector<std::string>& args) {
  ProcessOutcome outcome = RunProcess(PELLARIN_CLI, args, folder.Path());
  EXPECT_NE(outcome.status, -1) << "pellarin-cli did not run to its end";
  return outcome;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

const std::string kSaves = std::string(PELLARIN_SAMPLE_DIR) + "/scenarios/save games/";

}  // namespace

TEST(ListerBinary, ListsAHandWrittenSave) {
  TempFolder folder;
  const std::string save =
      folder
          .Write("small.eug",
                 TestSaveText({{.id = 1, .name = "\x83\x74\x83\x42", .age = 17, .martial = 3},
                               {.id = 2, .name = "Louis", .age = 29, .martial = 9, .intrigue = 1},
                               {.id = 3, .name = "Blanche", .age = 20, .gender = 'f'}}))
          .string();
  const ProcessOutcome run = RunCli(folder, {save});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out,
            "name\tgender\treligion\tage\tcapital\tmartial\tdiplomacy\tintrigue\tstewardship\ttotal\n"
            "Louis\tm\tc\t29\t120\t9\t0\t1\t0\t10\n"
            "\xE3\x83\x95\xE3\x82\xA3\tm\tc\t17\t120\t3\t0\t0\t0\t3\n");
}

TEST(ListerBinary, ListsEveryLivingCharacterOfTheSample) {
  TempFolder folder;
  const ProcessOutcome run = RunCli(folder, {"--gender", "all", "--religion", "all", "--marital", "all",
                                      "--min-age", "-2147483648", "--max-age", "2147483647",
                                      kSaves + "1200_france.eug"});
  EXPECT_EQ(run.status, 0);
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 33u);  // the header and 32 living characters
  EXPECT_EQ(run.out.find('\r'), std::string::npos);
  for (const std::string& line : lines) {
    EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 9) << line;
  }
}

TEST(ListerBinary, ReadsTheUtf16Sample) {
  TempFolder folder;
  const ProcessOutcome run =
      RunCli(folder, {"--gender", "all", "--religion", "all", "--marital", "all",
                      kSaves + "1066_england_utf16.eug"});
  EXPECT_EQ(run.status, 0);
  EXPECT_GT(Lines(run.out).size(), 1u);
  EXPECT_EQ(run.out.find("\xEF\xBF\xBD"), std::string::npos);
}

TEST(ListerBinary, ReportsProblemsThroughStatusAndStandardError) {
  TempFolder folder;
  const ProcessOutcome missing = RunCli(folder, {(folder.Path() / "none.eug").string()});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.out, "");
  EXPECT_EQ(Lines(missing.err).size(), 1u);
  EXPECT_NE(missing.err.find("none.eug"), std::string::npos);

  const ProcessOutcome bad = RunCli(folder, {"--sort", "height", "x.eug"});
  EXPECT_EQ(bad.status, 2);
  EXPECT_EQ(bad.out, "");
  EXPECT_NE(bad.err.find("Usage: pellarin-cli"), std::string::npos);

  const ProcessOutcome help = RunCli(folder, {"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out.rfind("Usage: pellarin-cli", 0), 0u);
  EXPECT_EQ(help.err, "");
}

TEST(ListerBinary, CsvToAFileAndMessagesEndInALineFeedAlone) {
  TempFolder folder;
  const ProcessOutcome csv =
      RunCli(folder, {"--csv", "--religion", "all", kSaves + "1200_france.eug"});
  EXPECT_EQ(csv.status, 0);
  // Standard output is a file here, not a console: the byte-order mark is there.
  EXPECT_EQ(csv.out.rfind("\xEF\xBB\xBFname,gender,religion,age,", 0), 0u);
  const std::vector<std::string> lines = Lines(csv.out);
  EXPECT_GT(lines.size(), 2u);
  for (const std::string& line : lines) EXPECT_EQ(line.back(), '\r');

  const ProcessOutcome version = RunCli(folder, {"--version"});
  EXPECT_EQ(version.out, "pellarin-cli 1.03.01\n");

  const ProcessOutcome program = RunCli(folder, {PELLARIN_CLI});
  EXPECT_EQ(program.status, 3);
  EXPECT_EQ(program.out, "");
  EXPECT_EQ(program.err,
            "pellarin-cli: '" PELLARIN_CLI "' does not look like a save of the game\n");
  EXPECT_EQ(RunCli(folder, {"--min-age"}).err.find('\r'), std::string::npos);
}

TEST(ListerBinary, ANameIsNeverReadAsAnotherFile) {
  TempFolder folder;
  folder.Write("e.eug", TestSaveText({{.name = "Plain"}}));
  folder.Write(std::filesystem::path(u8"\u00E9.eug"), TestSaveText({{.name = "Accent"}}));
  const std::string accented = (folder.Path() / "").string() + "\xC3\xA9.eug";
  const ProcessOutcome run = RunCli(folder, {accented});
  EXPECT_EQ(run.out.find("Plain"), std::string::npos);
#ifdef _WIN32
  // Code page 932 has no "é"; the system's converter would have read e.eug.
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "pellarin-cli: cannot read '" + accented +
                         "': the system's code page cannot spell its name\n");
#else
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("Accent"), std::string::npos);
#endif
}
