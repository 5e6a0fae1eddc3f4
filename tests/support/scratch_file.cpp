#include "scratch_file.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>

#ifndef _WIN32
#include <sys/mman.h>
#include <unistd.h>
#endif

#ifdef _WIN32

ScratchFile::ScratchFile() {
  std::random_device seed;
  path_ = (std::filesystem::temp_directory_path() /
           ("pellarin-scratch-" + std::to_string(seed()) + ".eug"))
              .string();
}

ScratchFile::~ScratchFile() { std::remove(path_.c_str()); }

const char* ScratchFile::Write(const void* data, std::size_t size) {
  std::ofstream out(path_, std::ios::binary | std::ios::trunc);
  out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
  if (!out.flush()) throw std::runtime_error("cannot write " + path_);
  return path_.c_str();
}

#else

ScratchFile::ScratchFile() : fd_(memfd_create("save", 0)) {
  if (fd_ < 0) throw std::runtime_error("memfd_create failed");
  path_ = "/proc/self/fd/" + std::to_string(fd_);
}

ScratchFile::~ScratchFile() { close(fd_); }

const char* ScratchFile::Write(const void* data, std::size_t size) {
  if (ftruncate(fd_, 0) != 0) throw std::runtime_error("ftruncate failed");
  const auto* bytes = static_cast<const char*>(data);
  std::size_t written = 0;
  while (written < size) {
    const ssize_t n = pwrite(fd_, bytes + written, size - written, static_cast<off_t>(written));
    if (n <= 0) throw std::runtime_error("pwrite failed");
    written += static_cast<std::size_t>(n);
  }
  return path_.c_str();
}

#endif
