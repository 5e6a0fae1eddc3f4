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

// A cell as a CSV field (RFC 4180), decoded as ListingCell does but with its tabs and line breaks
// kept. A name is guarded against being taken for a formula (GuardSpreadsheetText); numbers stay
// as they are. A field that holds a comma, a semicolon, a quotation mark or a line break is
// quoted, its quotation marks doubled; so is one that holds a tab, at which a spreadsheet's import
// splits by default.
std::string CsvField(std::string_view cell, int column);

// The listing's formats. Tab-separated: lines ended by a line feed, no byte-order mark. CSV, for
// spreadsheets: lines ended by CR LF, with a UTF-8 byte-order mark in front, by which a
// spreadsheet knows the encoding, unless the text goes to a console, which would show it.
enum class ListingFormat { kTabSeparated, kCsv, kCsvWithoutByteOrderMark };

// The header line (the columns' keys), then one line per row with its ten cells.
void WriteRosterListing(const RosterRows& rows, std::ostream& out,
                        ListingFormat format = ListingFormat::kTabSeparated);
