#include "roster_query.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <limits>

#include "roster_rows.h"

std::int32_t g_nSortColumn = kFieldTotal;
std::int32_t g_nSortDirection = -1;

namespace {

constexpr std::int32_t kMale = 'm';
constexpr std::int32_t kFemale = 'f';
constexpr std::int32_t kCatholic = 'c';
constexpr std::int32_t kOrthodox = 'o';
constexpr std::int32_t kPagan = 'p';
constexpr std::int32_t kIslam = 'm';

std::int32_t ClampToInt32(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

bool GenderMatches(std::int32_t gender, std::int32_t choice) {
  switch (choice) {
    case 0: return true;
    case 1: return gender == kMale;
    case 2: return gender == kFemale;
    default: return false;
  }
}

bool ReligionMatches(std::int32_t religion, std::int32_t choice) {
  switch (choice) {
    case 0: return true;
    case 1: return religion == kCatholic;
    case 2: return religion == kOrthodox;
    case 3: return religion == kPagan;
    case 4: return religion == kIslam;
    default: return false;
  }
}

bool MaritalMatches(std::int32_t married, std::int32_t choice) {
  switch (choice) {
    case 0: return true;
    case 1: return married == 1;
    case 2: return married != 1;
    default: return false;
  }
}

// Rows left from an earlier save may carry indexes beyond the current roster; they compare as a
// fresh record, so nothing outside the roster is read.
const CharacterRecord& RecordAt(const Roster* roster, std::intptr_t index) {
  static const CharacterRecord kBlank{};
  if (roster == nullptr || index < 0 || static_cast<std::uintptr_t>(index) >= roster->size()) {
    return kBlank;
  }
  return (*roster)[static_cast<std::size_t>(index)];
}

// "%c" as the table shows it: the low byte as one character; a zero byte ends the text at once.
std::string_view CharacterCell(std::int32_t code, char& byte) {
  byte = static_cast<char>(static_cast<unsigned char>(code & 0xFF));
  return byte == '\0' ? std::string_view() : std::string_view(&byte, 1);
}

// "%d" without the formatting machinery: a Search formats seven numbers per row.
std::string_view NumberCell(std::int32_t value, char (&buffer)[12]) {
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer));
}

}  // namespace

bool RecordMatches(const CharacterRecord& record, const SearchCriteria& criteria) {
  return criteria.minAge <= record.age && record.age <= criteria.maxAge &&
         GenderMatches(record.gender, criteria.genderChoice) &&
         ReligionMatches(record.religion, criteria.religionChoice) &&
         MaritalMatches(record.married, criteria.maritalChoice);
}

std::int32_t CompareRosterItems(std::intptr_t first, std::intptr_t second, std::intptr_t context) {
  const auto* roster = reinterpret_cast<const Roster*>(context);
  const CharacterRecord& a = RecordAt(roster, first);
  const CharacterRecord& b = RecordAt(roster, second);
  // 64 bits, then clamped: a difference of two 32-bit fields, or its product with the direction,
  // can leave the 32-bit range, and a wrapped result would have the wrong sign.
  std::int64_t difference = 0;
  if (g_nSortColumn == kFieldName) {
    const int order = std::strcmp(a.name != nullptr ? a.name : "", b.name != nullptr ? b.name : "");
    difference = order == 0 ? 0 : (order < 0 ? -1 : 1);
  } else {
    difference = static_cast<std::int64_t>(RecordNumber(a, g_nSortColumn)) -
                 RecordNumber(b, g_nSortColumn);
  }
  return ClampToInt32(difference * g_nSortDirection);
}

void FillRosterRows(RosterRows& rows, const Roster& roster, const SearchCriteria& criteria) {
  rows.DeleteAllItems();
  // Item data is 32 bits wide; a record beyond that could not be told apart from another.
  const std::size_t count =
      std::min<std::size_t>(roster.size(), std::numeric_limits<std::uint32_t>::max());
  for (std::size_t i = 0; i < count; ++i) {
    const CharacterRecord& record = roster[i];
    if (!RecordMatches(record, criteria)) continue;
    const int row = rows.InsertItem(record.name != nullptr ? record.name : "");
    if (row < 0) break;
    char gender = 0;
    char religion = 0;
    rows.SetItemText(row, kFieldGender, CharacterCell(record.gender, gender));
    rows.SetItemText(row, kFieldReligion, CharacterCell(record.religion, religion));
    char number[12];
    for (int field = kFieldAge; field <= kFieldTotal; ++field) {
      rows.SetItemText(row, field, NumberCell(RecordNumber(record, field), number));
    }
    rows.SetItemData(row, static_cast<std::uint32_t>(i));
  }
}

void SearchRoster(RosterRows& rows, const Roster& roster, const SearchCriteria& criteria) {
  FillRosterRows(rows, roster, criteria);
  SortRosterRows(rows, roster);
}

void SortRosterRows(RosterRows& rows, const Roster& roster) {
  rows.SortItems(CompareRosterItems, reinterpret_cast<std::intptr_t>(&roster));
}

void ClickRosterColumn(RosterRows& rows, const Roster& roster, std::int32_t column) {
  g_nSortColumn = column;
  g_nSortDirection = ClampToInt32(-static_cast<std::int64_t>(g_nSortDirection));
  SortRosterRows(rows, roster);
}
