#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

// What happened to the entries of one folder while it was watched, by entry name ("" for the
// folder itself). Where the system offers no such watch (Windows here), kAvailable is false and
// nothing is reported.
class FolderWatch {
 public:
  enum Event : std::uint32_t {
    kClosedUnwritten = 1,  // opened without the right to write, and closed
    kWritten = 2,          // created, written, removed, renamed or given new attributes
  };

#ifdef _WIN32
  static constexpr bool kAvailable = false;
#else
  static constexpr bool kAvailable = true;
#endif

  explicit FolderWatch(const std::filesystem::path& folder);
  ~FolderWatch();
  FolderWatch(const FolderWatch&) = delete;
  FolderWatch& operator=(const FolderWatch&) = delete;

  bool Watching() const { return fd_ >= 0 && watch_ >= 0; }

  // The events since the watch began or since the last call, as masks of Event.
  std::map<std::string, std::uint32_t> Events() const;

 private:
  int fd_ = -1;
  int watch_ = -1;
};
