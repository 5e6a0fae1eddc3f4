#pragma once

#include <ostream>
#include <span>
#include <string_view>

#include "lister_texts.h"

// Exit statuses of the lister.
inline constexpr int kListerOk = 0;
// The save could not be read, or the listing could not be written.
inline constexpr int kListerReadOrWriteFailed = 1;
// The command line is not usable, or --output names a save.
inline constexpr int kListerUsageError = 2;
// The file is no save: the scan did not reach its characters.
inline constexpr int kListerNotASave = 3;

// Runs the lister with the arguments that follow the program name: loads and scans the save,
// fills the rows as a Search would, sorts them and writes the listing to `out`, or to the file
// that --output names. Problems go to `err`, each in one piece. Messages and the help are in
// `language`. `outIsConsole`: `out` is a console, where a CSV goes without its byte-order mark.
// Returns the exit status. Leaves the process-wide sort state and the current directory as it
// found them.
int RunLister(std::span<const std::string_view> args, ListerLanguage language, std::ostream& out,
              std::ostream& err, bool outIsConsole = false);
