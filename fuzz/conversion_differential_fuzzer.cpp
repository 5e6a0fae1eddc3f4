// Takes arbitrary bytes as UTF-16 little-endian code units. They are converted by the program's
// converter and by the whole-text reference, which must give the same bytes; then they are loaded
// from a UTF-16 file in which they straddle the end of the loader's first piece, at a place that
// the input's last byte chooses, and the loaded text must be what the reference makes of the file.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "save/save_text.h"
#include "support/reference_comparison.h"
#include "support/scratch_file.h"

namespace {

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "conversion_differential_fuzzer: %s\n", what.c_str());
  std::abort();
}

// 0xFF, ASCII code units up to a few bytes before the end of the first piece, then the input.
std::string FileAroundPieceEnd(const std::uint8_t* data, std::size_t size) {
  const std::size_t beforeEnd = size == 0 ? 0 : data[size - 1] % (size + 1);
  std::string file(1, '\xFF');
  file.reserve(kUtf16PieceBytes + size);
  while (file.size() + beforeEnd < kUtf16PieceBytes) file += (file.size() % 2 == 0) ? 'a' : '\0';
  file.append(reinterpret_cast<const char*>(data), size);
  return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string fault = CompareConversionWithReference(data, size / 2);
  if (!fault.empty()) Fail(fault);

  static ScratchFile scratch;
  const std::string file = FileAroundPieceEnd(data, size);
  const SaveTextOwner text(LoadSaveText(scratch.Write(file.data(), file.size())));
  if (text == nullptr) Fail("a readable file did not load");
  if (text.get() != ReferenceUtf16Text(file)) Fail("the loaded text differs from the reference's");
  return 0;
}
