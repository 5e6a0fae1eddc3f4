#pragma once

#include <string>
#include <string_view>

// The one file that the lister writes: the one that --output names. Names are as the lister holds
// them (system_names.h).

// Whether `name` ends in ".eug", the saves' ending, in any case. Windows drops dots and spaces at
// the end of a name and takes what follows a colon for a stream of the file before it, so
// "x.eug.", "x.eug " and "x.eug:list" end in ".eug" too.
bool HasSaveEnding(std::string_view name);

// What keeps the list from a file.
enum class OutputRefusal {
  kNone,
  kSave,       // a save's name, or the save being read under any name
  kFolder,
  kNotAFile,   // a device such as /dev/stdout or NUL, or a pipe, which a rename would replace
};

// The file that --output names, resolved once, before the save is read: `file` is the one that
// the list replaces (on POSIX systems the one that a link leads to, so that the link stays;
// otherwise the name itself), `refusal` why the list may not go there.
struct OutputTarget {
  std::string file;
  OutputRefusal refusal = OutputRefusal::kNone;
};

// Resolves `name` against the current directory and checks it against `save`, the save as named.
OutputTarget ResolveOutput(const std::string& name, const std::string& save);

// Replaces the file `target` (of ResolveOutput) with `contents`. They are written to a new file
// beside it, which is renamed to `target` once complete and removed on any failure, so that
// `target` is either left as it was or holds all of `contents`. On POSIX systems a file that is
// replaced keeps its permission bits, and its group where the system allows; a new one gets the
// usual default. Returns false with the reason in `error`.
bool ReplaceFileWith(const std::string& target, std::string_view contents, std::string& error);
