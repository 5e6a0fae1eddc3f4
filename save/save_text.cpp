#include "save_text.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <sys/stat.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "code_page.h"

namespace {

#ifdef _WIN32
using FileStatus = struct _stat64;
int QueryFileStatus(const char* path, FileStatus* status) { return _stat64(path, status); }
int QueryFileStatus(const wchar_t* path, FileStatus* status) { return _wstat64(path, status); }
std::FILE* OpenForReading(const char* path) { return std::fopen(path, "rb"); }
std::FILE* OpenForReading(const wchar_t* path) { return _wfopen(path, L"rb"); }
bool IsFolder(const FileStatus& status) { return (status.st_mode & _S_IFMT) == _S_IFDIR; }
bool IsRegularFile(const FileStatus& status) { return (status.st_mode & _S_IFMT) == _S_IFREG; }
#else
using FileStatus = struct stat;
int QueryFileStatus(const char* path, FileStatus* status) { return stat(path, status); }
std::FILE* OpenForReading(const char* path) { return std::fopen(path, "rb"); }
bool IsFolder(const FileStatus& status) { return S_ISDIR(status.st_mode); }
bool IsRegularFile(const FileStatus& status) { return S_ISREG(status.st_mode); }
#endif

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

bool IsHighSurrogate(const unsigned char* unit) { return unit[1] >= 0xD8 && unit[1] <= 0xDB; }

// The first zero code unit among `units`, or `units`. Eight units at a time where SSE2 is there.
std::size_t FindZeroUnit(const unsigned char* bytes, std::size_t units) {
  std::size_t i = 0;
#if defined(__SSE2__)
  for (; units - i >= 8; i += 8) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + 2 * i));
    const unsigned zeros =
        static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(block, _mm_setzero_si128())));
    if (zeros != 0) return i + static_cast<std::size_t>(__builtin_ctz(zeros)) / 2;
  }
#endif
  while (i < units && (bytes[2 * i] | bytes[2 * i + 1]) != 0) ++i;
  return i;
}

// Converts the rest of a UTF-16 little-endian file, whose first byte (`first`) has been read and
// which holds `remaining` bytes more, into `text`, which has room for MaxCodePageBytes of all its
// code units and a NUL. The text is the converted content up to the first zero code unit; the
// lone last byte of an odd-length file is no code unit and is dropped. Gives the text's length,
// or SIZE_MAX when reading or converting fails.
std::size_t ConvertUtf16File(std::FILE* file, unsigned char first, std::size_t remaining, char* text) {
  const std::unique_ptr<unsigned char[]> piece(new (std::nothrow) unsigned char[kUtf16PieceBytes]);
  if (piece == nullptr) return SIZE_MAX;
  piece[0] = first;
  std::size_t carried = 1;  // bytes at the front of the piece that belong to no converted unit yet
  char* out = text;
  for (;;) {
    const std::size_t wanted = std::min(remaining, kUtf16PieceBytes - carried);
    if (wanted > 0 && std::fread(piece.get() + carried, 1, wanted, file) != wanted) return SIZE_MAX;
    remaining -= wanted;
    const std::size_t bytes = carried + wanted;
    const std::size_t units = bytes / 2;
    const std::size_t zero = FindZeroUnit(piece.get(), units);
    const bool last = zero < units || remaining == 0;
    std::size_t convert = zero;
    // A high surrogate waits for its low half, which the next piece begins with.
    if (!last && convert > 0 && IsHighSurrogate(piece.get() + 2 * (convert - 1))) --convert;
    const std::size_t written = ConvertUtf16LePiece(piece.get(), convert, out);
    if (written == SIZE_MAX) return SIZE_MAX;
    out += written;
    if (last) break;
    carried = bytes - 2 * convert;
    std::memmove(piece.get(), piece.get() + 2 * convert, carried);
  }
  *out = '\0';
  return static_cast<std::size_t>(out - text);
}

// Reads the rest of an 8-bit file, whose first byte (`first`) has been read, into a new text.
SaveText ReadEightBitFile(std::FILE* file, char first, std::size_t size) {
  auto* text = static_cast<char*>(std::malloc(size + 1));
  if (text == nullptr) return nullptr;
  if (size > 0) {
    text[0] = first;
    if (size > 1 && std::fread(text + 1, 1, size - 1, file) != size - 1) {
      std::free(text);
      return nullptr;
    }
  }
  text[size] = '\0';
  return text;
}

