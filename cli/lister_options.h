#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "lister_texts.h"
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
// one-line reason in `language` in `error` when they are not usable. An option's value is the rest
// of its argument after "=" (or after "-o") where there is one, or else the next argument, whatever
// it is. --help and --version leave the rest of the command line unused. Of an option given twice
// the last counts, except --sort, which adds a sort each time. After "--" every argument is a
// file, as is "-", which stands for standard input.
bool ParseListerOptions(std::span<const std::string_view> args, ListerLanguage language,
                        ListerOptions& options, std::string& error);

// What --help prints, in `language`.
std::string ListerHelp(ListerLanguage language);

// The line that --version prints.
extern const char kListerVersion[];
