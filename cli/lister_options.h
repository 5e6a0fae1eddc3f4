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
  bool help = false;
};

// Reads the arguments that follow the program name into `options`. Returns false with a
// one-line reason in `error` when they are not usable. With --help, parsing stops there.
bool ParseListerOptions(std::span<const std::string_view> args, ListerOptions& options,
                        std::string& error);

// The usage text, ending with a line feed.
extern const std::string kListerUsage;