// Converts the rest of a UTF-16 file into a new text, given room for the most its code units can
// become; the unused room is given back.
SaveText ReadUtf16File(std::FILE* file, std::size_t size) {
  const std::size_t room = MaxCodePageBytes(size / 2);
  if (room == SIZE_MAX) return nullptr;
  auto* text = static_cast<char*>(std::malloc(room + 1));
  if (text == nullptr) return nullptr;
  const std::size_t length = ConvertUtf16File(file, 0xFF, size - 1, text);
  if (length == SIZE_MAX) {
    std::free(text);
    return nullptr;
  }
  // For a large buffer this remaps pages instead of copying.
  if (char* shrunk = static_cast<char*>(std::realloc(text, length + 1))) text = shrunk;
  return text;
}

// A pipe or a device tells no size: it is read to its end, the buffer doubling as it fills but
// never past one byte more than `limit`, which is how a longer input shows itself. A UTF-16 text
// is converted once all of it is in.
SaveText ReadStream(std::FILE* file, std::size_t limit) {
  std::size_t size = 0;
  std::size_t room = std::min(kUtf16PieceBytes, limit + 1);
  char* text = static_cast<char*>(std::malloc(room + 1));
  while (text != nullptr) {
    size += std::fread(text + size, 1, room - size, file);
    if (size < room || room > limit) break;
    const std::size_t larger = std::min(room, limit + 1 - room) + room;
    char* grown = static_cast<char*>(std::realloc(text, larger + 1));
    if (grown == nullptr) std::free(text);
    text = grown;
    room = larger;
  }
  if (text == nullptr || std::ferror(file) || size > limit) {
    std::free(text);
    if (size > limit) errno = EFBIG;
    return nullptr;
  }
  text[size] = '\0';
  if (size == 0 || static_cast<unsigned char>(text[0]) != 0xFF) return text;

  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  const std::size_t units = FindZeroUnit(bytes, size / 2);
  const std::size_t converted = MaxCodePageBytes(units);
  char* out = converted == SIZE_MAX ? nullptr : static_cast<char*>(std::malloc(converted + 1));
  const std::size_t length = out == nullptr ? SIZE_MAX : ConvertUtf16LePiece(bytes, units, out);
  std::free(text);
  if (length == SIZE_MAX) {
    std::free(out);
    return nullptr;
  }
  out[length] = '\0';
  return out;
}

// Reads the file at `path`, spelt for the system's file functions of its character type.
template <typename Char>
SaveText LoadFile(const Char* path, std::size_t limit) {
  FileStatus status{};
  if (QueryFileStatus(path, &status) != 0 || status.st_size < 0) return nullptr;
  // A folder opens for reading on some systems and fails with "permission denied" on others; it
  // is said to be what it is.
  if (IsFolder(status)) {
    errno = EISDIR;
    return nullptr;
  }
  if (!IsRegularFile(status)) {
    const File stream(OpenForReading(path));
    return stream != nullptr ? ReadStream(stream.get(), limit) : nullptr;
  }
  if (static_cast<std::uintmax_t>(status.st_size) > limit) {
    errno = EFBIG;
    return nullptr;
  }
  const auto size = static_cast<std::size_t>(status.st_size);

  const File file(OpenForReading(path));
  if (file == nullptr) return nullptr;
  char first = '\0';
  if (size > 0 && std::fread(&first, 1, 1, file.get()) != 1) return nullptr;
  if (size > 0 && static_cast<unsigned char>(first) == 0xFF) return ReadUtf16File(file.get(), size);
  return ReadEightBitFile(file.get(), first, size);
}

}  // namespace

SaveText LoadSaveText(const std::filesystem::path& path, std::size_t limit) {
  return LoadFile(path.c_str(), limit);
}

SaveText LoadSaveText(const char* path) { return LoadFile(path, kSaveTextLimit); }

SaveText ReadSaveText(std::FILE* stream, std::size_t limit) { return ReadStream(stream, limit); }

void ReleaseSaveText(SaveText text) { std::free(text); }
