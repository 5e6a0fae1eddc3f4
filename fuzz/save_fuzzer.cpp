// Takes arbitrary bytes as a save file. The bytes are written to a scratch file and loaded
// through LoadSaveText, so a first byte 0xFF takes the UTF-16 road and any other the 8-bit one;
// the text is scanned and the scan checked against what it may change. The roster is then
// searched and sorted by three header clicks, with filter settings and columns read from the
// input's last bytes (which stay part of the save), and the table checked after each step.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <charconv>
#include <string>
#include <string_view>
#include <vector>

#include "save/save_scanner.h"
#include "save/save_text.h"
#include "support/scan_invariants.h"
#include "support/scratch_file.h"
#include "ui/roster_query.h"
#include "ui/roster_rows.h"

namespace {

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "save_fuzzer: %s\n", what.c_str());
  std::abort();
}

// Filter settings and three header clicks. The byte ranges reach past every list and column,
// so that choices outside the lists and columns beyond the table are tried too.
struct QueryControls {
  SearchCriteria criteria;
  std::int32_t clicks[3] = {};
};

QueryControls ReadControls(const std::uint8_t* data, std::size_t size) {
  std::uint8_t bytes[8] = {};
  const std::size_t count = size < sizeof bytes ? size : sizeof bytes;
  std::memcpy(bytes + sizeof bytes - count, data + size - count, count);
  QueryControls controls;
  controls.criteria.minAge = static_cast<std::int8_t>(bytes[0]);
  controls.criteria.maxAge = static_cast<std::int8_t>(bytes[1]);
  controls.criteria.genderChoice = bytes[2] % 5 - 1;
  controls.criteria.religionChoice = bytes[3] % 7 - 1;
  controls.criteria.maritalChoice = bytes[4] % 5 - 1;
  for (int i = 0; i < 3; ++i) controls.clicks[i] = bytes[5 + i] % 12 - 1;
  return controls;
}

// The table must hold exactly the matching records, each once, with its own texts, in the order
// of the sort state. The order is checked on 64-bit differences and unsigned bytes, apart from the
// comparison under test.
void CheckRows(const RosterRows& rows, const Roster& roster, const SearchCriteria& criteria) {
  std::size_t matching = 0;
  for (const CharacterRecord& record : roster) matching += RecordMatches(record, criteria);
  if (static_cast<std::size_t>(rows.GetItemCount()) != matching) Fail("row count is not the match count");

  std::vector<bool> listed(roster.size());
  for (int row = 0; row < rows.GetItemCount(); ++row) {
    const std::uint32_t index = rows.GetItemData(row);
    if (index >= roster.size() || listed[index]) Fail("a row refers to no record or a listed one");
    listed[index] = true;
    const CharacterRecord& record = roster[index];
    if (!RecordMatches(record, criteria)) Fail("a row shows a record that does not match");
    if (rows.GetItemText(row, 0) != std::string_view(record.name)) Fail("a row shows another name");
    for (int field = kFieldAge; field <= kFieldTotal; ++field) {
      const std::string_view cell = rows.GetItemText(row, field);
      std::int32_t value = 0;
      const auto parsed = std::from_chars(cell.data(), cell.data() + cell.size(), value);
      if (parsed.ec != std::errc() || parsed.ptr != cell.data() + cell.size() ||
          value != RecordNumber(record, field)) {
        Fail("a number cell does not show its field");
      }
    }
    if (row == 0) continue;
    const CharacterRecord& above = roster[rows.GetItemData(row - 1)];
    std::int64_t order = 0;
    if (g_nSortColumn == kFieldName) {
      const int bytes = std::string_view(above.name).compare(record.name);
      order = bytes < 0 ? -1 : bytes > 0;
    } else {
      order = std::int64_t{RecordNumber(above, g_nSortColumn)} - RecordNumber(record, g_nSortColumn);
    }
    if (order * g_nSortDirection > 0) Fail("rows are out of order");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static ScratchFile file;
  const SaveTextOwner owner(LoadSaveText(file.Write(data, size)));
  if (owner == nullptr) Fail("a readable file did not load");
  SaveText text = owner.get();

  const bool utf16 = size > 0 && data[0] == 0xFF;
  const std::string_view fileBytes(reinterpret_cast<const char*>(data), size);
  if (!utf16 && (std::memcmp(text, data, size) != 0 || text[size] != '\0')) {
    Fail("an 8-bit file did not load byte for byte");
  }
  // Conversion stops at the first zero code unit, so a converted text has no NUL before its end.
  const std::string loaded = utf16 ? std::string(text) : std::string(fileBytes);

  Roster roster;
  ScanSave(text, roster);
  const std::string fault = CheckScanInvariants(loaded, text, roster);
  if (!fault.empty()) Fail(fault);

  // The sort state outlives a Search; every input starts from the program's initial one.
  g_nSortColumn = kDefaultSortColumn;
  g_nSortDirection = kDefaultSortDirection;
  const QueryControls controls = ReadControls(data, size);
  RosterRows rows;
  SearchRoster(rows, roster, controls.criteria);
  CheckRows(rows, roster, controls.criteria);
  for (const std::int32_t column : controls.clicks) {
    ClickRosterColumn(rows, roster, column);
    CheckRows(rows, roster, controls.criteria);
  }

  // A load without a Search leaves the rows in place, their indexes pointing into a roster that
  // may now be shorter; a click must still read only the current roster. The copy is allocated to
  // its exact size, so that AddressSanitizer sees any read past it.
  const Roster shorter(roster.begin(), roster.begin() + static_cast<std::ptrdiff_t>(roster.size() / 2));
  const int rowCount = rows.GetItemCount();
  ClickRosterColumn(rows, shorter, controls.clicks[0]);
  if (rows.GetItemCount() != rowCount) Fail("a click on stale rows changed the row count");
  return 0;
}
