#include "cli/CliArguments.h"

#include <algorithm>
#include <array>
#include <string>

#include "chart/Geometry.h"
#include "cli/ChartOutput.h"

namespace tavimo::cli {

namespace {

constexpr std::string_view kProgramName = "tavimo-cli";

// One option. A new option is one more row here and, when it carries a
// value, one more field of CliOptions.
struct OptionRule {
  std::string_view name;       // with its leading "--"
  std::string_view valueName;  // empty for an option without a value
  std::string_view help;
  // Stores the value; returns the error text for a value it refuses.
  std::optional<std::string> (*apply)(CliOptions& options, std::string_view value);
};

std::optional<std::string> ApplyFormat(CliOptions& options, std::string_view value) {
  for (OutputFormat format : {OutputFormat::Text, OutputFormat::Csv, OutputFormat::Json}) {
    if (OutputFormatName(format) == value) {
      options.format = format;
      return std::nullopt;
    }
  }
  return "unknown format '" + std::string(value) + "' (text, csv or json)";
}

constexpr std::array kOptionRules = {
    OptionRule{"--low", "TEXT", "the text of the low price box (not given: an empty box)",
               [](CliOptions& o, std::string_view v) -> std::optional<std::string> {
                 o.lowText = v;
                 return std::nullopt;
               }},
    OptionRule{"--high", "TEXT", "the text of the high price box (not given: an empty box)",
               [](CliOptions& o, std::string_view v) -> std::optional<std::string> {
                 o.highText = v;
                 return std::nullopt;
               }},
    OptionRule{"--ratios", "TEXT",
               "a ratio list text such as \"0.382,0.5,1/3\" (default: data.ini)",
               [](CliOptions& o, std::string_view v) -> std::optional<std::string> {
                 o.ratiosText = std::string(v);
                 return std::nullopt;
               }},
    OptionRule{"--format", "text|csv|json", "text (the default), csv or json", ApplyFormat},
    OptionRule{"--help", "", "print this help and exit",
               [](CliOptions& o, std::string_view) -> std::optional<std::string> {
                 o.help = true;
                 return std::nullopt;
               }},
};

// The largest picture side, in device pixels.
constexpr int kMaxPictureSide = 10000;

// WxH, each 1 to 10000 pixels.
std::optional<std::string> ApplySize(CliOptions& options, std::string_view value) {
  const auto number = [](std::string_view digits, int& out) {
    if (digits.empty() || digits.size() > 5) return false;
    out = 0;
    for (char c : digits) {
      if (c < '0' || c > '9') return false;
      out = out * 10 + (c - '0');
    }
    return out >= 1 && out <= 10000;
  };
  const std::size_t x = value.find('x');
  int width = 0;
  int height = 0;
  if (x == std::string_view::npos || !number(value.substr(0, x), width) || !number(value.substr(x + 1), height))
    return "invalid size '" + std::string(value) + "' (WIDTHxHEIGHT, each 1 to 10000)";
  options.chartWidth = width;
  options.chartHeight = height;
  return std::nullopt;
}

// A decimal above 0 and at most kMaxScale ("2", "1.25"), read exactly as
// written whatever the locale.
std::optional<std::string> ApplyScale(CliOptions& options, std::string_view value) {
  constexpr double kMaxScale = 10;
  const auto refuse = [&] {
    return "invalid scale '" + std::string(value) + "' (a decimal above 0 and at most 10, such as 1.5)";
  };
  const std::size_t point = value.find('.');
  const std::string_view whole = value.substr(0, point);
  const std::string_view fraction = point == std::string_view::npos ? std::string_view() : value.substr(point + 1);
  const auto digits = [](std::string_view s) {
    return !s.empty() && s.size() <= 6 && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
  };
  if (!digits(whole) || (point != std::string_view::npos && !digits(fraction))) return refuse();
  double scale = 0;
  for (char c : whole) scale = scale * 10 + (c - '0');
  double place = 1;
  long long tenths = 0;
  for (char c : fraction) {
    tenths = tenths * 10 + (c - '0');
    place *= 10;
  }
  scale += tenths / place;
  if (!(scale > 0 && scale <= kMaxScale)) return refuse();
  options.chartScale = scale;
  return std::nullopt;
}

// The chart options, listed in a usage line of their own. The default size is
// the chart's own, so its help is written from it.
const std::array<OptionRule, 4>& ChartOptionRules() {
  static const std::string sizeHelp = "the chart's size for --png and --layout (default " +
                                      std::to_string(chart::kMainChartWidth) + "x" +
                                      std::to_string(chart::kMainChartHeight) + ")";
  static const std::array<OptionRule, 4> rules = {
      OptionRule{"--png", "FILE", "after MODE, write the chart as the window shows it to FILE as PNG (- for stdout)",
                 [](CliOptions& o, std::string_view v) -> std::optional<std::string> {
                   o.pngPath = std::string(v);
                   return std::nullopt;
                 }},
      OptionRule{"--size", "WxH", sizeHelp, ApplySize},
      OptionRule{"--scale", "S",
                 "device pixels per pixel of the size, as on a screen of that pixel ratio (default 1)",
                 ApplyScale},
      OptionRule{"--layout", "", "print the chart's layout as JSON instead of the levels",
                 [](CliOptions& o, std::string_view) -> std::optional<std::string> {
                   o.layout = true;
                   return std::nullopt;
                 }},
  };
  return rules;
}

constexpr std::string_view kRatiosCommand = "ratios";

// The options of "tavimo-cli ratios", listed in a usage line of their own.
constexpr std::array kRatiosOptionRules = {
    OptionRule{"--set", "TEXT", "with ratios, store TEXT as the settings button would",
               [](CliOptions& o, std::string_view v) -> std::optional<std::string> {
                 o.setRatiosText = std::string(v);
                 return std::nullopt;
               }},
    OptionRule{"--reset", "", "with ratios, store the default list",
               [](CliOptions& o, std::string_view) -> std::optional<std::string> {
                 o.resetRatios = true;
                 return std::nullopt;
               }},
};

const OptionRule* FindRule(std::string_view name) {
  if (name == "-h") name = "--help";
  for (const OptionRule& rule : kOptionRules)
    if (rule.name == name) return &rule;
  for (const OptionRule& rule : ChartOptionRules())
    if (rule.name == name) return &rule;
  return nullptr;
}

const OptionRule* FindRatiosRule(std::string_view name) {
  for (const OptionRule& rule : kRatiosOptionRules)
    if (rule.name == name) return &rule;
  if (name == "-h" || name == "--help") return FindRule(name);
  return nullptr;
}

bool LooksLikeOption(std::string_view word) { return word.size() >= 2 && word[0] == '-'; }

CliParseResult Fail(std::string message) {
  CliParseResult result;
  result.usageError = std::move(message);
  return result;
}

// Applies the option word arguments[i] (and its value, which may be the next
// word), found by `find`; the usage error when it is not usable.
std::optional<std::string> ApplyOption(const std::vector<std::string>& arguments, std::size_t& i,
                                       const OptionRule* (*find)(std::string_view), CliOptions& options) {
  const std::string_view word = arguments[i];
  const std::size_t equals = word.starts_with("--") ? word.find('=') : std::string_view::npos;
  const std::string_view name = word.substr(0, equals);
  const OptionRule* rule = find(name);
  if (rule == nullptr) return "unknown option '" + std::string(name) + "'";
  std::string_view value;
  if (rule->valueName.empty()) {
    if (equals != std::string_view::npos) return "option " + std::string(rule->name) + " takes no value";
  } else if (equals != std::string_view::npos) {
    value = word.substr(equals + 1);
  } else if (i + 1 < arguments.size()) {
    value = arguments[++i];
  } else {
    return "option " + std::string(rule->name) + " needs a value";
  }
  return rule->apply(options, value);
}

// tavimo-cli ratios [--set TEXT | --reset]: arguments[0] is "ratios".
CliParseResult ParseRatiosArguments(const std::vector<std::string>& arguments) {
  CliParseResult result;
  result.options.ratiosCommand = true;
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    if (!LooksLikeOption(arguments[i])) return Fail("unexpected argument '" + arguments[i] + "'");
    if (auto error = ApplyOption(arguments, i, FindRatiosRule, result.options)) return Fail(std::move(*error));
    if (result.options.help) return result;
  }
  if (result.options.setRatiosText && result.options.resetRatios)
    return Fail("--set and --reset cannot be given together");
  return result;
}

}  // namespace

