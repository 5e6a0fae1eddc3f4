#include "save_scanner.h"

#include "text_search.h"

#include <array>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

// The scanner's steps and tables are its own: callers see ScanSave alone.
namespace {

// A date as year × 10000 + (month − 1) × 100 + day. Held in 64 bits so that no year a save can
// spell overflows it, nor the age computed from it.
using DateNumber = std::int64_t;

// Country tag (up to four bytes, packed first byte highest) to capital province, in a sorted flat
// array: every character looks its country up, and a binary search over contiguous memory beats a
// tree's pointer chasing.
class CapitalTable {
 public:
  // A later country with the same tag overwrites an earlier one.
  void Add(std::uint32_t tag, std::int32_t capital) { entries_.push_back({tag, capital}); }

  // Sorts the table once all countries are in, keeping the last capital given for each tag.
  void Seal() {
    std::stable_sort(entries_.begin(), entries_.end(),
                     [](const Entry& a, const Entry& b) { return a.tag < b.tag; });
    std::vector<Entry> sealed;
    sealed.reserve(entries_.size());
    for (const Entry& entry : entries_) {
      if (!sealed.empty() && sealed.back().tag == entry.tag) sealed.back() = entry;
      else sealed.push_back(entry);
    }
    entries_ = std::move(sealed);
  }

  // The capital of `tag`, or 0 when no country has that tag.
  std::int32_t Find(std::uint32_t tag) const {
    const auto found = std::lower_bound(entries_.begin(), entries_.end(), tag,
                                        [](const Entry& entry, std::uint32_t key) { return entry.tag < key; });
    return found != entries_.end() && found->tag == tag ? found->capital : 0;
  }

 private:
  struct Entry {
    std::uint32_t tag;
    std::int32_t capital;
  };
  std::vector<Entry> entries_;
};

// The ids that a counted marriage marks as married. Every character looks its id up: where the
// ids lie close together, as a save's do, one bit per id in their range answers at once; a
// scattered set falls back to a binary search over the sorted ids.
class MarriageTable {
 public:
  void Add(std::int32_t id) { marriedIds_.push_back(id); }

  void Seal() {
    std::sort(marriedIds_.begin(), marriedIds_.end());
    marriedIds_.erase(std::unique(marriedIds_.begin(), marriedIds_.end()), marriedIds_.end());
    if (marriedIds_.empty()) return;
    const std::uint64_t range =
        static_cast<std::uint64_t>(std::int64_t{marriedIds_.back()} - marriedIds_.front()) + 1;
    if (range > kDenseBitsPerId * marriedIds_.size() + kDenseBitsAlways) return;
    lowest_ = marriedIds_.front();
    bits_.assign(static_cast<std::size_t>((range + 63) / 64), 0);
    for (const std::int32_t id : marriedIds_) {
      const std::uint64_t offset = static_cast<std::uint64_t>(std::int64_t{id} - lowest_);
      bits_[offset / 64] |= std::uint64_t{1} << (offset % 64);
    }
  }

  bool IsMarried(std::int32_t id) const {
    if (bits_.empty()) return std::binary_search(marriedIds_.begin(), marriedIds_.end(), id);
    const std::int64_t offset = std::int64_t{id} - lowest_;
    if (offset < 0 || static_cast<std::uint64_t>(offset) >= bits_.size() * 64) return false;
    return (bits_[static_cast<std::size_t>(offset) / 64] >> (offset % 64)) & 1;
  }

 private:
  // The bitmap is used while it takes no more than this many bits per married id, plus a floor.
  static constexpr std::uint64_t kDenseBitsPerId = 64;
  static constexpr std::uint64_t kDenseBitsAlways = 1 << 16;

