#include "roster_listing.h"

#include <algorithm>

#include "save/code_page.h"
#include "save/roster_table.h"
#include "ui/roster_rows.h"
#include "ui/spreadsheet_guard.h"

int ColumnFromKey(std::string_view key) {
  const auto found = std::find_if(kRosterColumns.begin(), kRosterColumns.end(),
                                  [key](const RosterColumn& column) { return column.key == key; });
  return found == kRosterColumns.end() ? -1 : static_cast<int>(found - kRosterColumns.begin());
}

namespace {

// A column out of the table's range is taken as it stands, like a number.
CellFormat FormatOf(int column) {
  return column >= 0 && column < kRosterColumnCount ? kRosterColumns[column].format
                                                    : CellFormat::kNumber;
}

std::string DecodedCell(std::string_view cell, int column) {
  return FormatOf(column) == CellFormat::kNumber ? std::string(cell) : DecodeCodePageToUtf8(cell);
}

}  // namespace

std::string ListingCell(std::string_view cell, int column) {
  return OneLineCell(DecodedCell(cell, column));
}

std::string CsvField(std::string_view cell, int column) {
  std::string text = DecodedCell(cell, column);
  if (FormatOf(column) == CellFormat::kText) text = GuardSpreadsheetText(text);
  // A semicolon separates cells where the decimal mark is a comma, and a spreadsheet's import
  // splits at tabs unless told otherwise: both are quoted like the comma.
  if (text.find_first_of(",;\t\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (const char c : text) {
    quoted += c;
    if (c == '"') quoted += c;
  }
  return quoted + '"';
}

void WriteRosterListing(const RosterRows& rows, std::ostream& out, ListingFormat format) {
  const bool csv = format != ListingFormat::kTabSeparated;
  const char separator = csv ? ',' : '\t';
  const std::string_view lineEnd = csv ? "\r\n" : "\n";
  if (format == ListingFormat::kCsv) out << "\xEF\xBB\xBF";
  std::string line;
  for (const RosterColumn& column : kRosterColumns) {
    if (!line.empty()) line += separator;
    line += column.key;
  }
  line += lineEnd;
  out << line;
  for (int row = 0; row < rows.GetItemCount(); ++row) {
    line.clear();
    for (int column = 0; column < kRosterColumnCount; ++column) {
      if (column > 0) line += separator;
      const std::string_view cell = rows.GetItemText(row, column);
      line += csv ? CsvField(cell, column) : ListingCell(cell, column);
    }
    line += lineEnd;
    out << line;
  }
}
