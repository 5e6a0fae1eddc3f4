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

TEST(ListerStream, AConsoleGetsWholeCharactersAndAFileTheBytes) {
  // Three-byte characters never fall on the console's buffer boundaries.
  std::string text;
  while (text.size() < 10000) text += "\xE3\x83\xAD-";
  text += "\xE3\x83";  // cut short at the very end
  for (const bool console : {true, false}) {
    g_console = console;
    g_pieces.clear();
    std::ostringstream bytes;
    {
      ListerStream stream(StandardStream::kOutput, bytes, kRecordingConsole);
      EXPECT_EQ(stream.IsConsole(), console);
      stream.Stream() << text << std::flush;
    }
    std::string reached;
    for (const std::string& piece : g_pieces) {
      if (&piece != &g_pieces.back()) {
        EXPECT_EQ(WholeUtf8Length(piece), piece.size());
      }
      reached += piece;
    }
    EXPECT_EQ(reached, console ? text : "");
    EXPECT_EQ(bytes.str(), console ? "" : text);
  }
}

TEST(ListerStream, WholeCharactersEndWhereASequenceIsComplete) {
  EXPECT_EQ(WholeUtf8Length(""), 0u);
  EXPECT_EQ(WholeUtf8Length("ab"), 2u);
  EXPECT_EQ(WholeUtf8Length("a\xE3\x83"), 1u);
  EXPECT_EQ(WholeUtf8Length("a\xE3\x83\xAD"), 4u);
  EXPECT_EQ(WholeUtf8Length("\xF0\x9F\x98"), 0u);
  EXPECT_EQ(WholeUtf8Length("\xC3"), 0u);
  // Bytes that no more bytes can complete go on at once.
  EXPECT_EQ(WholeUtf8Length("\x80\x80"), 2u);
  EXPECT_EQ(WholeUtf8Length("a\xFF"), 2u);
}
