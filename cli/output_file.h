#pragma once

#include <string>
#include <string_view>

// The one file that the lister writes: the one that --output names. Names are as the lister holds
// them (system_names.h).

// Whether `name` ends in ".eug", the saves' ending, in any case. Windows drops dots and spaces at
// the end of a name and takes what follows a colon for a stream of the file before it, so
// "x.eug.", "x.eug " and "x.eug:list" end in ".eug" too.
bool HasSaveEnding(std::string_view name);

// The file that writing `name` replaces: on POSIX systems the one that a link leads to, so that the
// link stays; `name` itself when it is no link or leads nowhere yet, and on Windows.
std::string ReplacedFile(const std::string& name);

// Whether both names reach one and the same existing file, through links or other spellings too;
// false when either does not exist.
bool IsSameFile(const std::string& first, const std::string& second);

// Replaces the file `name` with `contents`. They are written to a new file beside it, which is
// renamed to `name` once complete and removed on any failure, so that `name` is either left as it
// was or holds all of `contents`. Returns false with the reason in `error`.
bool ReplaceFileWith(const std::string& name, std::string_view contents, std::string& error);
