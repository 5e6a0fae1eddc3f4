#include "lister.h"

#include <cerrno>
#include <optional>
#include <sstream>
#include <string>
#include <system_error>

#include "lister_options.h"
#include "output_file.h"
#include "roster_listing.h"
#include "save/save_scanner.h"
#include "save/save_text.h"
#include "system_names.h"
#include "ui/roster_query.h"
#include "ui/roster_rows.h"

namespace {

constexpr char kProgram[] = "pellarin-cli";

// Sorts the rows as successive header clicks would, each with its stated direction.
void SortRows(RosterRows& rows, const Roster& roster, const std::vector<SortRequest>& sorts) {
  const std::int32_t savedColumn = g_nSortColumn;
  const std::int32_t savedDirection = g_nSortDirection;
  for (const SortRequest& sort : sorts) {
    g_nSortColumn = sort.column;
    g_nSortDirection = sort.direction;
    SortRosterRows(rows, roster);
  }
  g_nSortColumn = savedColumn;
  g_nSortDirection = savedDirection;
}

// Loads the save and fills and sorts the rows; on failure, says why on `err` and gives the status.
std::optional<int> ListSave(const ListerOptions& options, RosterRows& rows, std::ostream& err) {
  const std::optional<std::string> path = CodePageFileName(options.file);
  if (!path) {
    err << kProgram << ": cannot read '" << options.file
        << "': the system's code page cannot spell its name\n";
    return kListerReadOrWriteFailed;
  }
  errno = 0;
  SaveTextOwner text(LoadSaveText(path->c_str()));
  if (text == nullptr) {
    // The loader reports no reason of its own; the system call that failed left one in errno.
    const std::string reason =
        errno != 0 ? std::generic_category().message(errno) : "the file could not be read in full";
    err << kProgram << ": cannot read '" << options.file << "': " << reason << "\n";
    return kListerReadOrWriteFailed;
  }
  Roster roster;
  if (!ScanSave(text.get(), roster)) {
    err << kProgram << ": '" << options.file << "' does not look like a save of the game\n";
    return kListerNotASave;
  }
  FillRosterRows(rows, roster, options.criteria);
  std::vector<SortRequest> sorts = options.sorts;
  if (sorts.empty()) sorts.push_back({kDefaultSortColumn, kDefaultSortDirection});
  SortRows(rows, roster, sorts);
  // The text goes when this returns: the rows hold their own copies of the names.
  return std::nullopt;
}

}  // namespace

int RunLister(std::span<const std::string_view> args, std::ostream& out, std::ostream& err,
              bool outIsConsole) {
  ListerOptions options;
  std::string error;
  if (!ParseListerOptions(args, options, error)) {
    err << kProgram << ": " << error << "\n" << ListerUsageHint();
    return kListerUsageError;
  }
  if (options.help || options.version) {
    out << (options.help ? ListerUsage() : kListerVersion);
    return out.flush() ? kListerOk : kListerReadOrWriteFailed;
  }
  const bool toFile = !options.output.empty();
  // Refused before anything is read or written: the list must never take a save's place.
  if (toFile && (HasSaveEnding(options.output) || HasSaveEnding(ReplacedFile(options.output)) ||
                 IsSameFile(options.output, options.file))) {
    err << kProgram << ": will not write the list to '" << options.output
        << "': that is a save, and saves are only read\n";
    return kListerUsageError;
  }

  RosterRows rows;
  if (const std::optional<int> failed = ListSave(options, rows, err)) return *failed;

  ListingFormat format = ListingFormat::kTabSeparated;
  if (options.csv) {
    format = outIsConsole && !toFile ? ListingFormat::kCsvWithoutByteOrderMark
                                     : ListingFormat::kCsv;
  }
  if (toFile) {
    std::ostringstream listing;
    WriteRosterListing(rows, listing, format);
    if (!ReplaceFileWith(options.output, listing.view(), error)) {
      err << kProgram << ": cannot write the list to '" << options.output << "': " << error << "\n";
      return kListerReadOrWriteFailed;
    }
    return kListerOk;
  }
  WriteRosterListing(rows, out, format);
  if (!out.flush()) {
    err << kProgram << ": cannot write the listing\n";
    return kListerReadOrWriteFailed;
  }
  return kListerOk;
}
