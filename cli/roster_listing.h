#pragma once

#include <ostream>
#include <string>
#include <string_view>

class RosterRows;

// The column index of `key` (kRosterColumns' keys: the listing's header and the names that --sort
// takes), or -1 when no column has that key.
int ColumnFromKey(std::string_view key);

// A cell as the listing writes it: the columns of text and character codes (name, gender and
// religion) are decoded from code page 932 to UTF-8, and a tab, carriage return or line feed
// becomes a space so that every row stays one line of ten fields.
std::string ListingCell(std::string_view cell, int column);

// The header line, then one line per row with its ten cells, tab-separated, each line ended by a
// line feed.
void WriteRosterListing(const RosterRows& rows, std::ostream& out);
