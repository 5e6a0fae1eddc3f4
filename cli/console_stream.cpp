#include "console_stream.h"

#include <sstream>
#include <string>

#ifdef _WIN32
#include <windows.h>
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

}  // namespace

const ConsoleAccess& SystemConsole() {
  static constexpr ConsoleAccess kSystem{IsSystemConsole, WriteSystemConsole};
  return kSystem;
}

// Holds what is written until a flush, and hands it to the console in one piece.
class ListerStream::ConsoleBuffer : public std::stringbuf {
 public:
  ConsoleBuffer(StandardStream stream, const ConsoleAccess& console)
      : std::stringbuf(std::ios::out), stream_(stream), console_(console) {}

 protected:
  int sync() override {
    const bool written = view().empty() || console_.write(stream_, view());
    str(std::string());
    return written ? 0 : -1;
  }

 private:
  StandardStream stream_;
  const ConsoleAccess& console_;
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
  if (buffer_) buffer_->pubsync();
}
