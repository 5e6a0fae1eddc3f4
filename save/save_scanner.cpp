#include "save_scanner.h"

#include "text_search.h"

#include <array>
#include <algorithm>
#include <cstring>
#include <limits>
#include <string_view>

namespace {

// Every helper passes "nothing found" (nullptr) straight through, so a chain of searches needs one
// test at its end, before the position is written to.

// The position `count` bytes on, or none when that lies past the end of the text.
char* Skip(char* from, std::size_t count, const char* end) {
  if (from == nullptr || count > static_cast<std::size_t>(end - from)) return nullptr;
  return from + count;
}

// Where the value after `keyword` ends: the first `delimiter` from `skip` bytes after it.
char* FindValueEnd(char* keyword, std::size_t skip, char delimiter, const char* end) {
  return FindByte(Skip(keyword, skip, end), end, delimiter);
}

std::int32_t Saturate(std::int64_t value) {
  if (value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  if (value < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

// A signed decimal: leading white space, an optional sign, then digits up to the first other byte.
// No digits read as 0; a value beyond 32 bits saturates to the nearest bound.
std::int32_t ReadNumber(const char* text) {
  while (*text == ' ' || (*text >= '\t' && *text <= '\r')) ++text;
  bool negative = false;
  if (*text == '+' || *text == '-') negative = *text++ == '-';
  constexpr std::int64_t kBeyond = std::int64_t{1} << 32;
  std::int64_t magnitude = 0;
  for (; *text >= '0' && *text <= '9'; ++text) {
    if (magnitude < kBeyond) magnitude = magnitude * 10 + (*text - '0');
  }
  return Saturate(negative ? -magnitude : magnitude);
}

std::int32_t ReadCharacterCode(const char* value) {
  return static_cast<std::int32_t>(static_cast<signed char>(*value));
}

int MonthNumber(std::string_view name) {
  static constexpr std::array<std::string_view, 12> kMonths = {
      "january", "february", "march",     "april",   "may",      "june",
      "july",    "august",   "september", "october", "november", "december"};
  for (std::size_t i = 0; i < kMonths.size(); ++i) {
    if (kMonths[i] == name) return static_cast<int>(i) + 1;
  }
  return 0;
}

// The tag is the four bytes six on from "tag", fewer where one of them is a NUL. The caller has
// made sure those bytes lie within the text.
std::uint32_t TagKey(const char* tagKeyword) {
  std::uint32_t key = 0;
  bool ended = false;
  for (std::size_t i = 0; i < 4; ++i) {
    ended = ended || tagKeyword[6 + i] == '\0';
    key = (key << 8) | (ended ? 0u : static_cast<unsigned char>(tagKeyword[6 + i]));
  }
  return key;
}

// Reads the tag after `tagKeyword`, cuts it to four bytes and gives the position after the cut;
// none when the tag's bytes would run past the end.
char* CutTag(char* tagKeyword, const char* end, std::uint32_t& key) {
  char* after = Skip(tagKeyword, 11, end);
  if (after == nullptr) return nullptr;
  key = TagKey(tagKeyword);
  tagKeyword[10] = '\0';
  return after;
}

// Reads the attribute after `keyword`, searched from `from`, into `value`; gives the position after
// its line feed, or none.
template <std::size_t Size>
char* ReadAttribute(char* from, const char* end, const char (&keyword)[Size], std::int32_t& value) {
  constexpr std::size_t kSkip = Size - 1 + 3;  // the keyword, a space, an equals sign and a space
  char* at = FindKeyword(from, end, keyword);
  char* valueEnd = FindValueEnd(at, kSkip, '\n', end);
  if (valueEnd == nullptr) return nullptr;
  *valueEnd = '\0';
  value = ReadNumber(at + kSkip);
  return valueEnd + 1;
}

// Reads one character entry into `record`. Gives where the search for the next entry starts, or
// none when the entry runs out of text before its values are read.
char* ReadCharacterEntry(char* entry, const char* end, DateNumber startDate,
                         const CapitalTable& capitals, const MarriageTable& marriageMarks,
                         CharacterRecord& record, bool& living) {
  char* firstId = FindKeyword(entry, end, "id");
  char* idKeyword = FindKeyword(firstId ? firstId + 1 : nullptr, end, "id");
  char* idEnd = FindValueEnd(idKeyword, 5, '\n', end);
  if (idEnd == nullptr) return nullptr;
  *idEnd = '\0';
  record.married = marriageMarks.IsMarried(ReadNumber(idKeyword + 5)) ? 1 : 0;

  char* tagKeyword = FindKeyword(idEnd + 1, end, "tag");
  std::uint32_t tag = 0;
  char* afterTag = tagKeyword ? CutTag(tagKeyword, end, tag) : nullptr;
  if (afterTag == nullptr) return nullptr;
  const auto capital = capitals.find(tag);
  record.capital = capital != capitals.end() ? capital->second : 0;

  char* nameKeyword = FindKeyword(afterTag, end, "name");
  char* nameEnd = FindValueEnd(nameKeyword, 8, '"', end);
  if (nameEnd == nullptr) return nullptr;
  *nameEnd = '\0';
  record.name = nameKeyword + 8;

  char* dateKeyword = FindKeyword(nameEnd + 1, end, "date");
  char* dateEnd = FindValueEnd(dateKeyword, 8, '"', end);
  if (dateEnd == nullptr) return nullptr;
  *dateEnd = '\0';
  const DateNumber birth = ReadNumber(dateKeyword + 8);
  record.age = Saturate((startDate - birth + 1) / 10000);

  char* genderKeyword = FindKeyword(dateEnd + 1, end, "gender");
  char* genderEnd = FindValueEnd(genderKeyword, 9, '\n', end);
  if (genderEnd == nullptr) return nullptr;
  *genderEnd = '\0';
  record.gender = ReadCharacterCode(genderKeyword + 9);

  char* religionKeyword = FindKeyword(genderEnd + 1, end, "religion");
  char* religionEnd = FindValueEnd(religionKeyword, 11, '\n', end);
  if (religionEnd == nullptr) return nullptr;
  *religionEnd = '\0';
  record.religion = ReadCharacterCode(religionKeyword + 11);

  // The cut in front of " attributes" confines the death test to the lines before it.
  char* attributes = FindKeyword(religionEnd + 1, end, " attributes");
  if (attributes == nullptr) return nullptr;
  *attributes = '\0';
  if (FindKeyword(religionEnd + 1, end, "deathdate") != nullptr) {
    living = false;
    return attributes + 1;
  }

  char* next = ReadAttribute(attributes + 1, end, "martial", record.martial);
  next = ReadAttribute(next, end, "diplomacy", record.diplomacy);
  next = ReadAttribute(next, end, "intrigue", record.intrigue);
  next = ReadAttribute(next, end, "stewardship", record.stewardship);
  if (next == nullptr) return nullptr;
  // The total wraps like 32-bit arithmetic instead of overflowing.
  record.total = static_cast<std::int32_t>(
      static_cast<std::uint32_t>(record.martial) + static_cast<std::uint32_t>(record.diplomacy) +
      static_cast<std::uint32_t>(record.intrigue) + static_cast<std::uint32_t>(record.stewardship));
  living = true;
  return next;
}

}  // namespace

std::optional<SaveSections> SplitSaveSections(char* text) {
  // Up to the title line, the C library's strstr, which stops at the first NUL, does the searching:
  // the search for the title line crosses nearly the whole save, where it is fastest. Each search
  // starts where the one before it stopped, so the text from its start to the title line holds no
  // NUL, and the first NUL after the line is the text's end: no separate pass is needed for it.
  SaveSections sections;
  sections.startDate = std::strstr(text, "startdate = { year = ");
  sections.marriages = sections.startDate ? std::strstr(sections.startDate, "marrige") : nullptr;
  char* characterLine = sections.marriages ? std::strstr(sections.marriages, "\ncharacter") : nullptr;
  char* titleLine = characterLine ? std::strstr(characterLine + 1, "\ntitle") : nullptr;
  if (titleLine == nullptr) return std::nullopt;
  sections.end = titleLine + 1 + std::strlen(titleLine + 1);
  *characterLine = '\0';
  sections.characters = characterLine + 1;
  *titleLine = '\0';
  sections.countries = FindKeyword(titleLine + 1, sections.end, "country");
  if (char* includeLine = FindKeyword(titleLine + 1, sections.end, "\ninclude")) *includeLine = '\0';
  return sections;
}

std::optional<DateNumber> ReadStartDate(char* keyword, const char* end) {
  char* yearEnd = FindValueEnd(keyword, 21, ' ', end);
  if (yearEnd == nullptr) return std::nullopt;
  *yearEnd = '\0';
  char* monthEnd = FindValueEnd(yearEnd, 9, ' ', end);
  if (monthEnd == nullptr) return std::nullopt;
  *monthEnd = '\0';
  char* dayEnd = FindValueEnd(monthEnd, 7, ' ', end);
  if (dayEnd == nullptr) return std::nullopt;
  *dayEnd = '\0';
  const DateNumber year = ReadNumber(keyword + 21);
  const DateNumber month = MonthNumber(yearEnd + 9);
  const DateNumber day = ReadNumber(monthEnd + 7);
  return year * 10000 + month * 100 + day - 100;
}

void ReadCapitals(char* countries, const char* end, CapitalTable& capitals) {
  for (char* entry = countries; entry != nullptr;) {
    char* tagKeyword = FindKeyword(entry, end, "tag");
    std::uint32_t tag = 0;
    char* afterTag = tagKeyword ? CutTag(tagKeyword, end, tag) : nullptr;
    char* capitalKeyword = FindKeyword(afterTag, end, "capital");
    char* capitalEnd = FindValueEnd(capitalKeyword, 10, '\n', end);
    if (capitalEnd == nullptr) return;
    *capitalEnd = '\0';
    capitals[tag] = ReadNumber(capitalKeyword + 10);
    entry = FindKeyword(capitalEnd + 1, end, "country");
  }
}

bool MarriageTable::IsMarried(std::int32_t id) const {
  return std::binary_search(marriedIds.begin(), marriedIds.end(), id);
}

void ReadMarriages(char* marriages, const char* end, MarriageTable& marriageMarks) {
  std::vector<std::int32_t>& ids = marriageMarks.marriedIds;
  for (char* entry = marriages; entry != nullptr;) {
    char* firstKeyword = FindKeyword(entry, end, "id");
    char* firstEnd = FindValueEnd(firstKeyword, 5, '}', end);
    if (firstEnd == nullptr) break;
    *firstEnd = '\0';
    char* secondKeyword = FindKeyword(firstEnd + 1, end, "id");
    char* secondEnd = FindValueEnd(secondKeyword, 5, '}', end);
    if (secondEnd == nullptr) break;
    *secondEnd = '\0';
    if (end - secondEnd > 2 && secondEnd[2] == 's') {
      ids.push_back(ReadNumber(firstKeyword + 5));
      ids.push_back(ReadNumber(secondKeyword + 5));
    }
    entry = FindKeyword(secondEnd + 1, end, "marrige");
  }
  std::sort(ids.begin(), ids.end());
  ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
}

void ReadCharacters(char* characters, const char* end, DateNumber startDate,
                    const CapitalTable& capitals, const MarriageTable& marriageMarks,
                    Roster& roster) {
  for (char* entry = characters; entry != nullptr;) {
    CharacterRecord record;
    bool living = false;
    char* next = ReadCharacterEntry(entry, end, startDate, capitals, marriageMarks, record, living);
    if (next == nullptr) return;
    if (living) roster.push_back(record);
    entry = FindKeyword(next, end, "character");
  }
}

void ScanSave(SaveText text, Roster& roster) {
  const std::optional<SaveSections> sections = SplitSaveSections(text);
  if (!sections) return;
  const char* end = sections->end;
  const std::optional<DateNumber> startDate = ReadStartDate(sections->startDate, end);
  if (!startDate) return;
  CapitalTable capitals;
  ReadCapitals(sections->countries, end, capitals);
  MarriageTable marriageMarks;
  ReadMarriages(sections->marriages, end, marriageMarks);
  // A listed character spans well over this many bytes of keywords, skips and delimiters, so this
  // is room for every record the rest of the text can give: the roster never grows by copying,
  // and the capacity it does not use is address space that no page backs.
  constexpr std::ptrdiff_t kBytesPerRecordAtLeast = 100;
  roster.reserve(roster.size() +
                 static_cast<std::size_t>((end - sections->characters) / kBytesPerRecordAtLeast) + 1);
  ReadCharacters(sections->characters, end, *startDate, capitals, marriageMarks, roster);
}
