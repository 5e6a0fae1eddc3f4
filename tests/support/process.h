#pragma once

#include <filesystem>
#include <string>
#include <vector>

// What a program that ran to its end left: its exit status and everything it wrote.
struct ProcessOutcome {
  int status = -1;  // -1 when it could not be started or did not exit normally
  std::string out;
  std::string err;
};

// Runs `program` with `args`, in UTF-8, and waits for it. Its standard output and error go through
// two files in `scratch`, which must be a writable folder. Its standard input is the file `input`,
// or else the caller's.
ProcessOutcome RunProcess(const std::filesystem::path& program, const std::vector<std::string>& args,
                          const std::filesystem::path& scratch,
                          const std::filesystem::path& input = {});
