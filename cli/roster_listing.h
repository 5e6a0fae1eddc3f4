#pragma once

#include <array>
#include <ostream>
#include <string>
#include <string_view>

class RosterRows;

// The keys of the table's ten columns, in column order: the listing's header and the names that
// --sort takes.
inline constexpr std::array<std::string_view, 10> kColumnKeys = {
    "name",    "gender",    "religion", "age",         "capital",
    "martial", "diplomacy", "intrigue", "stewardship", "total"};

// The column index of `key`, or -1 when no column has that key.
int ColumnFromKey(std::string_view key);

// A cell as the listing writes it: the name, gender and religion columns (0 to 2) are decoded
// from code page 932 to UTF-8, and a tab, carriage return or line feed becomes a space so that
// every row stays one line of ten fields.
std::string ListingCell(std::string_view cell, int column);

// The header line, then one line per row with its ten cells, tab-separated, each line ended by a
// line feed.
void WriteRosterListing(const RosterRows& rows, std::ostream& out);
