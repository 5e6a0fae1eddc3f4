#include "cli/console_stream.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

// A console that keeps each piece that reaches it.
std::vector<std::string> g_pieces;
bool g_console = false;

const ConsoleAccess kRecordingConsole{
    [](StandardStream) { return g_console; },
    [](StandardStream, std::string_view text) {
      g_pieces.emplace_back(text);
      return true;
    }};

}  // namespace

// A console gets what was written in one piece on each flush, never a character cut in two
// however long the text; a file gets the bytes.
TEST(ListerStream, AConsoleGetsTheTextWholeAndAFileTheBytes) {
  std::string text;
  while (text.size() < 10000) text += "\xE3\x83\xAD-";
  for (const bool console : {true, false}) {
    g_console = console;
    g_pieces.clear();
    std::ostringstream bytes;
    {
      ListerStream stream(StandardStream::kOutput, bytes, kRecordingConsole);
      EXPECT_EQ(stream.IsConsole(), console);
      stream.Stream() << text << std::flush;
      stream.Stream() << "rest";
    }
    const std::vector<std::string> pieces = {text, "rest"};
    EXPECT_EQ(g_pieces, console ? pieces : std::vector<std::string>());
    EXPECT_EQ(bytes.str(), console ? "" : text + "rest");
  }
}
