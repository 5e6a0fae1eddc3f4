#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ui/roster_query.h"

// One --sort: the column and the direction (+1 ascending, -1 descending), as a header click
// would set them.
struct SortRequest {
  std::int32_t column = 0;
  std::int32_t direction = 1;

  bool operator==(const SortRequest&) const = default;
};

// What the command line asks for. The defaults are the window's (kDefaultSearch).
struct ListerOptions {
  SearchCriteria criteria = kDefaultSearch;
  std::vector<SortRequest> sorts;  // in the order given; none means total, descending
  std::string file;
  std::string output;  // the file that --output names; empty for standard output
  bool csv = false;
  bool help = false;
  bool version = false;
};

// Reads the arguments that follow the program name into `options`. Returns false with a
// one-line reason in `error` when they are not usable. --help and --version leave the rest of a
// usable command line unused. Of an option given twice the last counts, except --sort, which
// adds a sort each time.
bool ParseListerOptions(std::span<const std::string_view> args, ListerOptions& options,
                        std::string& error);

// The text that --help prints, ending with a line feed.
const std::string& ListerUsage();

// The usage line and where to find more, for a command line that is not usable.
const std::string& ListerUsageHint();

// The line that --version prints.
extern const char kListerVersion[];
