#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "character_record.h"
#include "save_text.h"

// A date as year × 10000 + (month − 1) × 100 + day. Held in 64 bits so that no year a save can
// spell overflows it, nor the age computed from it.
using DateNumber = std::int64_t;

// Country tag (up to four bytes, packed first byte highest, so the map orders tags by their bytes)
// to capital province.
using CapitalTable = std::map<std::uint32_t, std::int32_t>;

// The ids that a counted marriage marks as married, sorted and unique: a lookup is a binary search
// over contiguous memory, which a save with tens of thousands of marriages needs once per character.
struct MarriageTable {
  std::vector<std::int32_t> marriedIds;

  bool IsMarried(std::int32_t id) const;
};

// Where the scanner's sections start, as SplitSaveSections finds them.
struct SaveSections {
  char* startDate = nullptr;   // the start-date keyword
  char* marriages = nullptr;   // the first "marrige" after it
  char* characters = nullptr;  // the "character" that begins a line after that
  char* countries = nullptr;   // the first "country" after the character section; none possible
  const char* end = nullptr;   // the text's first NUL as loaded, where every later step stops
};

// Appends every living character of a freshly loaded, not yet scanned `text` to `roster`. Values
// are cut out in place by writing NUL bytes; the records' names point into the text. A save that
// lacks what the scan needs gives fewer records, or none; nothing is read or written past the
// text's first NUL.
void ScanSave(SaveText text, Roster& roster);

// The five steps of ScanSave. `end` is the text's first NUL as loaded: no step reads or writes past
// it, and a step that would have to stops there, keeping what it has found so far.

// Finds the sections and the text's end, and cuts the sections apart; none when the start date,
// the marriage section, the character section or its end is missing.
std::optional<SaveSections> SplitSaveSections(char* text);

// Reads the date that follows the start-date keyword; none when it cannot be read. A month name
// outside the twelve counts as month 0.
std::optional<DateNumber> ReadStartDate(char* keyword, const char* end);

// Reads the capital of every country from `countries` (none reads nothing); a later country
// overwrites an earlier one with the same tag.
void ReadCapitals(char* countries, const char* end, CapitalTable& capitals);

// Marks both ids of every marriage entry that counts.
void ReadMarriages(char* marriages, const char* end, MarriageTable& marriageMarks);

// Appends a record for every character entry without a death date.
void ReadCharacters(char* characters, const char* end, DateNumber startDate,
                    const CapitalTable& capitals, const MarriageTable& marriageMarks,
                    Roster& roster);
