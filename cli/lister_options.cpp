#include "lister_options.h"

#include <CLI/CLI.hpp>

#include <charconv>
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

// The name of `choice`, the default's in the usage text.
template <typename Choice, std::size_t Count>
std::string NameOf(const ChoiceName<Choice> (&names)[Count], std::int32_t choice) {
  for (const auto& [name, value] : names) {
    if (value == choice) return std::string(name);
  }
  return "?";
}

// A whole decimal number with an optional sign, nothing around it.
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

// CLI11 converts a number with a leading 0 as octal and one with 0x as hexadecimal: an age is read
// here and handed on in its plain decimal form.
CLI::Validator AgeValue() {
  return {[](std::string& text) -> std::string {
            const std::optional<std::int32_t> age = ParseAge(text);
            if (!age) return "'" + text + "' is not a whole number of 32 bits";
            text = std::to_string(*age);
            return {};
          },
          ""};
}

// Turns a choice's name into its index.
template <typename Choice, std::size_t Count>
CLI::Validator ChoiceValue(const ChoiceName<Choice> (&names)[Count]) {
  return {[&names](std::string& text) -> std::string {
            std::string known;
            for (const auto& [name, choice] : names) {
              if (text == name) {
                text = std::to_string(choice);
                return {};
              }
              known += (known.empty() ? "" : ", ") + std::string(name);
            }
            return "'" + text + "' is none of " + known;
          },
          ""};
}

CLI::Validator SortValue() {
  return {[](std::string& text) -> std::string {
            return ParseSort(text) ? "" : "'" + text + "' is not COLUMN, COLUMN:asc or COLUMN:desc";
          },
          ""};
}

std::string ColumnKeys() {
  std::string keys;
  for (const RosterColumn& column : kRosterColumns) {
    keys += (keys.empty() ? "" : " ") + std::string(column.key);
  }
  return keys;
}

// The usage line first, then what the program does.
class UsageFirst : public CLI::Formatter {
 public:
  std::string make_help(const CLI::App* app, std::string name, CLI::AppFormatMode) const override {
    return make_usage(app, name) + "\n" + make_description(app) + make_positionals(app) +
           make_groups(app, CLI::AppFormatMode::Normal) + "\n" + make_footer(app);
  }
};

// The options, their help and their defaults, bound to `options` and `sorts`.
void DefineOptions(CLI::App& app, ListerOptions& options, std::vector<std::string>& sorts) {
  SearchCriteria& c = options.criteria;
  const std::string defaultSort = std::string(kRosterColumns[kDefaultSortColumn].key) +
                                  (kDefaultSortDirection < 0 ? ":desc" : ":asc");
  app.description(
      "Lists the living characters of the save FILE as the roster window would after a Search:\n"
      "a header line, then one line per character, tab-separated, in UTF-8.");
  app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  // On Windows CLI11 would take "/x" for an option; there it is a file's name, as elsewhere.
  app.allow_windows_style_options(false);
  app.formatter(std::make_shared<UsageFirst>());
  app.get_formatter()->column_width(27);
  app.set_version_flag("--version", kListerVersion, "show the version and exit");
  app.set_help_flag("-h,--help", "show this help and exit");
  app.add_option("--min-age", c.minAge, "youngest age listed")
      ->type_name("N")->transform(AgeValue())->default_str(std::to_string(c.minAge));
  app.add_option("--max-age", c.maxAge, "oldest age listed")
      ->type_name("N")->transform(AgeValue())->default_str(std::to_string(c.maxAge));
  app.add_option("--gender", c.genderChoice, "all, m or f")
      ->type_name("G")->transform(ChoiceValue(kGenderNames))
      ->default_str(NameOf(kGenderNames, c.genderChoice));
  app.add_option("--religion", c.religionChoice,
                 "all, c (Catholic), o (Orthodox), p (pagan) or m (Islam)")
      ->type_name("R")->transform(ChoiceValue(kReligionNames))
      ->default_str(NameOf(kReligionNames, c.religionChoice));
  app.add_option("--marital", c.maritalChoice, "all, married or unmarried")
      ->type_name("M")->transform(ChoiceValue(kMaritalNames))
      ->default_str(NameOf(kMaritalNames, c.maritalChoice));
  app.add_option("--sort", sorts,
                 "sort the rows by COLUMN, ascending unless :desc is given; each\n"
                 "--sort sorts the rows as they stand, stably, so the last one\n"
                 "decides first")
      ->type_name("COLUMN[:asc|:desc]")->check(SortValue())
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)->expected(1)
      ->default_str(defaultSort);
  app.add_flag("--csv", options.csv,
               "write comma-separated values for a spreadsheet (lines ended by\n"
               "CR LF, UTF-8 with a byte-order mark) instead of tab-separated ones");
  app.add_option("-o,--output", options.output,
                 "write the list to FILE, and no other file, instead of standard\n"
                 "output; FILE is replaced once the whole list is written, and is\n"
                 "never a save (.eug)")
      ->type_name("FILE")
      ->check(CLI::Validator(
          [](std::string& name) { return name.empty() ? "FILE is an empty name" : std::string(); },
          ""));
  app.add_option("FILE", options.file, "the save game (.eug) to read")->type_name("")->required();
  app.footer(
      "COLUMN is one of: " + ColumnKeys() + ".\n"
      "Ages are any whole numbers: the lister reaches ages that the window's sliders cannot (over\n"
      "100, or below 0 in a damaged save). A minimum above the maximum lists nothing.\n"
      "\n"
      "Exit status: 0 listed, 1 the save could not be read or the list not written, 2 the\n"
      "command line is not usable, 3 FILE does not look like a save of the game.");
}

}  // namespace

const std::string& ListerUsage() {
  static const std::string usage = [] {
    ListerOptions options;
    std::vector<std::string> sorts;
    CLI::App app(std::string(), "pellarin-cli");
    DefineOptions(app, options, sorts);
    return app.help();
  }();
  return usage;
}

const std::string& ListerUsageHint() {
  static const std::string hint = ListerUsage().substr(0, ListerUsage().find('\n') + 1) +
                                  "Run 'pellarin-cli --help' for the options.\n";
  return hint;
}

bool ParseListerOptions(std::span<const std::string_view> args, ListerOptions& options,
                        std::string& error) {
  std::vector<std::string> sorts;
  CLI::App app(std::string(), "pellarin-cli");
  DefineOptions(app, options, sorts);
  // CLI11 takes the arguments last first.
  std::vector<std::string> reversed(args.rbegin(), args.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::CallForHelp&) {
    options.help = true;
    return true;
  } catch (const CLI::CallForVersion&) {
    options.version = true;
    return true;
  } catch (const CLI::ParseError& e) {
    error = e.what();
    return false;
  }
  for (const std::string& sort : sorts) options.sorts.push_back(*ParseSort(sort));
  return true;
}
