#include "console_stream.h"

#include <cstring>
#include <streambuf>

#ifdef _WIN32
#include <windows.h>

#include <string>
#else
#include <unistd.h>
#endif

namespace {

#ifdef _WIN32

HANDLE HandleOf(StandardStream stream) {
  return GetStdHandle(stream == StandardStream::kOutput ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
}

// A file or a pipe has no console mode.
bool IsSystemConsole(StandardStream stream) {
  DWORD mode = 0;
  return GetConsoleMode(HandleOf(stream), &mode) != 0;
}

bool WriteSystemConsole(StandardStream stream, std::string_view text) {
  const int size = static_cast<int>(text.size());
  std::wstring wide(MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), static_cast<int>(wide.size()));
  for (std::size_t done = 0; done < wide.size();) {
    DWORD written = 0;
    if (!WriteConsoleW(HandleOf(stream), wide.data() + done, static_cast<DWORD>(wide.size() - done),
                       &written, nullptr) ||
        written == 0) {
      return false;
    }
    done += written;
  }
  return true;
}

#else

int DescriptorOf(StandardStream stream) { return stream == StandardStream::kOutput ? 1 : 2; }

bool IsSystemConsole(StandardStream stream) { return isatty(DescriptorOf(stream)) == 1; }

bool WriteSystemConsole(StandardStream stream, std::string_view text) {
  while (!text.empty()) {
    const ssize_t written = write(DescriptorOf(stream), text.data(), text.size());
    if (written <= 0) return false;
    text.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

#endif

// The number of bytes of the UTF-8 sequence that `lead` begins; 1 for a byte that begins none.
std::size_t SequenceLength(unsigned char lead) {
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  return 1;
}

}  // namespace

const ConsoleAccess& SystemConsole() {
  static constexpr ConsoleAccess kSystem{IsSystemConsole, WriteSystemConsole};
  return kSystem;
}

std::size_t WholeUtf8Length(std::string_view text) {
  // A sequence is at most four bytes: look back over three continuation bytes at most.
  for (std::size_t back = 1; back <= 4 && back <= text.size(); ++back) {
    const auto byte = static_cast<unsigned char>(text[text.size() - back]);
    if ((byte & 0xC0) != 0x80) {
      return SequenceLength(byte) > back ? text.size() - back : text.size();
    }
  }
  return text.size();
}

// Holds the text for the console and hands it on in pieces that end with a whole character, so
// that the console's converter never sees half a character.
class ListerStream::ConsoleBuffer : public std::streambuf {
 public:
  ConsoleBuffer(StandardStream stream, const ConsoleAccess& console)
      : stream_(stream), console_(console) {
    setp(held_, held_ + sizeof held_);
  }

  // Hands on what is still held, a character cut short at the end included.
  bool Finish() { return HandOn(true); }

 protected:
  int_type overflow(int_type c) override {
    if (!HandOn(false)) return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
      *pptr() = traits_type::to_char_type(c);
      pbump(1);
    }
    return traits_type::not_eof(c);
  }

  int sync() override { return HandOn(false) ? 0 : -1; }

 private:
  bool HandOn(bool all) {
    const std::string_view held(pbase(), static_cast<std::size_t>(pptr() - pbase()));
    const std::size_t whole = all ? held.size() : WholeUtf8Length(held);
    const bool written = whole == 0 || console_.write(stream_, held.substr(0, whole));
    const std::size_t rest = held.size() - whole;
    std::memmove(held_, held_ + whole, rest);
    setp(held_, held_ + sizeof held_);
    pbump(static_cast<int>(rest));
    return written;
  }

  StandardStream stream_;
  const ConsoleAccess& console_;
  char held_[4096];
};

ListerStream::ListerStream(StandardStream stream, std::ostream& bytes,
                           const ConsoleAccess& console)
    : bytes_(bytes) {
  if (console.isConsole(stream)) {
    buffer_ = std::make_unique<ConsoleBuffer>(stream, console);
    console_ = std::make_unique<std::ostream>(buffer_.get());
  }
}

ListerStream::~ListerStream() {
  if (buffer_) buffer_->Finish();
}
