#pragma once

#include <cstddef>
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
  // Writes UTF-8 text that ends with a whole character to the console; false when it cannot.
  bool (*write)(StandardStream stream, std::string_view text);
};

const ConsoleAccess& SystemConsole();

// The length of the longest start of `text` that ends with a whole UTF-8 character: the bytes of
// a character that has not wholly arrived wait for the rest of it.
std::size_t WholeUtf8Length(std::string_view text);

// A standard stream as the lister writes to it: a console gets the text through `console`, in
// pieces that each end with a whole character; a file or a pipe gets it through `bytes`, the C++
// stream over the same standard stream, unchanged.
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
