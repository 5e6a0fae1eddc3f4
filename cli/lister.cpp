#include "lister.h"

#include <cerrno>
#include <cstdio>
#include <optional>
#include <sstream>
#include <string>

#include "lister_options.h"
#include "output_file.h"
#include "roster_listing.h"
#include "save/save_scanner.h"
#include "save/save_text.h"
#include "system_names.h"
#include "ui/roster_query.h"
#include "ui/roster_rows.h"

namespace {

constexpr std::string_view kProgram = "pellarin-cli: ";

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

// One message, in one piece: a console converts it at once.
void Say(std::ostream& err, const std::string& message) {
  err << std::string(kProgram) + message + "\n";
}

// Loads the save and fills and sorts the rows; on failure, says why on `err` and gives the status.
std::optional<int> ListSave(const ListerOptions& options, ListerLanguage language, RosterRows& rows,
                            std::ostream& err) {
  errno = 0;
  SaveTextOwner text(options.file == "-" ? ReadSaveText(stdin)
                                         : LoadSaveText(SystemPath(options.file)));
  if (text == nullptr) {
    Say(err, FormatText(language, ListerText::kCannotRead,
                        {options.file, ReasonText(errno, language)}));
    return kListerReadOrWriteFailed;
  }
  Roster roster;
  if (!ScanSave(text.get(), roster)) {
    Say(err, FormatText(language, ListerText::kNotASave, {options.file}));
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

int RunLister(std::span<const std::string_view> args, ListerLanguage language, std::ostream& out,
              std::ostream& err, bool outIsConsole) {
  ListerOptions options;
  std::string error;
  if (!ParseListerOptions(args, language, options, error)) {
    err << std::string(kProgram) + error + "\n" + FormatText(language, ListerText::kUsageHint);
    return kListerUsageError;
  }
  if (options.help || options.version) {
    out << (options.help ? ListerHelp(language) : kListerVersion);
    return out.flush() ? kListerOk : kListerReadOrWriteFailed;
  }
  const bool toFile = !options.output.empty();
  // Checked before anything is read or written: the list must never take a save's place, nor
  // that of the file behind standard input where "-" reads it.
  const std::string save = options.file == "-" ? "/dev/stdin" : options.file;
  const OutputTarget target = toFile ? ResolveOutput(options.output, save) : OutputTarget{};
  if (target.refusal == OutputRefusal::kSave) {
    Say(err, FormatText(language, ListerText::kOutputIsASave, {options.output}));
    return kListerUsageError;
  }
  if (target.refusal != OutputRefusal::kNone) {
    const ListerText reason = target.refusal == OutputRefusal::kFolder
                                  ? ListerText::kIsAFolder
                                  : ListerText::kNotARegularFile;
    Say(err, FormatText(language, ListerText::kCannotWriteList,
                        {options.output, FormatText(language, reason)}));
    return kListerReadOrWriteFailed;
  }

  RosterRows rows;
  if (const std::optional<int> failed = ListSave(options, language, rows, err)) return *failed;

  ListingFormat format = ListingFormat::kTabSeparated;
  if (options.csv) {
    format = outIsConsole && !toFile ? ListingFormat::kCsvWithoutByteOrderMark
                                     : ListingFormat::kCsv;
  }
  // Built whole, so that it reaches a file at once and a console in one conversion.
  std::ostringstream listing;
  WriteRosterListing(rows, listing, format);
  if (toFile && !ReplaceFileWith(target.file, listing.view(), language, error)) {
    Say(err, FormatText(language, ListerText::kCannotWriteList, {options.output, error}));
    return kListerReadOrWriteFailed;
  }
  if (!toFile && !(out << listing.view()).flush()) {
    Say(err, FormatText(language, ListerText::kCannotWriteListing));
    return kListerReadOrWriteFailed;
  }
  return kListerOk;
}
