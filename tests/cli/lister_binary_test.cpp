// Runs the built pellarin-cli as a separate process, as a user would.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#ifndef _WIN32
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "cli/lister_options.h"
#include "cli/lister_texts.h"
#include "support/current_directory.h"
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

// The lister speaks the language of the system that the tests run on (Japanese on Windows).
std::string Text(ListerText text, std::initializer_list<std::string_view> values = {}) {
  return FormatText(SystemLanguage(), text, values);
}

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
  EXPECT_NE(bad.err.find(Text(ListerText::kUsageHint)), std::string::npos);

  const ProcessOutcome help = RunCli(folder, {"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out, ListerHelp(SystemLanguage()));
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
  EXPECT_EQ(program.err, "pellarin-cli: " + Text(ListerText::kNotASave, {PELLARIN_CLI}) + "\n");
  EXPECT_EQ(RunCli(folder, {"--min-age"}).err.find('\r'), std::string::npos);
}

TEST(ListerBinary, ANameIsNeverReadAsAnotherFile) {
  TempFolder folder;
  folder.Write("e.eug", TestSaveText({{.name = "Plain"}}));
  folder.Write(std::filesystem::path(u8"\u00E9.eug"), TestSaveText({{.name = "Accent"}}));
  const std::string accented = (folder.Path() / "").string() + "\xC3\xA9.eug";
  const ProcessOutcome run = RunCli(folder, {accented});
  // Code page 932 has no "é": a code-page spelling would have read e.eug on Windows.
  EXPECT_EQ(run.out.find("Plain"), std::string::npos);
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("Accent"), std::string::npos);
}

// Read by its full path in the system's own characters; a relative --output and the check that it
// is not the save go by the folder that the lister started in.
TEST(ListerBinary, ReadsASaveInAFolderThatTheCodePageCannotSpell) {
  TempFolder folder;
  const CurrentDirectoryGuard here(folder.Path());
  const std::filesystem::path save = folder.Write(
      std::filesystem::path(u8"Jos\u00e9") / "saves" / "1200.eug",
      TestSaveText({{.name = "Louis"}}));
  const std::string relative = "Jos\xC3\xA9/saves/1200.eug";
  const ProcessOutcome run = RunCli(folder, {"-o", "list.tsv", relative});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(ReadFileBytes(folder.Path() / "list.tsv").find("Louis\t"), std::string::npos);
  std::filesystem::create_hard_link(save, folder.Path() / "same.tsv");
  EXPECT_EQ(RunCli(folder, {"-o", "same.tsv", relative}).status, 2);
  EXPECT_EQ(ReadFileBytes(save), TestSaveText({{.name = "Louis"}}));
}

#ifndef _WIN32
// A pipe, as "-" or /dev/stdin, and a process substitution read as the file itself; /dev/stdout
// is refused by its name, as it leads to the file that standard output goes to; a save named by
// its full path lists from a working folder that was deleted.
TEST(ListerBinary, ReadsASaveThroughTheShell) {
  TempFolder folder;
  const std::string save = folder.Write("small.eug", TestSaveText({{.name = "Louis"}})).string();
  const auto shell = [&](const std::string& script) {
    const ProcessOutcome run = RunProcess(
        "/bin/bash", {"-c", "cd \"$2\" && " + script, PELLARIN_CLI, save, folder.Path().string()},
        folder.Path());
    EXPECT_EQ(run.status, 0) << script << run.err;
    return run.out;
  };
  const std::string direct = RunCli(folder, {save}).out;
  EXPECT_NE(direct.find("Louis\t"), std::string::npos);
  for (const char* script :
       {"cat \"$1\" | \"$0\" -", "cat \"$1\" | \"$0\" /dev/stdin", "\"$0\" <(cat \"$1\")",
        "mkdir gone && cd gone && rmdir ../gone && \"$0\" \"$1\""}) {
    EXPECT_EQ(shell(script), direct) << script;
  }
  EXPECT_EQ(shell("{ echo A; \"$0\" -o /dev/stdout \"$1\"; echo B; } >c.txt; cat c.txt"), "A\nB\n");
}
#endif

