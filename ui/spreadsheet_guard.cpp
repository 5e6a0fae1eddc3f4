#include "spreadsheet_guard.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array<std::string_view, 10> kFormulaLeads = {
    "=", "+", "-", "@", "\t", "\r",
    "\xEF\xBC\x9D",  // ＝ U+FF1D
    "\xEF\xBC\x8B",  // ＋ U+FF0B
    "\xEF\xBC\x8D",  // － U+FF0D
    "\xEF\xBC\xA0",  // ＠ U+FF20
};

}  // namespace

std::string GuardSpreadsheetText(std::string_view text) {
  for (const std::string_view lead : kFormulaLeads) {
    if (text.starts_with(lead)) return std::string(1, '\'').append(text);
  }
  return std::string(text);
}

std::string OneLineCell(std::string text) {
  std::replace_if(
      text.begin(), text.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
  return text;
}
