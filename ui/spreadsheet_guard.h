#pragma once

#include <string>
#include <string_view>

// A spreadsheet takes a cell that begins with "=", "+", "-" or "@" (or their full-width forms,
// which a Japanese input method types as readily) as a formula, and one that begins with a tab or
// a carriage return may be split or trimmed into one. A save's names are the game's and anybody's,
// so every place that hands the roster to a spreadsheet (the lister's CSV, the window's copy)
// passes a name through here: such a name gets a leading "'", which the spreadsheet reads as "this
// is text" and does not show. `text` is UTF-8; anything else comes back unchanged.
std::string GuardSpreadsheetText(std::string_view text);

// `text` with its tabs, carriage returns and line feeds as spaces, so that it stays one cell on one
// line where tabs part the cells and line breaks the rows: the lister's tab-separated listing and
// the window's copy.
std::string OneLineCell(std::string text);