std::string_view OutputFormatName(OutputFormat format) {
  switch (format) {
    case OutputFormat::Text: return "text";
    case OutputFormat::Csv: return "csv";
    case OutputFormat::Json: return "json";
  }
  return "text";
}

CliParseResult ParseCliArguments(const std::vector<std::string>& arguments) {
  if (!arguments.empty() && arguments[0] == kRatiosCommand) return ParseRatiosArguments(arguments);
  CliParseResult result;
  bool modeGiven = false;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string_view word = arguments[i];
    if (!optionsEnded && word == "--") {
      optionsEnded = true;
      continue;
    }
    if (!optionsEnded && LooksLikeOption(word)) {
      if (auto error = ApplyOption(arguments, i, FindRule, result.options)) return Fail(std::move(*error));
      if (result.options.help) return result;
      continue;
    }
    if (modeGiven) return Fail("unexpected argument '" + std::string(word) + "'");
    const std::optional<ComputeMode> mode = ComputeModeFromName(word);
    if (!mode) return Fail("unknown mode '" + std::string(word) + "' (rise, decline, resistance or support)");
    result.options.mode = *mode;
    modeGiven = true;
  }
  if (!modeGiven && !result.options.pngPath && !result.options.layout) return Fail("no mode given");
  if (result.options.layout && result.options.pngPath == kStandardOutput)
    return Fail("--png - and --layout cannot both write to standard output");
  const CliOptions& o = result.options;
  const int pictureWidth = chart::ScaleLength(o.chartWidth, o.chartScale);
  const int pictureHeight = chart::ScaleLength(o.chartHeight, o.chartScale);
  if (pictureWidth > kMaxPictureSide || pictureHeight > kMaxPictureSide)
    return Fail("the picture would be " + std::to_string(pictureWidth) + "x" + std::to_string(pictureHeight) +
                " pixels (--size times --scale); each side is at most " + std::to_string(kMaxPictureSide));
  result.options.modeGiven = modeGiven;
  return result;
}

