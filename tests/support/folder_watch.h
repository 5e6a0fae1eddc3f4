#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

// What happened to the entries of one folder while it was watched, by entry name ("" for the
// folder itself). Linux reports opens and writes entry by entry; Windows reports only that
// something in the folder was written, under "".
class FolderWatch {
 public:
  enum Event : std::uint32_t {
    kClosedUnwritten = 1,  // opened without the right to write, and closed
    kWritten = 2,          // created, written, removed, renamed or given new attributes
  };
#ifdef _WIN32
  static constexpr bool kSeesOpens = false;
#else
  static constexpr bool kSeesOpens = true;
#endif

  explicit FolderWatch(const std::filesystem::path& folder);
  ~FolderWatch();
  FolderWatch(const FolderWatch&) = delete;
  FolderWatch& operator=(const FolderWatch&) = delete;

  bool Watching() const;

  // The events since the watch began, as masks of Event.
  std::map<std::string, std::uint32_t> Events() const;

 private:
#ifdef _WIN32
  void* change_ = nullptr;
#else
  int fd_ = -1;
  int watch_ = -1;
#endif
};
