#pragma once

#include <filesystem>

// Puts the current directory back at the end of a test: the program works relative to it, as it
// runs in the game's folder, and its Open command moves it. Given a folder, the test runs there.
class CurrentDirectoryGuard {
 public:
  CurrentDirectoryGuard() : saved_(std::filesystem::current_path()) {}
  explicit CurrentDirectoryGuard(const std::filesystem::path& folder) : CurrentDirectoryGuard() {
    std::filesystem::current_path(folder);
  }
  ~CurrentDirectoryGuard() { std::filesystem::current_path(saved_); }
  CurrentDirectoryGuard(const CurrentDirectoryGuard&) = delete;
  CurrentDirectoryGuard& operator=(const CurrentDirectoryGuard&) = delete;

 private:
  std::filesystem::path saved_;
};
