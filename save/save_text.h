#pragma once

#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <memory>

// A SaveText is the whole save file as one writable, NUL-terminated heap buffer of 8-bit text in the
// program's code page (Shift-JIS). No length travels with it: the text ends at its first NUL. The
// scanner cuts it up in place, so one SaveText is scanned once.
using SaveText = char*;

// The most bytes that a save may hold, far above any real one (the largest are tens of
// megabytes): a larger file or pipe, /dev/zero say, is refused before it takes more memory.
inline constexpr std::size_t kSaveTextLimit = std::size_t{512} << 20;

// Reads the file at `path`, as the system spells it (wide on Windows, so that any name reads),
// into a new SaveText that the caller owns and releases with ReleaseSaveText. A file that begins
// with the byte 0xFF is taken as UTF-16 little-endian and is converted to the code page. A
// regular file is read as long as its size says; anything else that opens for reading, a pipe
// such as /dev/stdin, to its end. Returns nullptr when the file cannot be read, with errno set by
// the call that failed: EISDIR for a folder, EFBIG for more than `limit` bytes.
SaveText LoadSaveText(const std::filesystem::path& path, std::size_t limit = kSaveTextLimit);

// The same for a path in the program's 8-bit code page.
SaveText LoadSaveText(const char* path);

// Reads an open stream, standard input say, to its end as LoadSaveText reads a pipe.
SaveText ReadSaveText(std::FILE* stream, std::size_t limit = kSaveTextLimit);

// A UTF-16 file is read and converted this many bytes at a time, so that its own bytes never take
// memory beside the converted text.
inline constexpr std::size_t kUtf16PieceBytes = std::size_t{128} << 10;

// Releases a SaveText; releasing none does nothing.
void ReleaseSaveText(SaveText text);

struct SaveTextDeleter {
  void operator()(char* text) const { ReleaseSaveText(text); }
};

// The one owner of a SaveText wherever our code holds one: it releases the text with
// ReleaseSaveText exactly once. Taken from LoadSaveText as SaveTextOwner(LoadSaveText(path)).
using SaveTextOwner = std::unique_ptr<char, SaveTextDeleter>;
