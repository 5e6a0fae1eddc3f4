#include "lister.h"

#include <cerrno>
#include <string>
#include <system_error>

#include "lister_options.h"
#include "roster_listing.h"
#include "save/save_scanner.h"
#include "save/save_text.h"
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

}  // namespace

int RunLister(std::span<const std::string_view> args, std::ostream& out, std::ostream& err) {
  ListerOptions options;
  std::string error;
  if (!ParseListerOptions(args, options, error)) {
    err << kProgram << ": " << error << "\n" << kListerUsage;
    return kListerUsageError;
  }
  if (options.help) {
    out << kListerUsage;
    return out.flush() ? kListerOk : kListerReadOrWriteFailed;
  }

  errno = 0;
  SaveTextOwner text(LoadSaveText(options.file.c_str()));
  if (text == nullptr) {
    // The loader reports no reason of its own; the system call that failed left one in errno.
    const std::string reason =
        errno != 0 ? std::generic_category().message(errno) : "the file could not be read in full";
    err << kProgram << ": cannot read '" << options.file << "': " << reason << "\n";
    return kListerReadOrWriteFailed;
  }
  Roster roster;
  ScanSave(text.get(), roster);
  RosterRows rows;
  FillRosterRows(rows, roster, options.criteria);
  if (options.sorts.empty()) options.sorts.push_back({kDefaultSortColumn, kDefaultSortDirection});
  SortRows(rows, roster, options.sorts);
  // The rows hold their own copies of the names; the sort was the last to read the records.
  text.reset();

  WriteRosterListing(rows, out);
  if (!out.flush()) {
    err << kProgram << ": cannot write the listing\n";
    return kListerReadOrWriteFailed;
  }
  return kListerOk;
}
