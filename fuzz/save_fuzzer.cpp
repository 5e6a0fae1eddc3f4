// Takes arbitrary bytes as a save file. The bytes are written to an in-memory file and loaded
// through LoadSaveText, so a first byte 0xFF takes the UTF-16 road and any other the 8-bit one;
// the text is scanned and the scan checked against what it may change.

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "save/save_scanner.h"
#include "save/save_text.h"
#include "tests/hardening/scan_invariants.h"

namespace {

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "save_fuzzer: %s\n", what.c_str());
  std::abort();
}

// One memory-backed file for the whole run, rewritten for every input; LoadSaveText opens it by
// its /proc path like any other file.
class InputFile {
 public:
  InputFile() : fd_(memfd_create("save", 0)) {
    if (fd_ < 0) Fail("memfd_create failed");
    std::snprintf(path_, sizeof path_, "/proc/self/fd/%d", fd_);
  }

  const char* Write(const std::uint8_t* data, std::size_t size) {
    if (ftruncate(fd_, 0) != 0) Fail("ftruncate failed");
    std::size_t written = 0;
    while (written < size) {
      const ssize_t n = pwrite(fd_, data + written, size - written, static_cast<off_t>(written));
      if (n <= 0) Fail("pwrite failed");
      written += static_cast<std::size_t>(n);
    }
    return path_;
  }

 private:
  int fd_;
  char path_[32];
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static InputFile file;
  SaveText text = LoadSaveText(file.Write(data, size));
  if (text == nullptr) Fail("a readable file did not load");

  const bool utf16 = size > 0 && data[0] == 0xFF;
  const std::string_view fileBytes(reinterpret_cast<const char*>(data), size);
  if (!utf16 && (std::memcmp(text, data, size) != 0 || text[size] != '\0')) {
    Fail("an 8-bit file did not load byte for byte");
  }
  // Conversion stops at the first zero code unit, so a converted text has no NUL before its end.
  const std::string loaded = utf16 ? std::string(text) : std::string(fileBytes);

  Roster roster;
  ScanSave(text, roster);
  const std::string fault = CheckScanInvariants(loaded, text, roster);
  if (!fault.empty()) Fail(fault);

  ReleaseSaveText(text);
  return 0;
}
