#include "lister_options.h"

#include <charconv>
#include <optional>
#include <utility>

#include "roster_listing.h"

namespace {

// The names that the options give the lists' choices.
template <typename Choice>
using ChoiceName = std::pair<std::string_view, Choice>;

constexpr ChoiceName<GenderChoice> kGenderNames[] = {
    {"all", kGenderAll}, {"m", kGenderMale}, {"f", kGenderFemale}};
constexpr ChoiceName<ReligionChoice> kReligionNames[] = {
    {"all", kReligionAll}, {"c", kReligionCatholic}, {"o", kReligionOrthodox},
    {"p", kReligionPagan}, {"m", kReligionIslam}};
constexpr ChoiceName<MaritalChoice> kMaritalNames[] = {
    {"all", kMaritalAll}, {"married", kMaritalMarried}, {"unmarried", kMaritalUnmarried}};

// The name of `choice`, the default's in the usage text.
template <typename Choice, std::size_t Count>
std::string NameOf(const ChoiceName<Choice> (&names)[Count], std::int32_t choice) {
  for (const auto& [name, value] : names) {
    if (value == choice) return std::string(name);
  }
  return "?";
}

std::string Usage() {
  const SearchCriteria& d = kDefaultSearch;
  // The column keys, wrapped so that no line is longer than the usage's others.
  constexpr std::size_t kWidth = 95;
  std::string columns = "COLUMN is one of:";
  std::size_t lineStart = 0;
  for (const RosterColumn& column : kRosterColumns) {
    const bool last = &column == &kRosterColumns.back();
    const std::size_t length = 1 + column.key.size() + (last ? 1 : 0);
    if (columns.size() - lineStart + length > kWidth) {
      columns += '\n';
      lineStart = columns.size();
    } else {
      columns += ' ';
    }
    columns += column.key;
  }
  const std::string defaultSort = std::string(kRosterColumns[kDefaultSortColumn].key) +
                                  (kDefaultSortDirection < 0 ? ":desc" : ":asc");
  return "Usage: pellarin-cli [OPTION]... FILE\n"
         "Lists the living characters of the save FILE as the roster window would after a Search:\n"
         "a header line, then one line per character, tab-separated, in UTF-8.\n"
         "\n"
         "  --min-age N        youngest age listed (default " + std::to_string(d.minAge) + ")\n"
         "  --max-age N        oldest age listed (default " + std::to_string(d.maxAge) + ")\n"
         "  --gender G         all, m or f (default " + NameOf(kGenderNames, d.genderChoice) + ")\n"
         "  --religion R       all, c (Catholic), o (Orthodox), p (pagan) or m (Islam) (default " +
         NameOf(kReligionNames, d.religionChoice) + ")\n"
         "  --marital M        all, married or unmarried (default " +
         NameOf(kMaritalNames, d.maritalChoice) + ")\n"
         "  --sort COLUMN[:asc|:desc]\n"
         "                     sort the rows by COLUMN, ascending unless :desc is given; each --sort\n"
         "                     sorts the rows as they stand, stably, so the last one decides first\n"
         "                     (default: " + defaultSort + ")\n"
         "  --help             show this help and exit\n"
         "\n" +
         columns + ".\n";
}

std::optional<std::int32_t> ParseAge(std::string_view text) {
  if (text.size() > 1 && text.front() == '+' && text[1] != '-') text.remove_prefix(1);
  std::int32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// The choice that `text` names.
template <typename Choice, std::size_t Count>
std::optional<std::int32_t> ParseChoice(std::string_view text,
                                        const ChoiceName<Choice> (&names)[Count]) {
  for (const auto& [name, choice] : names) {
    if (text == name) return choice;
  }
  return std::nullopt;
}

std::optional<SortRequest> ParseSort(std::string_view text) {
  const std::size_t colon = text.find(':');
  const int column = ColumnFromKey(text.substr(0, colon));
  if (column < 0) return std::nullopt;
  if (colon == std::string_view::npos) return SortRequest{column, 1};
  const std::string_view direction = text.substr(colon + 1);
  if (direction == "asc") return SortRequest{column, 1};
  if (direction == "desc") return SortRequest{column, -1};
  return std::nullopt;
}

// Sets `target` to a parsed value; false when there is none.
template <typename T>
bool Store(const std::optional<T>& parsed, T& target) {
  if (parsed) target = *parsed;
  return parsed.has_value();
}

// Applies one option that takes a value; false when the value is not valid for it.
bool ApplyOption(std::string_view name, std::string_view value, ListerOptions& options) {
  SearchCriteria& criteria = options.criteria;
  if (name == "--min-age") return Store(ParseAge(value), criteria.minAge);
  if (name == "--max-age") return Store(ParseAge(value), criteria.maxAge);
  if (name == "--gender") return Store(ParseChoice(value, kGenderNames), criteria.genderChoice);
  if (name == "--religion") {
    return Store(ParseChoice(value, kReligionNames), criteria.religionChoice);
  }
  if (name == "--marital") return Store(ParseChoice(value, kMaritalNames), criteria.maritalChoice);
  if (name == "--sort") {
    const std::optional<SortRequest> sort = ParseSort(value);
    if (sort) options.sorts.push_back(*sort);
    return sort.has_value();
  }
  return false;
}

bool TakesValue(std::string_view name) {
  return name == "--min-age" || name == "--max-age" || name == "--gender" ||
         name == "--religion" || name == "--marital" || name == "--sort";
}

}  // namespace

const std::string kListerUsage = Usage();

bool ParseListerOptions(std::span<const std::string_view> args, ListerOptions& options,
                        std::string& error) {
  bool optionsEnded = false;
  bool haveFile = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg.front() != '-') {
      if (haveFile) {
        error = "more than one file given: '" + std::string(arg) + "'";
        return false;
      }
      options.file = std::string(arg);
      haveFile = true;
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (arg == "--help") {
      options.help = true;
      return true;
    }
    const std::size_t equals = arg.find('=');
    const std::string_view name = arg.substr(0, equals);
    if (!TakesValue(name)) {
      error = "unknown option '" + std::string(arg) + "'";
      return false;
    }
    std::string_view value;
    if (equals != std::string_view::npos) {
      value = arg.substr(equals + 1);
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      error = "option " + std::string(name) + " needs a value";
      return false;
    }
    if (!ApplyOption(name, value, options)) {
      error = "invalid value '" + std::string(value) + "' for " + std::string(name);
      return false;
    }
  }
  if (!haveFile) {
    error = "no save file given";
    return false;
  }
  return true;
}
