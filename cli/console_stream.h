#pragma once

#include <memory>
#include <ostream>
#include <string_view>

// The two standard streams that the lister writes to.
enum class StandardStream { kOutput, kError };

// How text reaches a console. A Windows console shows wide characters right whatever its code
// page, so text for it goes through the console's own call for them; elsewhere a terminal takes
// UTF-8 as it stands. SystemConsole() is the system's; a test puts its own in its place, since the
// pipes that tests run on are no console.
struct ConsoleAccess {
  // Whether the standard stream is a console (elsewhere a terminal).
  bool (*isConsole)(StandardStream stream);
  // Writes UTF-8 text to the console; false when it cannot.
  bool (*write)(StandardStream stream, std::string_view text);
};

const ConsoleAccess& SystemConsole();

// A standard stream as the lister writes to it: a console gets the text through `console`, all that
// has been written converted at once on each flush (the lister writes its listing, and each
// message, whole); a file or a pipe gets it through `bytes`, the C++ stream over the same standard
// stream, unchanged.
class ListerStream {
 public:
  ListerStream(StandardStream stream, std::ostream& bytes, const ConsoleAccess& console);
  ~ListerStream();
  ListerStream(const ListerStream&) = delete;
  ListerStream& operator=(const ListerStream&) = delete;

  std::ostream& Stream() { return console_ ? *console_ : bytes_; }
  bool IsConsole() const { return console_ != nullptr; }

 private:
  class ConsoleBuffer;
  std::ostream& bytes_;
  std::unique_ptr<ConsoleBuffer> buffer_;
  std::unique_ptr<std::ostream> console_;
};
