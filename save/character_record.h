#pragma once

#include <cstdint>
#include <vector>

// One living character as the roster lists it. The field order is an interface: table column k
// shows field k, and the sort addresses fields by position (0 is the name, 1 to 10 the numbers).
struct CharacterRecord {
  const char* name = nullptr;  // points into the SaveText the record was scanned from
  std::int32_t gender = 0;     // first byte of the gender value, sign-extended
  std::int32_t religion = 0;   // first byte of the religion value, sign-extended
  std::int32_t age = 0;
  std::int32_t capital = 0;
  std::int32_t martial = 0;
  std::int32_t diplomacy = 0;
  std::int32_t intrigue = 0;
  std::int32_t stewardship = 0;
  std::int32_t total = 0;
  std::int32_t married = 0;
};

static_assert(sizeof(CharacterRecord) == sizeof(const char*) + 10 * sizeof(std::int32_t),
              "a record is one pointer and ten 32-bit numbers, stored contiguously");

// Field positions, as the table's columns and the sort address them.
enum RecordField : int {
  kFieldName = 0,
  kFieldGender,
  kFieldReligion,
  kFieldAge,
  kFieldCapital,
  kFieldMartial,
  kFieldDiplomacy,
  kFieldIntrigue,
  kFieldStewardship,
  kFieldTotal,
  kFieldMarried,
};

// The numeric field at `position` (1 to 10); 0 for any other position. Inline, so that a Search,
// which formats the fields column by column from kRosterColumns, reads each as a plain load.
inline std::int32_t RecordNumber(const CharacterRecord& record, int position) {
  switch (position) {
    case kFieldGender: return record.gender;
    case kFieldReligion: return record.religion;
    case kFieldAge: return record.age;
    case kFieldCapital: return record.capital;
    case kFieldMartial: return record.martial;
    case kFieldDiplomacy: return record.diplomacy;
    case kFieldIntrigue: return record.intrigue;
    case kFieldStewardship: return record.stewardship;
    case kFieldTotal: return record.total;
    case kFieldMarried: return record.married;
    default: return 0;
  }
}

// The living characters of one save, in file order. Only appended to and emptied as a whole, so a
// record's index stays valid until the next load.
using Roster = std::vector<CharacterRecord>;
