#include "roster_listing.h"

#include <algorithm>

#include "save/code_page.h"
#include "save/roster_table.h"
#include "ui/roster_rows.h"

int ColumnFromKey(std::string_view key) {
  const auto found = std::find_if(kRosterColumns.begin(), kRosterColumns.end(),
                                  [key](const RosterColumn& column) { return column.key == key; });
  return found == kRosterColumns.end() ? -1 : static_cast<int>(found - kRosterColumns.begin());
}

std::string ListingCell(std::string_view cell, int column) {
  const bool coded = column >= 0 && column < kRosterColumnCount &&
                     kRosterColumns[column].format != CellFormat::kNumber;
  std::string text = coded ? DecodeCodePageToUtf8(cell) : std::string(cell);
  std::replace_if(
      text.begin(), text.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
  return text;
}

void WriteRosterListing(const RosterRows& rows, std::ostream& out) {
  std::string line;
  for (const RosterColumn& column : kRosterColumns) {
    if (!line.empty()) line += '\t';
    line += column.key;
  }
  line += '\n';
  out << line;
  for (int row = 0; row < rows.GetItemCount(); ++row) {
    line.clear();
    for (int column = 0; column < kRosterColumnCount; ++column) {
      if (column > 0) line += '\t';
      line += ListingCell(rows.GetItemText(row, column), column);
    }
    line += '\n';
    out << line;
  }
}
