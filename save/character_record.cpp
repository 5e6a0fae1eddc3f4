#include "character_record.h"

std::int32_t RecordNumber(const CharacterRecord& record, int position) {
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
