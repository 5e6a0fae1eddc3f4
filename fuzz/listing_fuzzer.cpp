// Takes arbitrary bytes as a save's text, lists every living character of it as the lister does,
// tab-separated and as CSV, and holds the two to each other: the CSV, read back as RFC 4180 reads
// it, gives the same rows of ten cells, each cell the same text apart from the leading "'" that
// keeps a name from being taken for a formula and the tabs and line breaks that the tab-separated
// listing shows as spaces. No cell that a spreadsheet would split (at a comma, a semicolon, a tab
// or a line break) or take for a formula stays unquoted or unguarded.

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/roster_listing.h"
#include "save/roster_table.h"
#include "save/save_scanner.h"
#include "ui/roster_query.h"
#include "ui/roster_rows.h"
#include "ui/spreadsheet_guard.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "listing_fuzzer: %s\n", what.c_str());
  std::abort();
}

Rows ReadTabSeparated(std::string_view text) {
  Rows rows;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    if (end == std::string_view::npos) Fail("a tab-separated line has no line feed");
    std::vector<std::string> cells(1);
    for (const char c : text.substr(0, end)) {
      if (c == '\t') cells.emplace_back();
      else cells.back() += c;
    }
    rows.push_back(std::move(cells));
    text.remove_prefix(end + 1);
  }
  return rows;
}

// RFC 4180, strictly: records end in CR LF; a field is quoted, its quotation marks doubled, or
// holds none of the bytes that would need quoting.
Rows ReadCsv(std::string_view text) {
  Rows rows;
  std::size_t at = 0;
  while (at < text.size()) {
    std::vector<std::string> cells;
    for (;;) {
      std::string cell;
      if (text[at] == '"') {
        for (++at;; ++at) {
          if (at >= text.size()) Fail("a quoted CSV field is not closed");
          if (text[at] == '"') {
            if (at + 1 < text.size() && text[at + 1] == '"') cell += text[++at];
            else break;
          } else {
            cell += text[at];
          }
        }
        ++at;
      } else {
        const std::size_t end = text.find_first_of(",\r", at);
        cell = text.substr(at, end == std::string_view::npos ? text.size() - at : end - at);
        if (cell.find_first_of(";\t\"\n") != std::string::npos) Fail("a field needs quoting");
        at += cell.size();
      }
      cells.push_back(std::move(cell));
      if (at < text.size() && text[at] == ',') {
        ++at;
        continue;
      }
      if (text.substr(at, 2) != "\r\n") Fail("a CSV field is not followed by a comma or CR LF");
      at += 2;
      break;
    }
    rows.push_back(std::move(cells));
  }
  return rows;
}

std::string Spaced(std::string text) {
  std::replace_if(
      text.begin(), text.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
  return text;
}

// Whether `csv` is the tab-separated `tsv`, guarded where the column is text.
bool SameCell(const std::string& csv, const std::string& tsv, int column) {
  if (kRosterColumns[column].format != CellFormat::kText) return Spaced(csv) == tsv;
  // Either a name that needs no guard, or one with it; a name that itself begins with "'" reads
  // both ways.
  if (GuardSpreadsheetText(csv) == csv && Spaced(csv) == tsv) return true;
  const std::string unguarded = csv.empty() ? csv : csv.substr(1);
  return csv.starts_with('\'') && GuardSpreadsheetText(unguarded) == csv &&
         Spaced(unguarded) == tsv;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  Roster roster;
  ScanSave(text.data(), roster);
  RosterRows rows;
  FillRosterRows(rows, roster, {INT32_MIN, INT32_MAX, kGenderAll, kReligionAll, kMaritalAll});

  std::ostringstream tsv;
  WriteRosterListing(rows, tsv, ListingFormat::kTabSeparated);
  std::ostringstream csv;
  WriteRosterListing(rows, csv, ListingFormat::kCsv);
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (!csv.view().starts_with(kByteOrderMark)) Fail("the CSV has no byte-order mark");

  const Rows tsvRows = ReadTabSeparated(tsv.view());
  const Rows csvRows = ReadCsv(csv.view().substr(kByteOrderMark.size()));
  if (tsvRows.size() != static_cast<std::size_t>(rows.GetItemCount()) + 1) {
    Fail("the tab-separated listing has not a line per row and the header");
  }
  if (csvRows.size() != tsvRows.size()) Fail("the CSV has another number of rows");
  for (std::size_t row = 0; row < tsvRows.size(); ++row) {
    if (tsvRows[row].size() != kRosterColumnCount || csvRows[row].size() != kRosterColumnCount) {
      Fail("a row has not ten cells");
    }
    for (int column = 0; column < kRosterColumnCount; ++column) {
      if (!SameCell(csvRows[row][column], tsvRows[row][column], column)) {
        Fail("row " + std::to_string(row) + " column " + std::to_string(column) + " differs");
      }
    }
  }
  return 0;
}