  std::vector<std::int32_t> marriedIds_;
  std::int32_t lowest_ = 0;
  std::vector<std::uint64_t> bits_;
};

// Where the scanner's sections start, as SplitSaveSections finds them.
struct SaveSections {
  char* startDate = nullptr;   // the start-date keyword
  char* marriages = nullptr;   // the first "marrige" after it
  char* characters = nullptr;  // the "character" that begins a line after that
  char* countries = nullptr;   // the first "country" after the character section; none possible
  const char* end = nullptr;   // the text's first NUL as loaded, where every later step stops
};

// Every skip is the length of the text it passes, so that the text and its skip cannot drift
// apart: the keyword and what follows it up to the value, or a whole literal.
template <std::size_t Size>
constexpr std::size_t LengthOf(const char (&)[Size]) {
  return Size - 1;
}

// Where the sections start: the start date, the marriages, the characters (a line that begins
// with the keyword) and the countries.
constexpr char kStartDateKeyword[] = "startdate = { year = ";
constexpr char kMarriageKeyword[] = "marrige";
constexpr char kCharacterLine[] = "\ncharacter";
constexpr char kCountryKeyword[] = "country";
// Between a keyword and its value: a space, an equals sign and a space; a quoted value also has
// its opening quotation mark.
constexpr char kEquals[] = " = ";
constexpr char kEqualsQuote[] = " = \"";
// A tag stands after "tag = " and is cut to exactly this many bytes.
constexpr char kTagKeyword[] = "tag";
constexpr std::size_t kTagStart = LengthOf(kTagKeyword) + LengthOf(kEquals);
constexpr std::size_t kTagBytes = 4;

// Every helper passes "nothing found" (nullptr) straight through, so a chain of searches needs one
// test at its end, before the position is written to.

// The position `count` bytes on, or none when that lies past the end of the text.
char* Skip(char* from, std::size_t count, const char* end) {
  if (from == nullptr || count > static_cast<std::size_t>(end - from)) return nullptr;
  return from + count;
}

// Where the value after `keyword` ends: the first `delimiter` from `skip` bytes after it.
char* FindValueEnd(char* keyword, std::size_t skip, char delimiter, const char* end) {
  return FindByte(Skip(keyword, skip, end), delimiter);
}

// A value cut out of the text: its first byte, and the byte after the delimiter that was
// overwritten with NUL to end it.
struct CutValue {
  char* text = nullptr;
  char* after = nullptr;
};

// Finds `keyword` from `from` and cuts out the value that follows it and `separator`, up to the
// first `delimiter`; none (both null) when any of it is missing.
template <std::size_t KeywordSize, std::size_t SeparatorSize>
CutValue CutValueAfter(char* from, const char* end, const char (&keyword)[KeywordSize],
                       const char (&separator)[SeparatorSize], char delimiter) {
  // Only the separator's length is used: the value begins where keyword and separator end.
  static_cast<void>(separator);
  constexpr std::size_t kSkip = (KeywordSize - 1) + (SeparatorSize - 1);
  char* at = FindKeyword(from, end, keyword);
  char* valueEnd = FindValueEnd(at, kSkip, delimiter, end);
  if (valueEnd == nullptr) return {};
  *valueEnd = '\0';
  return {at + kSkip, valueEnd + 1};
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
  // Past 32 bits the magnitude stops growing: any such value saturates alike.
  constexpr std::uint64_t kBeyond = std::uint64_t{1} << 32;
  std::uint64_t magnitude = 0;
  for (unsigned digit; (digit = static_cast<unsigned char>(*text) - unsigned{'0'}) <= 9; ++text) {
    magnitude = magnitude < kBeyond ? magnitude * 10 + digit : magnitude;
  }
  const auto value = static_cast<std::int64_t>(magnitude);
  return Saturate(negative ? -value : value);
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

// The tag is the kTagBytes bytes after "tag = ", fewer where one of them is a NUL. The caller has
// made sure those bytes lie within the text.
std::uint32_t TagKey(const char* tagKeyword) {
  std::uint32_t key = 0;
  bool ended = false;
  for (std::size_t i = 0; i < kTagBytes; ++i) {
    ended = ended || tagKeyword[kTagStart + i] == '\0';
    key = (key << 8) | (ended ? 0u : static_cast<unsigned char>(tagKeyword[kTagStart + i]));
  }
  return key;
}

// Finds "tag" from `from`, reads the tag after it, cuts it to four bytes by overwriting the byte
// after them with NUL and gives the position after the cut; none when the keyword is missing or
// the tag's bytes would run past the end.
char* CutTag(char* from, const char* end, std::uint32_t& key) {
  char* tagKeyword = FindKeyword(from, end, kTagKeyword);
  char* after = Skip(tagKeyword, kTagStart + kTagBytes + 1, end);
  if (after == nullptr) return nullptr;
  key = TagKey(tagKeyword);
  tagKeyword[kTagStart + kTagBytes] = '\0';
  return after;
}

// Reads the attribute after `keyword`, searched from `from`, into `value`; gives the position after
// its line feed, or none.
template <std::size_t Size>
char* ReadAttribute(char* from, const char* end, const char (&keyword)[Size], std::int32_t& value) {
  const CutValue attribute = CutValueAfter(from, end, keyword, kEquals, '\n');
  if (attribute.text == nullptr) return nullptr;
  value = ReadNumber(attribute.text);
  return attribute.after;
}

// Reads one character entry into `record`. Gives where the search for the next entry starts, or
// none when the entry runs out of text before its values are read.
char* ReadCharacterEntry(char* entry, const char* end, DateNumber startDate,
                         const CapitalTable& capitals, const MarriageTable& marriageMarks,
                         CharacterRecord& record, bool& living) {
  // The id is the second "id" of the entry, searched from the byte after the first one's start.
  char* firstId = FindKeyword(entry, end, "id");
  const CutValue id = CutValueAfter(firstId ? firstId + 1 : nullptr, end, "id", kEquals, '\n');
  if (id.text == nullptr) return nullptr;
  record.married = marriageMarks.IsMarried(ReadNumber(id.text)) ? 1 : 0;

  std::uint32_t tag = 0;
  char* afterTag = CutTag(id.after, end, tag);
  if (afterTag == nullptr) return nullptr;
  record.capital = capitals.Find(tag);

  const CutValue name = CutValueAfter(afterTag, end, "name", kEqualsQuote, '"');
  if (name.text == nullptr) return nullptr;
  record.name = name.text;

  const CutValue birth = CutValueAfter(name.after, end, "date", kEqualsQuote, '"');
  if (birth.text == nullptr) return nullptr;
  record.age = Saturate((startDate - DateNumber{ReadNumber(birth.text)} + 1) / 10000);

  const CutValue gender = CutValueAfter(birth.after, end, "gender", kEquals, '\n');
  if (gender.text == nullptr) return nullptr;
  record.gender = ReadCharacterCode(gender.text);

  const CutValue religion = CutValueAfter(gender.after, end, "religion", kEquals, '\n');
  if (religion.text == nullptr) return nullptr;
  record.religion = ReadCharacterCode(religion.text);

  // The cut in front of " attributes" confines the death test to the lines before it.
  char* attributes = FindKeyword(religion.after, end, " attributes");
  if (attributes == nullptr) return nullptr;
  *attributes = '\0';
  if (FindKeyword(religion.after, end, "deathdate") != nullptr) {
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

// The five steps of ScanSave. `end` is the text's first NUL as loaded: no step reads or writes past
// it, and a step that would have to stops there, keeping what it has found so far.

// Finds the sections and the text's end, and cuts the sections apart; none when the start date,
// the marriage section, the character section or its end is missing.
std::optional<SaveSections> SplitSaveSections(char* text) {
  // Up to the title line, the C library's strstr, which stops at the first NUL, does the searching:
  // the search for the title line crosses nearly the whole save, where it is fastest. Each search
  // starts where the one before it stopped, so the text from its start to the title line holds no
  // NUL, and the first NUL after the line is the text's end: no separate pass is needed for it.
  SaveSections sections;
  sections.startDate = std::strstr(text, kStartDateKeyword);
  sections.marriages =
      sections.startDate ? std::strstr(sections.startDate, kMarriageKeyword) : nullptr;
  char* characterLine =
      sections.marriages ? std::strstr(sections.marriages, kCharacterLine) : nullptr;
  char* titleLine = characterLine ? std::strstr(characterLine + 1, "\ntitle") : nullptr;
  if (titleLine == nullptr) return std::nullopt;
  sections.end = titleLine + 1 + std::strlen(titleLine + 1);
  *characterLine = '\0';
  sections.characters = characterLine + 1;
  *titleLine = '\0';
  sections.countries = FindKeyword(titleLine + 1, sections.end, kCountryKeyword);
  if (char* includeLine = FindKeyword(titleLine + 1, sections.end, "\ninclude")) *includeLine = '\0';
  return sections;
}

// Reads the date that follows the start-date keyword; none when it cannot be read. A month name
// outside the twelve counts as month 0. Each value ends at the first space after it, and the
// month and the day are found by passing the text between that space and them.
std::optional<DateNumber> ReadStartDate(char* keyword, const char* end) {
  constexpr char kBeforeMonth[] = " month = ";
  constexpr char kBeforeDay[] = " day = ";
  char* yearEnd = FindValueEnd(keyword, LengthOf(kStartDateKeyword), ' ', end);
  if (yearEnd == nullptr) return std::nullopt;
  *yearEnd = '\0';
  char* monthEnd = FindValueEnd(yearEnd, LengthOf(kBeforeMonth), ' ', end);
  if (monthEnd == nullptr) return std::nullopt;
  *monthEnd = '\0';
  char* dayEnd = FindValueEnd(monthEnd, LengthOf(kBeforeDay), ' ', end);
  if (dayEnd == nullptr) return std::nullopt;
  *dayEnd = '\0';
  const DateNumber year = ReadNumber(keyword + LengthOf(kStartDateKeyword));
  const DateNumber month = MonthNumber(yearEnd + LengthOf(kBeforeMonth));
  const DateNumber day = ReadNumber(monthEnd + LengthOf(kBeforeDay));
  return year * 10000 + month * 100 + day - 100;
}

// Reads the capital of every country from `countries` (none reads nothing); a later country
// overwrites an earlier one with the same tag.
void ReadCapitals(char* countries, const char* end, CapitalTable& capitals) {
  for (char* entry = countries; entry != nullptr;) {
    std::uint32_t tag = 0;
    char* afterTag = CutTag(entry, end, tag);
    const CutValue capital = CutValueAfter(afterTag, end, "capital", kEquals, '\n');
    if (capital.text == nullptr) break;
    capitals.Add(tag, ReadNumber(capital.text));
    entry = FindKeyword(capital.after, end, kCountryKeyword);
  }
  capitals.Seal();
}

// Marks both ids of every marriage entry that counts: one whose second id's closing brace is
// followed, one byte on, by "s".
void ReadMarriages(char* marriages, const char* end, MarriageTable& marriageMarks) {
  for (char* entry = marriages; entry != nullptr;) {
    const CutValue first = CutValueAfter(entry, end, "id", kEquals, '}');
    if (first.text == nullptr) break;
    const CutValue second = CutValueAfter(first.after, end, "id", kEquals, '}');
    if (second.text == nullptr) break;
    if (end - second.after > 1 && second.after[1] == 's') {
      marriageMarks.Add(ReadNumber(first.text));
      marriageMarks.Add(ReadNumber(second.text));
    }
    entry = FindKeyword(second.after, end, kMarriageKeyword);
  }
  marriageMarks.Seal();
}

// Appends a record for every character entry without a death date.
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

}  // namespace

bool ScanSave(SaveText text, Roster& roster) {
  const std::optional<SaveSections> sections = SplitSaveSections(text);
  if (!sections) return false;
  const char* end = sections->end;
  const std::optional<DateNumber> startDate = ReadStartDate(sections->startDate, end);
  if (!startDate) return false;
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
  return true;
}
