#pragma once

#include <cstddef>
#include <string>

// One file, rewritten again and again, that the loader can open by its path like any other: a
// memory-backed file where the system has one, else a file in the temporary folder. Removed at
// the end.
class ScratchFile {
 public:
  ScratchFile();
  ~ScratchFile();
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;

  // Replaces the content with `size` bytes from `data`; returns the file's path.
  const char* Write(const void* data, std::size_t size);

 private:
  std::string path_;
  int fd_ = -1;
};
