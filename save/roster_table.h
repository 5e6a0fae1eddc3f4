#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "character_record.h"

// What every view of the roster shares, stated once beside the record's fields: the table's ten
// columns, the filter's choices and the default search and sort. The window, the command-line
// lister and the roster query take them from here.

// How a column shows its field: the name as it stands, a character code as its low byte ("%c"),
// or a signed decimal number ("%d").
enum class CellFormat { kText, kCharacter, kNumber };

struct RosterColumn {
  RecordField field;     // the field shown; the sort compares it when the column is clicked
  CellFormat format;
  const wchar_t* title;  // the window's header
  int width;             // the window's header width, in pixels of a 96-DPI screen
  std::string_view key;  // the lister's header, and the name that its --sort takes
};

inline constexpr int kRosterColumnCount = 10;

// In table order. Column k shows field k: a header click makes the column's index the sort state's
// column, which the comparison reads as a field position. `married`, field 10, is never shown.
inline constexpr std::array<RosterColumn, kRosterColumnCount> kRosterColumns = {{
    {kFieldName, CellFormat::kText, L"名前", 200, "name"},
    {kFieldGender, CellFormat::kCharacter, L"性別", 50, "gender"},
    {kFieldReligion, CellFormat::kCharacter, L"宗教", 50, "religion"},
    {kFieldAge, CellFormat::kNumber, L"年齢", 50, "age"},
    {kFieldCapital, CellFormat::kNumber, L"州番号", 60, "capital"},
    {kFieldMartial, CellFormat::kNumber, L"mar", 50, "martial"},
    {kFieldDiplomacy, CellFormat::kNumber, L"dip", 50, "diplomacy"},
    {kFieldIntrigue, CellFormat::kNumber, L"int", 50, "intrigue"},
    {kFieldStewardship, CellFormat::kNumber, L"ste", 50, "stewardship"},
    {kFieldTotal, CellFormat::kNumber, L"合計", 50, "total"},
}};

static_assert(
    [] {
      for (int k = 0; k < kRosterColumnCount; ++k) {
        if (kRosterColumns[k].field != k) return false;
      }
      return true;
    }(),
    "column k shows field k");

// The choices of the window's three lists, by their index as displayed. Any other index, -1 for
// a list without a selection included, rejects every record.
enum GenderChoice : std::int32_t { kGenderAll = 0, kGenderMale = 1, kGenderFemale = 2 };
enum ReligionChoice : std::int32_t {
  kReligionAll = 0,
  kReligionCatholic = 1,
  kReligionOrthodox = 2,
  kReligionPagan = 3,
  kReligionIslam = 4,
};
// The marital list sorts its items: "すべて", "既婚" (married), "未婚" (unmarried).
enum MaritalChoice : std::int32_t { kMaritalAll = 0, kMaritalMarried = 1, kMaritalUnmarried = 2 };

// The five filter settings, read from the window's controls when a Search runs. The choices are
// indexes as above, held as plain numbers since a list may give any.
struct SearchCriteria {
  std::int32_t minAge = 0;
  std::int32_t maxAge = 0;
  std::int32_t genderChoice = kGenderAll;
  std::int32_t religionChoice = kReligionAll;
  std::int32_t maritalChoice = kMaritalAll;
};

// The window's settings at start and the lister's defaults: unmarried Catholic men aged 16 to 30.
inline constexpr SearchCriteria kDefaultSearch{16, 30, kGenderMale, kReligionCatholic,
                                               kMaritalUnmarried};

// The sort state at start, and the lister's sort when none is asked for: total, largest first.
inline constexpr std::int32_t kDefaultSortColumn = kFieldTotal;
inline constexpr std::int32_t kDefaultSortDirection = -1;
