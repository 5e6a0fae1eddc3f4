#include "lister_options.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <optional>
#include <utility>

#include "roster_listing.h"

const char kListerVersion[] = "pellarin-cli " PELLARIN_RELEASE "\n";

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

// A whole decimal number with an optional sign, nothing around it; never octal or hexadecimal.
std::optional<std::int32_t> ParseAge(std::string_view text) {
  if (text.size() > 1 && text.front() == '+' && text[1] != '-') text.remove_prefix(1);
  std::int32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
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

// Reads `value` into `choice`; the error's text when it names none of `names`.
template <typename Choice, std::size_t Count>
std::optional<std::string> ReadChoice(const ChoiceName<Choice> (&names)[Count],
                                      std::string_view option, std::string_view value,
                                      std::int32_t& choice, ListerLanguage language) {
  std::string known;
  for (const auto& [name, index] : names) {
    if (value == name) {
      choice = index;
      return std::nullopt;
    }
    known += (known.empty() ? "" : ", ") + std::string(name);
  }
  return FormatText(language, ListerText::kNotAChoice, {option, value, known});
}

std::optional<std::string> ReadAge(std::string_view option, std::string_view value,
                                   std::int32_t& age, ListerLanguage language) {
  const std::optional<std::int32_t> parsed = ParseAge(value);
  if (!parsed) return FormatText(language, ListerText::kNotAnAge, {option, value});
  age = *parsed;
  return std::nullopt;
}

constexpr std::string_view kOptionsWithValues[] = {
    "--min-age", "--max-age", "--gender", "--religion", "--marital", "--sort", "--output", "-o"};

bool TakesValue(std::string_view option) {
  return std::find(std::begin(kOptionsWithValues), std::end(kOptionsWithValues), option) !=
         std::end(kOptionsWithValues);
}

// Takes one option of kOptionsWithValues; the error's text when the value is not usable.
std::optional<std::string> ReadValue(std::string_view option, std::string_view value,
                                     ListerOptions& options, ListerLanguage language) {
  SearchCriteria& c = options.criteria;
  if (option == "--min-age") return ReadAge(option, value, c.minAge, language);
  if (option == "--max-age") return ReadAge(option, value, c.maxAge, language);
  if (option == "--gender") {
    return ReadChoice(kGenderNames, option, value, c.genderChoice, language);
  }
  if (option == "--religion") {
    return ReadChoice(kReligionNames, option, value, c.religionChoice, language);
  }
  if (option == "--marital") {
    return ReadChoice(kMaritalNames, option, value, c.maritalChoice, language);
  }
  if (option == "--sort") {
    const std::optional<SortRequest> sort = ParseSort(value);
    if (!sort) return FormatText(language, ListerText::kNotASort, {option, value});
    options.sorts.push_back(*sort);
    return std::nullopt;
  }
  // --output, -o
  if (value.empty()) return FormatText(language, ListerText::kEmptyOutputName, {option});
  options.output = value;
  return std::nullopt;
}

// Takes one option that has no value; false when `option` is none of them.
bool ReadFlag(std::string_view option, ListerOptions& options) {
  if (option == "--csv") options.csv = true;
  else if (option == "--help" || option == "-h") options.help = true;
  else if (option == "--version") options.version = true;
  else return false;
  return true;
}

}  // namespace

bool ParseListerOptions(std::span<const std::string_view> args, ListerLanguage language,
                        ListerOptions& options, std::string& error) {
  std::optional<std::string> problem;
  bool filesOnly = false;
  bool fileGiven = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (filesOnly || arg == "-" || !arg.starts_with('-')) {
      if (fileGiven && !problem) problem = FormatText(language, ListerText::kExtraFile, {arg});
      options.file = fileGiven ? options.file : std::string(arg);
      fileGiven = true;
      continue;
    }
    if (arg == "--") {
      filesOnly = true;
      continue;
    }
    // "--name=value", "-oFILE", or the option alone with its value in the next argument.
    const bool shortOutput = arg.starts_with("-o") && arg.size() > 2;
    const std::size_t split =
        shortOutput ? 2 : arg.starts_with("--") ? arg.find('=') : std::string_view::npos;
    const std::string_view option = arg.substr(0, split);
    const bool joined = split < arg.size();
    std::optional<std::string> failed;
    if (ReadFlag(option, options)) {
      if (joined) failed = FormatText(language, ListerText::kNoValueTaken, {option});
    } else if (!TakesValue(option)) {
      failed = FormatText(language, ListerText::kUnknownOption, {option});
    } else if (joined) {
      failed = ReadValue(option, arg.substr(shortOutput ? split : split + 1), options, language);
    } else if (i + 1 < args.size()) {
      failed = ReadValue(option, args[++i], options, language);
    } else {
      failed = FormatText(language, ListerText::kMissingValue, {option});
    }
    if (!problem) problem = std::move(failed);
  }
  if (options.help || options.version) return true;
  if (!problem && !fileGiven) problem = FormatText(language, ListerText::kMissingFile);
  if (problem) error = std::move(*problem);
  return !problem;
}
