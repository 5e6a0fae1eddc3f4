// Takes arbitrary bytes as a loaded 8-bit text and scans one copy with the program's scanner and
// another with the reference scanner: the records, their names' places and every cut, the last
// one included, must be the same.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "support/reference_comparison.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string fault =
      CompareScanWithReference(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!fault.empty()) {
    std::fprintf(stderr, "scan_differential_fuzzer: %s\n", fault.c_str());
    std::abort();
  }
  return 0;
}