// "-" reads standard input, as its bytes on Windows too, where a text-mode read would end at the
// byte 0x1A; "./-" names a file.
TEST(ListerBinary, ADashReadsStandardInput) {
  TempFolder folder;
  const std::filesystem::path save = folder.Write(
      "-", TestSaveText({{.id = 1, .name = "Ctrl\x1AZ"}, {.id = 2, .name = "Louis"}}));
  const ProcessOutcome piped = RunProcess(PELLARIN_CLI, {"-"}, folder.Path(), save);
  EXPECT_EQ(piped.status, 0) << piped.err;
  EXPECT_NE(piped.out.find("Louis\t"), std::string::npos);
  const CurrentDirectoryGuard here(folder.Path());
  EXPECT_EQ(RunCli(folder, {"./-"}).out, piped.out);
}

#ifndef _WIN32
// As nobody, a list that its user may not write is left alone, and one whose group cannot be kept
// loses the group's bits.
TEST(ListerBinary, ReplacesOnlyAWritableListAndOpensItToNoOtherGroup) {
  if (geteuid() != 0) GTEST_SKIP() << "only root can run the lister as nobody";
  TempFolder folder;
  std::filesystem::permissions(folder.Path(), std::filesystem::perms::all);
  const std::string save = folder.Write("small.eug", TestSaveText({{.name = "Louis"}})).string();
  const std::filesystem::path readOnly = folder.Write("read-only.csv", "earlier");
  const std::filesystem::path grouped = folder.Write("grouped.csv", "earlier");
  for (const auto& [list, mode] : {std::pair{readOnly, 0444}, {grouped, 0640}}) {
    ASSERT_EQ(chown(list.c_str(), getpwnam("nobody")->pw_uid, 0) | chmod(list.c_str(), mode), 0);
  }
  const auto asNobody = [&](const std::filesystem::path& list) {
    return RunProcess("/usr/bin/setpriv", {"--reuid=nobody", "--regid=nogroup", "--clear-groups",
                                           PELLARIN_CLI, "-o", list.string(), save}, folder.Path());
  };
  EXPECT_NE(asNobody(readOnly).err.find(Text(ListerText::kPermissionDenied)), std::string::npos);
  EXPECT_EQ(ReadFileBytes(readOnly), "earlier");
  EXPECT_EQ(asNobody(grouped).status, 0);
  struct stat status {};
  ASSERT_EQ(stat(grouped.c_str(), &status), 0);
  EXPECT_EQ(status.st_gid, getpwnam("nobody")->pw_gid);
  EXPECT_EQ(status.st_mode & 07777, 0600u);
}
#endif

// Japanese where the system's language is, else English: on Linux by the locale's variables, in
// their order; the Windows tests run on a Japanese system.
TEST(ListerBinary, SpeaksJapaneseWhereTheSystemDoes) {
  TempFolder folder;
  const std::string japanese = ListerHelp(ListerLanguage::kJapanese);
#ifdef _WIN32
  EXPECT_EQ(RunCli(folder, {"--help"}).out, japanese);
#else
  const auto help = [&](std::vector<std::string> locale) {
    locale.insert(locale.end(), {PELLARIN_CLI, "--help"});
    return RunProcess("/usr/bin/env", locale, folder.Path()).out;
  };
  const std::string english = ListerHelp(ListerLanguage::kEnglish);
  EXPECT_EQ(help({"LC_ALL=", "LC_MESSAGES=", "LANG=ja_JP.UTF-8"}), japanese);
  EXPECT_EQ(help({"LC_ALL=", "LC_MESSAGES=ja_JP.UTF-8", "LANG=C"}), japanese);
  EXPECT_EQ(help({"LC_ALL=C", "LC_MESSAGES=ja_JP.UTF-8", "LANG=ja_JP.UTF-8"}), english);
  EXPECT_EQ(help({"LC_ALL=", "LC_MESSAGES=", "LANG="}), english);
  // Every reason too, where the system's own words would be English.
  const std::string save = kSaves + "1200_france.eug";
  const std::string nowhere = (folder.Path() / "none" / "list.csv").string();
  for (const auto& [args, reason] :
       {std::pair{std::vector<std::string>{"-o", nowhere, save}, ListerText::kNoSuchFile},
        {{save + "/x.eug"}, ListerText::kNotAFolder}}) {
    std::vector<std::string> command = {"LC_ALL=ja_JP.UTF-8", PELLARIN_CLI};
    command.insert(command.end(), args.begin(), args.end());
    EXPECT_NE(RunProcess("/usr/bin/env", command, folder.Path()).err.find(
                  FormatText(ListerLanguage::kJapanese, reason)),
              std::string::npos);
  }
#endif
}
