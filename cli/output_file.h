#pragma once

#include <string>
#include <string_view>

#include "lister_texts.h"

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

// The file that --output names, resolved once, before the save is read, so that a relative name
// keeps meaning the folder that the lister started in: `file` is the one that the list replaces,
// by its full path (on POSIX systems the one that a link leads to, so that the link stays),
// `refusal` why the list may not go there. On Linux a name under /dev/ or /proc/ is refused as it
// is given, before any link is followed: /dev/stdout would lead to the very file that standard
// output goes to, which the list would replace.
struct OutputTarget {
  std::string file;
  OutputRefusal refusal = OutputRefusal::kNone;
};

// Resolves `name` against the current directory and checks it against `save`, the save as named.
OutputTarget ResolveOutput(const std::string& name, const std::string& save);

// Replaces the file `target` (of ResolveOutput) with `contents`. They are written to a new file
// beside it, which is renamed to `target` once complete and removed on any failure, so that
// `target` is either left as it was or holds all of `contents`. On POSIX systems a file that its
// user may not write is left alone, as a shell's redirection leaves it; one that is replaced keeps
// its permission bits, and its group where the system allows, or else loses the group's bits, so
// that no other group reads it; a new one gets the usual default. Returns false with the reason in
// `error`: in `language`, on Windows in the system's.
bool ReplaceFileWith(const std::string& target, std::string_view contents,
                     ListerLanguage language, std::string& error);
