#include "lister_options.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <charconv>
#include <optional>

#include "roster_listing.h"

const char kListerVersion[] = "pellarin-cli " PELLARIN_RELEASE "\n";

namespace {

// A choice as an option names it, with what it means where the name alone does not say.
struct ChoiceName {
  std::string_view name;
  std::string_view english = {};
  std::string_view japanese = {};
};

// Each in the order of its choices' indexes.
constexpr ChoiceName kGenders[] = {{"all"}, {"m"}, {"f"}};
constexpr ChoiceName kReligions[] = {{"all"},
                                     {"c", " (Catholic)", "（カトリック）"},
                                     {"o", " (Orthodox)", "（正教）"},
                                     {"p", " (pagan)", "（異教）"},
                                     {"m", " (Islam)", "（イスラム）"}};
constexpr ChoiceName kMaritals[] = {{"all"}, {"married"}, {"unmarried"}};
static_assert(std::size(kGenders) == kGenderFemale + 1 &&
              std::size(kReligions) == kReligionIslam + 1 &&
              std::size(kMaritals) == kMaritalUnmarried + 1);

enum class Takes { kNothing, kAge, kChoice, kSort, kFileName };

// One option: how the command line names it, what it takes, and its line of the help.
struct ListerOption {
  std::string_view names;  // as CLI11 takes them, the long name last
  Takes takes;
  std::string_view valueName;
  ListerText help;  // a choice's help is the list of its choices
  bool ListerOptions::*flag = nullptr;
  std::int32_t SearchCriteria::*criterion = nullptr;  // an age's or a choice's
  std::span<const ChoiceName> choices = {};
};

// In the order of the help.
constexpr ListerOption kListerOptions[] = {
    {"--version", Takes::kNothing, "", ListerText::kVersionHelp, &ListerOptions::version},
    {"-h,--help", Takes::kNothing, "", ListerText::kHelpHelp, &ListerOptions::help},
    {"--min-age", Takes::kAge, "N", ListerText::kMinAgeHelp, nullptr, &SearchCriteria::minAge},
    {"--max-age", Takes::kAge, "N", ListerText::kMaxAgeHelp, nullptr, &SearchCriteria::maxAge},
    {"--gender", Takes::kChoice, "G", {}, nullptr, &SearchCriteria::genderChoice, kGenders},
    {"--religion", Takes::kChoice, "R", {}, nullptr, &SearchCriteria::religionChoice, kReligions},
    {"--marital", Takes::kChoice, "M", {}, nullptr, &SearchCriteria::maritalChoice, kMaritals},
    {"--sort", Takes::kSort, "COLUMN[:asc|:desc]", ListerText::kSortHelp},
    {"--csv", Takes::kNothing, "", ListerText::kCsvHelp, &ListerOptions::csv},
    {"-o,--output", Takes::kFileName, "FILE", ListerText::kOutputHelp},
};

// An argument's option name, without a value joined to it.
std::string_view OptionName(std::string_view arg) {
  return arg.starts_with("--") ? arg.substr(0, arg.find('=')) : arg.substr(0, 2);
}

// A whole decimal number with an optional sign, nothing around it; never octal or hexadecimal.
std::optional<std::int32_t> ParseAge(std::string_view text) {
  if (text.size() > 1 && text.front() == '+' && text[1] != '-') text.remove_prefix(1);
  std::int32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// COLUMN, COLUMN:asc or COLUMN:desc.
std::optional<SortRequest> ParseSort(std::string_view text) {
  const std::size_t colon = text.find(':');
  const int column = ColumnFromKey(text.substr(0, colon));
  const std::string_view direction =
      colon == std::string_view::npos ? "asc" : text.substr(colon + 1);
  if (column < 0 || (direction != "asc" && direction != "desc")) return std::nullopt;
  return SortRequest{column, direction == "asc" ? 1 : -1};
}

// Takes one value of `option` into `options` (a flag's is only checked: the flags are set as they
// are given); the error's text when it is not usable.
std::optional<std::string> ReadValue(const ListerOption& option, const std::string& value,
                                     ListerOptions& options, ListerLanguage language) {
  std::string known;  // a choice's names
  for (const ChoiceName& choice : option.choices) {
    known += (known.empty() ? "" : ", ") + std::string(choice.name);
  }
  const std::string_view name = option.names.substr(option.names.rfind(',') + 1);
  const auto fault = [&](ListerText text) {
    return FormatText(language, text, {name, value, known});
  };
  switch (option.takes) {
    case Takes::kNothing:
      // CLI11 gives a flag given alone "true", and one given "=value" that value.
      if (value != "true") return fault(ListerText::kNoValueTaken);
      break;
    case Takes::kAge:
      if (const std::optional<std::int32_t> age = ParseAge(value)) {
        options.criteria.*option.criterion = *age;
        break;
      }
      return fault(ListerText::kNotAnAge);
    case Takes::kChoice:
      if (const auto found = std::ranges::find(option.choices, value, &ChoiceName::name);
          found != option.choices.end()) {
        options.criteria.*option.criterion =
            static_cast<std::int32_t>(found - option.choices.begin());
        break;
      }
      return fault(ListerText::kNotAChoice);
    case Takes::kSort:
      if (const std::optional<SortRequest> sort = ParseSort(value)) {
        options.sorts.push_back(*sort);
        break;
      }
      return fault(ListerText::kNotASort);
    case Takes::kFileName:
      if (value.empty()) return fault(ListerText::kEmptyOutputName);
      options.output = value;
  }
  return std::nullopt;
}

// The default that the help shows for `option`, empty for none.
std::string DefaultOf(const ListerOption& option) {
  switch (option.takes) {
    case Takes::kAge: return std::to_string(kDefaultSearch.*option.criterion);
    case Takes::kChoice: return std::string(option.choices[kDefaultSearch.*option.criterion].name);
    case Takes::kSort:
      return std::string(kRosterColumns[kDefaultSortColumn].key) +
             (kDefaultSortDirection < 0 ? ":desc" : ":asc");
    default: return {};
  }
}

// The names stand in a column this wide, two spaces in; a longer one has its description on the
// next line. The names are ASCII, so bytes are columns.
constexpr std::size_t kNameColumnWidth = 25;

}  // namespace

std::string ListerHelp(ListerLanguage language) {
  const bool japanese = language == ListerLanguage::kJapanese;
  const std::string indent(2 + kNameColumnWidth, ' ');
  std::string help = FormatText(language, ListerText::kHelpIntro);
  for (const ListerOption& option : kListerOptions) {
    std::string names(option.names);
    if (japanese && names.find(',') != std::string::npos) names.insert(names.find(',') + 1, " ");
    if (!option.valueName.empty()) names += " " + std::string(option.valueName);
    std::string description = option.choices.empty() ? FormatText(language, option.help) : "";
    for (std::size_t i = 0; i < option.choices.size(); ++i) {
      if (i > 0) description += japanese ? "、" : i + 1 < option.choices.size() ? ", " : " or ";
      const ChoiceName& choice = option.choices[i];
      (description += choice.name) += japanese ? choice.japanese : choice.english;
    }
    // English shows a default beside the value's name, Japanese after the description.
    if (const std::string shown = DefaultOf(option); !shown.empty()) {
      (japanese ? description : names) += FormatText(language, ListerText::kShownDefault, {shown});
    }
    help += "  " + names;
    help += names.size() < kNameColumnWidth ? std::string(kNameColumnWidth - names.size(), ' ')
                                            : "\n" + indent;
    for (const char c : description) (help += c) += c == '\n' ? indent : "";
    help += '\n';
  }
  std::string keys;
  for (const RosterColumn& column : kRosterColumns) {
    keys += (keys.empty() ? "" : " ") + std::string(column.key);
  }
  return help + FormatText(language, ListerText::kHelpNotes, {keys});
}

bool ParseListerOptions(std::span<const std::string_view> args, ListerLanguage language,
                        ListerOptions& options, std::string& error) {
  CLI::App app;
  app.set_help_flag();
  // Unknown options and extra files are left over rather than thrown: they are named below.
  app.allow_extras();
  // "/x" is a file on Windows too, as everywhere.
  app.allow_windows_style_options(false);
  // Every value is kept, in order: the last counts, but each must be usable.
  app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  std::vector<const CLI::Option*> given;
  for (const ListerOption& option : kListerOptions) {
    const std::string names(option.names);
    given.push_back(option.takes == Takes::kNothing ? app.add_flag(names) : app.add_option(names));
  }
  const CLI::Option* file = app.add_option("FILE")->required();

  std::optional<std::string> unparsed;
  // CLI11 takes the arguments last first.
  std::vector<std::string> reversed(args.rbegin(), args.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::RequiredError&) {
    unparsed = FormatText(language, ListerText::kMissingFile);
  } catch (const CLI::ArgumentMismatch&) {
    // Every option takes one value or none: only one at the end can miss its value.
    unparsed = FormatText(language, ListerText::kMissingValue, {OptionName(args.back())});
  }
  for (std::size_t i = 0; i < given.size(); ++i) {
    if (kListerOptions[i].flag != nullptr) options.*kListerOptions[i].flag = given[i]->count() > 0;
  }
  if (options.help || options.version) return true;

  // CLI11 leaves the "--" that ends the options among them.
  std::vector<std::string> extras = app.remaining();
  std::erase(extras, "--");
  std::optional<std::string> problem;
  for (const std::string& extra : extras) {
    if (extra.size() > 1 && extra.starts_with('-')) {
      problem = FormatText(language, ListerText::kUnknownOption, {OptionName(extra)});
      break;
    }
  }
  for (std::size_t i = 0; i < given.size() && !problem; ++i) {
    for (const std::string& value : given[i]->results()) {
      problem = ReadValue(kListerOptions[i], value, options, language);
      if (problem) break;
    }
  }
  if (!problem) problem = std::move(unparsed);
  if (!problem && !extras.empty()) {
    problem = FormatText(language, ListerText::kExtraFile, {extras.front()});
  }
  if (problem) {
    error = std::move(*problem);
    return false;
  }
  options.file = file->results().front();
  return true;
}