std::string UsageText() {
  std::string synopsis = "usage: " + std::string(kProgramName) + " MODE";
  std::string chartSynopsis = "       " + std::string(kProgramName) + " [MODE ...]";
  std::string options;
  const auto list = [&options](const auto& rules, std::string& line) {
    for (const OptionRule& rule : rules) {
      std::string left = "  " + std::string(rule.name);
      if (!rule.valueName.empty()) {
        line += " [" + std::string(rule.name) + " " + std::string(rule.valueName) + "]";
        left += rule.valueName.find('|') == std::string_view::npos ? " " + std::string(rule.valueName) : " FORMAT";
      }
      left.resize(std::max<std::size_t>(left.size() + 1, 19), ' ');
      options += left + std::string(rule.help) + "\n";
    }
  };
  list(kOptionRules, synopsis);
  list(ChartOptionRules(), chartSynopsis);
  std::string ratiosSynopsis;
  list(kRatiosOptionRules, ratiosSynopsis);
  synopsis += "\n" + chartSynopsis + " [--layout]\n       " + std::string(kProgramName) + " " +
              std::string(kRatiosCommand) + " [--set TEXT | --reset]";
  return synopsis +
         "\n\n"
         "Computes the price level of every ratio of the ratio list, as the compute\n"
         "buttons of the Tavimo window do.\n"
         "\n"
         "MODE:\n"
         "  rise             rise from the low (needs --low)\n"
         "  decline          decline from the high (needs --high)\n"
         "  resistance       rebound resistance (needs --low and --high)\n"
         "  support          pullback support (needs --low and --high)\n"
         "\n"
         "Options (also written --option=value):\n" +
         options +
         "\n"
         "Output: one line per ratio, in list order; text gives the ratio and the level as\n"
         "the chart shows it, separated by a tab; csv and json give the ratio, the level as a\n"
         "number and the chart's text. JSON output (json, --layout) is valid UTF-8: each\n"
         "byte of a text that is not part of well-formed UTF-8 is written as U+FFFD.\n"
         "\n"
         "Chart: --png writes the chart after the command; without MODE, the chart as it\n"
         "looks at start-up (every level 0). The file is replaced whole or not at all;\n"
         "a FILE that is not a regular file is refused, and with --png - the picture\n"
         "alone goes to stdout. --layout prints the chart's layout instead.\n"
         "\n"
         "Ratios: " + std::string(kProgramName) + " ratios prints the ratio list text in effect, as the\n"
         "window loads it. --set TEXT stores a new list by the rules of the window's\n"
         "settings button: a TEXT with characters other than digits, '.', ',', '/' and\n"
         "'^' is refused, and the default list text itself changes nothing. --reset\n"
         "stores the default list. Both write the window's settings file.\n"
         "\n"
         "Exit status: 0 done, 1 an empty price box, a value that cannot be converted,\n"
         "a file that cannot be written or a refused ratio list (the message is on\n"
         "stderr), 2 a usage error.\n";
}

}  // namespace tavimo::cli
