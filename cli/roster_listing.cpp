#include "roster_listing.h"

#include <algorithm>

#include "save/code_page.h"
#include "ui/roster_rows.h"

int ColumnFromKey(std::string_view key) {
  const auto found = std::find(kColumnKeys.begin(), kColumnKeys.end(), key);
  return found == kColumnKeys.end() ? -1 : static_cast<int>(found - kColumnKeys.begin());
}

std::string ListingCell(std::string_view cell, int column) {
  constexpr int kLastTextColumn = 2;
  std::string text = column <= kLastTextColumn ? DecodeCodePageToUtf8(cell) : std::string(cell);
  std::replace_if(
      text.begin(), text.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
  return text;
}

void WriteRosterListing(const RosterRows& rows, std::ostream& out) {
  std::string line;
  for (const std::string_view key : kColumnKeys) {
    if (!line.empty()) line += '\t';
    line += key;
  }
  line += '\n';
  out << line;
  for (int row = 0; row < rows.GetItemCount(); ++row) {
    line.clear();
    for (int column = 0; column < RosterRows::kColumnCount; ++column) {
      if (column > 0) line += '\t';
      line += ListingCell(rows.GetItemText(row, column), column);
    }
    line += '\n';
    out << line;
  }
}
