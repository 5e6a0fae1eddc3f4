#include "save_text.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>

#include "code_page.h"

namespace {

#ifdef _WIN32
using FileStatus = struct _stat64;
int QueryFileStatus(const char* path, FileStatus* status) { return _stat64(path, status); }
#else
using FileStatus = struct stat;
int QueryFileStatus(const char* path, FileStatus* status) { return stat(path, status); }
#endif

// The 8-bit text is the converted content up to the first zero code unit; the lone last byte of
// an odd-length file is no code unit and is dropped.
SaveText ConvertUtf16Content(const unsigned char* content, std::size_t size) {
  std::size_t units = 0;
  const std::size_t available = size / 2;
  while (units < available && (content[2 * units] | content[2 * units + 1]) != 0) ++units;
  return ConvertUtf16LeToCodePage(content, units);
}

}  // namespace

SaveText LoadSaveText(const char* path) {
  FileStatus status{};
  if (QueryFileStatus(path, &status) != 0 || status.st_size < 0) return nullptr;
  const auto fileSize = static_cast<std::uintmax_t>(status.st_size);
  if (fileSize >= SIZE_MAX) return nullptr;
  const auto size = static_cast<std::size_t>(fileSize);

  auto* content = static_cast<unsigned char*>(std::malloc(size + 1));
  if (content == nullptr) return nullptr;
  std::FILE* file = std::fopen(path, "rb");
  if (file == nullptr) {
    std::free(content);
    return nullptr;
  }
  const std::size_t read = size == 0 ? 0 : std::fread(content, 1, size, file);
  std::fclose(file);
  if (read != size) {
    std::free(content);
    return nullptr;
  }
  content[size] = '\0';

  if (size > 0 && content[0] == 0xFF) {
    SaveText converted = ConvertUtf16Content(content, size);
    std::free(content);
    return converted;
  }
  return reinterpret_cast<SaveText>(content);
}

void ReleaseSaveText(SaveText text) { std::free(text); }
