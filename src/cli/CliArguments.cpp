#include "cli/CliArguments.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "chart/Geometry.h"
#include "cli/ChartOutput.h"
#include "confluence/ConfluenceInput.h"
#include "runtime/Messages.h"
#include "runtime/NumberParse.h"

namespace tavimo::cli {

namespace {

constexpr std::string_view kProgramName = "tavimo-cli";

// The commands an option belongs to, as bits.
enum CommandBits : unsigned {
  kLevelsBit = 1,
  kRatiosBit = 2,
  kConfluenceBit = 4,
  kBatchBit = 8,
  kSwingsBit = 16,
  kStatsBit = 32,
  kScanBit = 64,
  kPriceChartBit = 128,
  kComputingBits = kLevelsBit | kConfluenceBit | kBatchBit | kScanBit | kPriceChartBit,
  kPriceFileBits = kLevelsBit | kSwingsBit | kStatsBit | kScanBit | kPriceChartBit,
};

// One option. A new option is one more row here and, when it carries a
// value, one more field of CliOptions.
struct OptionRule {
  std::string_view name;       // with its leading "--"
  std::string_view valueName;  // empty for an option without a value
  std::string_view help;
  // Stores the value; returns the error text for a value it refuses.
  std::optional<std::string> (*apply)(CliOptions& options, std::string_view value);
  unsigned commands = kLevelsBit;
  // The value's name in the option list, where valueName lists the choices.
  std::string_view listedValue = {};
};

// The apply functions of the options that only keep their value, or only
// switch something on.
template <auto Field>
std::optional<std::string> StoreValue(CliOptions& options, std::string_view value) {
  options.*Field = std::string(value);
  return std::nullopt;
}
template <bool CliOptions::*Flag>
std::optional<std::string> SetFlag(CliOptions& options, std::string_view) {
  options.*Flag = true;
  return std::nullopt;
}

std::string UnknownMode(std::string_view word) {
  return "unknown mode " + messages::QuotedText(word) + " (" + NameChoices(kComputeModeNames) + ")";
}

// MODE[,MODE...]: known names, none twice.
std::optional<std::string> ReadModeList(std::string_view text, std::vector<ComputeMode>& modes) {
  modes.clear();
  for (std::size_t at = 0;;) {
    const std::size_t comma = std::min(text.find(',', at), text.size());
    const std::string_view name = text.substr(at, comma - at);
    const std::optional<ComputeMode> mode = ComputeModeFromName(name);
    if (!mode) return UnknownMode(name);
    if (std::find(modes.begin(), modes.end(), *mode) != modes.end())
      return "mode " + messages::QuotedText(name) + " given twice";
    modes.push_back(*mode);
    if (comma == text.size()) return std::nullopt;
    at = comma + 1;
  }
}

std::optional<std::string> ApplyRound(CliOptions& options, std::string_view value) {
  const std::optional<TickRounding> rounding = TickRoundingFromName(value);
  if (!rounding) return "unknown rounding " + messages::QuotedText(value) + " (" + NameChoices(kTickRoundingNames) + ")";
  options.rounding = *rounding;
  return std::nullopt;
}

std::optional<std::string> ApplyLevelScale(CliOptions& options, std::string_view value) {
  const std::optional<LevelScale> scale = LevelScaleFromName(value);
  if (!scale) return "unknown level scale " + messages::QuotedText(value) + " (" + NameChoices(kLevelScaleNames) + ")";
  options.scale = *scale;
  return std::nullopt;
}

// LOW:HIGH or LOW:HIGH:C; the texts are converted when the command runs.
std::optional<std::string> ApplyWave(CliOptions& options, std::string_view value) {
  const std::size_t first = value.find(':');
  const std::size_t second = first == std::string_view::npos ? first : value.find(':', first + 1);
  if (first == std::string_view::npos ||
      (second != std::string_view::npos && value.find(':', second + 1) != std::string_view::npos))
    return "invalid wave " + messages::QuotedText(value) + " (LOW:HIGH or LOW:HIGH:C)";
  CliWave wave;
  wave.lowText = value.substr(0, first);
  wave.highText = value.substr(first + 1, second == std::string_view::npos ? second : second - first - 1);
  if (second != std::string_view::npos) wave.fromText = std::string(value.substr(second + 1));
  options.waves.push_back(std::move(wave));
  return std::nullopt;
}

// The confluence window's rule for its tolerance box.
std::optional<std::string> ApplyTolerance(CliOptions& options, std::string_view value) {
  const std::optional<long double> percent = ReadConfluenceTolerance(value);
  if (!percent) return "invalid tolerance " + messages::QuotedText(value) + " (a percentage of 0 or more, such as 0.5)";
  options.tolerancePercent = *percent;
  return std::nullopt;
}

std::optional<std::string> ApplyMinWaves(CliOptions& options, std::string_view value) {
  constexpr std::uint64_t kLargest = 1000000000;  // far more waves than any command line holds
  std::uint64_t count = 0;
  if (!ScanDigits(value, kLargest, count) || count == 0)
    return "invalid number of waves " + messages::QuotedText(value) + " (a whole number of 1 or more)";
  options.minWaves = static_cast<std::size_t>(count);
  return std::nullopt;
}

std::optional<std::string> ApplyFormat(CliOptions& options, std::string_view value) {
  const std::optional<OutputFormat> format = ValueNamed(kOutputFormatNames, value);
  if (!format) return "unknown format " + messages::QuotedText(value) + " (" + NameChoices(kOutputFormatNames) + ")";
  options.format = *format;
  return std::nullopt;
}

template <std::string CliOptions::*Field>
std::optional<std::string> StorePrice(CliOptions& options, std::string_view value) {
  options.*Field = std::string(value);
  options.pricesGiven = true;
  return std::nullopt;
}

std::optional<std::string> ApplyInput(CliOptions& options, std::string_view value) {
  options.inputPath = std::string(value);
  options.inputPaths.emplace_back(value);
  return std::nullopt;
}

std::optional<std::string> ApplyLeg(CliOptions& options, std::string_view value) {
  std::uint64_t leg = 0;
  if (!ScanDigits(value, 1000000000, leg) || leg == 0)
    return "invalid leg " + messages::QuotedText(value) + " (a whole number of 1 or more)";
  options.legNumber = static_cast<std::size_t>(leg);
  return std::nullopt;
}

constexpr std::array kOptionRules = {
    OptionRule{"--wave", "LOW:HIGH[:C]", "with confluence, one wave: its low, its high and its third price C",
               ApplyWave, kConfluenceBit},
    OptionRule{"--low", "TEXT", "the text of the low price box (not given: an empty box)",
               StorePrice<&CliOptions::lowText>},
    OptionRule{"--high", "TEXT", "the text of the high price box (not given: an empty box)",
               StorePrice<&CliOptions::highText>},
    OptionRule{"--from", "TEXT", "the text of the third price C, where the projections start",
               StoreValue<&CliOptions::fromText>},
    OptionRule{"--input", "FILE|-", "with batch, the CSV file to read (default -, standard input)",
               ApplyInput, kBatchBit, "FILE"},
    OptionRule{"--input", "FILE",
               "a price file: MODE takes its wave from a leg of it, swings and stats read it (stats: repeatable)",
               ApplyInput, kLevelsBit | kSwingsBit | kStatsBit | kPriceChartBit},
    OptionRule{"--change", "P", "with price files, the percent change that turns a swing (default 5)",
               StoreValue<&CliOptions::changeText>, kPriceFileBits},
    OptionRule{"--leg", "N", "with MODE --input, the leg whose low and high are the wave (default 1, the current)",
               ApplyLeg, kLevelsBit | kPriceChartBit},
    OptionRule{"--from", "TIME", "with chart, the first time in view (default: the first bar's)",
               StoreValue<&CliOptions::spanFromText>, kPriceChartBit},
    OptionRule{"--to", "TIME", "with chart, the last time in view, a date meaning its whole day (default: the last bar's)",
               StoreValue<&CliOptions::spanToText>, kPriceChartBit},
    OptionRule{"--modes", "MODE,...",
               "with confluence, the modes whose levels count (default: all but rise and decline)",
               [](CliOptions& o, std::string_view v) { return ReadModeList(v, o.modes); }, kConfluenceBit},
    OptionRule{"--tolerance", "PERCENT", "with confluence, how far apart levels of one zone may be (default 0.5)",
               ApplyTolerance, kConfluenceBit},
    OptionRule{"--tolerance", "T", "with stats, how far a depth may lie from a ratio and count (default 0.03)",
               StoreValue<&CliOptions::toleranceText>, kStatsBit},
    OptionRule{"--min-waves", "N", "with confluence, the fewest waves a zone needs (default 2; 1 for one wave)",
               ApplyMinWaves, kConfluenceBit},
    OptionRule{"--ratios", "TEXT",
               "a ratio list text such as \"0.382,0.5,1/3\" (default: data.ini)",
               StoreValue<&CliOptions::ratiosText>, kComputingBits | kStatsBit},
    OptionRule{"--format", "text|csv|json", "text (the default), csv or json", ApplyFormat,
               kLevelsBit | kConfluenceBit | kSwingsBit | kStatsBit | kScanBit, "FORMAT"},
    OptionRule{"--tick", "TEXT", "round every level to this price tick (default: data.ini; \"\" for none)",
               StoreValue<&CliOptions::tickText>, kComputingBits},
    OptionRule{"--round", "nearest|up|down", "how levels go onto the tick (default nearest)", ApplyRound,
               kComputingBits, "HOW"},
    OptionRule{"--scale-levels", "linear|log", "the level scale (default: data.ini, else linear)", ApplyLevelScale,
               kComputingBits, "SCALE"},
    OptionRule{"--help", "", "print this help and exit",
               SetFlag<&CliOptions::help>, kLevelsBit | kRatiosBit | kConfluenceBit | kBatchBit | kSwingsBit | kStatsBit | kScanBit | kPriceChartBit},
};

// The largest picture side, in device pixels.
constexpr int kMaxPictureSide = 10000;

// WxH, each 1 to 10000 pixels.
std::optional<std::string> ApplySize(CliOptions& options, std::string_view value) {
  const auto number = [](std::string_view digits, int& out) {
    std::uint64_t side = 0;
    if (!ScanDigits(digits, kMaxPictureSide, side) || side == 0) return false;
    out = static_cast<int>(side);
    return true;
  };
  const std::size_t x = value.find('x');
  int width = 0;
  int height = 0;
  if (x == std::string_view::npos || !number(value.substr(0, x), width) || !number(value.substr(x + 1), height))
    return "invalid size " + messages::QuotedText(value) + " (WIDTHxHEIGHT, each 1 to 10000)";
  options.chartWidth = width;
  options.chartHeight = height;
  return std::nullopt;
}

// A decimal above 0 and at most kMaxScale ("2", "1.25"), read exactly as
// written whatever the locale.
std::optional<std::string> ApplyScale(CliOptions& options, std::string_view value) {
  constexpr double kMaxScale = 10;
  const auto refuse = [&] {
    return "invalid scale " + messages::QuotedText(value) + " (a decimal above 0 and at most 10, such as 1.5)";
  };
  const std::size_t point = value.find('.');
  const std::string_view whole = value.substr(0, point);
  const std::string_view fraction = point == std::string_view::npos ? std::string_view() : value.substr(point + 1);
  // Digits only, six at most on either side of the point.
  const auto digits = [](std::string_view s) {
    std::uint64_t unused = 0;
    return s.size() <= 6 && ScanDigits(s, UINT64_MAX, unused);
  };
  if (!digits(whole) || (point != std::string_view::npos && !digits(fraction))) return refuse();
  long double scale = 0;
  if (!ScanFloatText(value, scale, NumberFormatSettings{}) || !(scale > 0 && scale <= kMaxScale)) return refuse();
  options.chartScale = static_cast<double>(scale);
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
                 StoreValue<&CliOptions::pngPath>},
      OptionRule{"--size", "WxH", sizeHelp, ApplySize},
      OptionRule{"--scale", "S",
                 "device pixels per pixel of the size, as on a screen of that pixel ratio (default 1)",
                 ApplyScale},
      OptionRule{"--layout", "", "print the chart's layout as JSON instead of the levels",
                 SetFlag<&CliOptions::layout>},
  };
  return rules;
}

// The options of "tavimo-cli ratios", listed in a usage line of their own.
constexpr std::array kRatiosOptionRules = {
    OptionRule{"--set", "TEXT", "with ratios, store TEXT as the settings button would",
               StoreValue<&CliOptions::setRatiosText>, kRatiosBit},
    OptionRule{"--reset", "", "with ratios, store the default list",
               SetFlag<&CliOptions::resetRatios>, kRatiosBit},
};

// The rule of an option name for the command being read.
const OptionRule* FindRule(std::string_view name, unsigned command) {
  if (name == "-h") name = "--help";
  for (const OptionRule& rule : kOptionRules)
    if (rule.name == name && (rule.commands & command) != 0) return &rule;
  // stats draws its histogram with the chart's picture options, but has no layout.
  if (command == kLevelsBit || ((command == kStatsBit || command == kPriceChartBit) && name != "--layout"))
    for (const OptionRule& rule : ChartOptionRules())
      if (rule.name == name) return &rule;
  if (command == kRatiosBit)
    for (const OptionRule& rule : kRatiosOptionRules)
      if (rule.name == name) return &rule;
  return nullptr;
}

bool LooksLikeOption(std::string_view word) { return word.size() >= 2 && word[0] == '-'; }

CliParseResult Fail(std::string message) {
  CliParseResult result;
  result.usageError = std::move(message);
  return result;
}

// Applies the option word arguments[i] (and its value, which may be the next
// word) of the command; the usage error when it is not usable.
std::optional<std::string> ApplyOption(const std::vector<std::string>& arguments, std::size_t& i, unsigned command,
                                       CliOptions& options) {
  const std::string_view word = arguments[i];
  const std::size_t equals = word.starts_with("--") ? word.find('=') : std::string_view::npos;
  const std::string_view name = word.substr(0, equals);
  const OptionRule* rule = FindRule(name, command);
  if (rule == nullptr) return "unknown option " + messages::QuotedText(name);
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
  result.options.command = CliCommand::Ratios;
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    if (!LooksLikeOption(arguments[i])) return Fail("unexpected argument " + messages::QuotedText(arguments[i]));
    if (auto error = ApplyOption(arguments, i, kRatiosBit, result.options)) return Fail(std::move(*error));
    if (result.options.help) return result;
  }
  if (result.options.setRatiosText && result.options.resetRatios)
    return Fail("--set and --reset cannot be given together");
  return result;
}

// The words of a computing command from arguments[first] on: options, "--",
// and the command's one word that is not an option (its MODE), read by
// `takeMode`. Stops at the first error or --help.
std::optional<std::string> ReadWords(const std::vector<std::string>& arguments, std::size_t first, unsigned command,
                                     CliOptions& options, bool& modeGiven,
                                     std::optional<std::string> (*takeMode)(CliOptions&, std::string_view),
                                     bool manyWords = false) {
  bool optionsEnded = false;
  for (std::size_t i = first; i < arguments.size(); ++i) {
    const std::string_view word = arguments[i];
    if (!optionsEnded && word == "--") {
      optionsEnded = true;
      continue;
    }
    if (!optionsEnded && LooksLikeOption(word)) {
      if (auto error = ApplyOption(arguments, i, command, options)) return error;
      if (options.help) return std::nullopt;
      continue;
    }
    if ((modeGiven && !manyWords) || takeMode == nullptr) return "unexpected argument " + messages::QuotedText(word);
    if (auto error = takeMode(options, word)) return error;
    modeGiven = true;
  }
  return std::nullopt;
}

// Log scale has no meaning for rise and decline; asked for explicitly, it is refused.
std::optional<std::string> CheckExplicitScale(const CliOptions& options, const std::vector<ComputeMode>& modes) {
  if (options.scale != LevelScale::Log) return std::nullopt;
  for (ComputeMode mode : modes)
    if (!LogScaleApplies(mode)) return std::string(kLogScaleModesMessage);
  return std::nullopt;
}

// The picture's sides in device pixels: --size times --scale.
std::optional<std::string> CheckPictureSize(const CliOptions& options) {
  const int width = chart::ScaleLength(options.chartWidth, options.chartScale);
  const int height = chart::ScaleLength(options.chartHeight, options.chartScale);
  if (width <= kMaxPictureSide && height <= kMaxPictureSide) return std::nullopt;
  return "the picture would be " + std::to_string(width) + "x" + std::to_string(height) +
         " pixels (--size times --scale); each side is at most " + std::to_string(kMaxPictureSide);
}

// The first words that start a command of their own; any other run is MODE's.
constexpr std::array<NamedValue<CliCommand>, 7> kCommandWords = {
    {{CliCommand::Ratios, "ratios"}, {CliCommand::Confluence, "confluence"}, {CliCommand::Batch, "batch"},
     {CliCommand::Swings, "swings"}, {CliCommand::Stats, "stats"}, {CliCommand::Scan, "scan"},
     {CliCommand::Chart, "chart"}}};
constexpr std::string_view kAutoMode = "auto";

// The words of a command after its name: options, and the words that are
// not options, each handed to takeWord (one only, unless manyWords). Ends
// early, `finished` set, at a usage error or --help.
struct CommandWords {
  CliParseResult result;
  bool wordGiven = false;
  bool finished = false;
};
CommandWords ReadCommandWords(const std::vector<std::string>& arguments, CliCommand command, unsigned bit,
                              std::optional<std::string> (*takeWord)(CliOptions&, std::string_view),
                              bool manyWords = false) {
  CommandWords words;
  words.result.options.command = command;
  if (auto error = ReadWords(arguments, 1, bit, words.result.options, words.wordGiven, takeWord, manyWords)) {
    words.result = Fail(std::move(*error));
    words.finished = true;
  }
  words.finished = words.finished || words.result.options.help;
  return words;
}

// swings, stats and scan: arguments[0] names the command.
CliParseResult ParsePriceFileArguments(const std::vector<std::string>& arguments, CliCommand command) {
  const unsigned bit = command == CliCommand::Swings ? kSwingsBit
                       : command == CliCommand::Stats ? kStatsBit
                       : command == CliCommand::Chart ? kPriceChartBit
                                                      : kScanBit;
  const auto takeFile = [](CliOptions& o, std::string_view word) -> std::optional<std::string> {
    o.inputPaths.emplace_back(word);
    return std::nullopt;
  };
  CommandWords words =
      ReadCommandWords(arguments, command, bit, command == CliCommand::Scan ? +takeFile : nullptr, true);
  if (words.finished) return words.result;
  const CliOptions& options = words.result.options;
  if (options.inputPaths.empty()) return Fail(command == CliCommand::Scan ? "no file given" : "no --input FILE given");
  if (command == CliCommand::Swings && options.inputPaths.size() > 1) return Fail("swings reads one --input FILE");
  if (command == CliCommand::Chart && options.inputPaths.size() > 1) return Fail("chart reads one --input FILE");
  if (command == CliCommand::Chart && !options.pngPath) return Fail("chart needs --png FILE");
  if (auto error = CheckPictureSize(options)) return Fail(std::move(*error));
  return words.result;
}

// tavimo-cli confluence --wave LOW:HIGH[:C] ...: arguments[0] is "confluence".
CliParseResult ParseConfluenceArguments(const std::vector<std::string>& arguments) {
  CommandWords words = ReadCommandWords(arguments, CliCommand::Confluence, kConfluenceBit, nullptr);
  if (words.finished) return words.result;
  CliOptions& options = words.result.options;
  if (options.waves.empty()) return Fail("no wave given (--wave LOW:HIGH or LOW:HIGH:C)");
  if (options.modes.empty()) options.modes.assign(kDefaultConfluenceModes.begin(), kDefaultConfluenceModes.end());
  if (auto error = CheckExplicitScale(options, options.modes)) return Fail(std::move(*error));
  return words.result;
}

// tavimo-cli batch MODE[,MODE...]: arguments[0] is "batch".
CliParseResult ParseBatchArguments(const std::vector<std::string>& arguments) {
  const auto takeModes = [](CliOptions& o, std::string_view word) { return ReadModeList(word, o.modes); };
  CommandWords words = ReadCommandWords(arguments, CliCommand::Batch, kBatchBit, takeModes);
  if (words.finished) return words.result;
  if (!words.wordGiven) return Fail("no mode given");
  if (auto error = CheckExplicitScale(words.result.options, words.result.options.modes)) return Fail(std::move(*error));
  return words.result;
}

}  // namespace

std::string_view OutputFormatName(OutputFormat format) { return NameOf(kOutputFormatNames, format); }

CliParseResult ParseCliArguments(const std::vector<std::string>& arguments) {
  switch (arguments.empty() ? CliCommand::Levels : ValueNamed(kCommandWords, arguments[0]).value_or(CliCommand::Levels)) {
    case CliCommand::Ratios: return ParseRatiosArguments(arguments);
    case CliCommand::Confluence: return ParseConfluenceArguments(arguments);
    case CliCommand::Batch: return ParseBatchArguments(arguments);
    case CliCommand::Swings:
    case CliCommand::Stats:
    case CliCommand::Scan:
    case CliCommand::Chart: return ParsePriceFileArguments(arguments, *ValueNamed(kCommandWords, arguments[0]));
    case CliCommand::Levels: break;
  }
  CliParseResult result;
  bool modeGiven = false;
  const auto takeMode = [](CliOptions& o, std::string_view word) -> std::optional<std::string> {
    if (word == kAutoMode) {
      o.autoMode = true;
      return std::nullopt;
    }
    const std::optional<ComputeMode> mode = ComputeModeFromName(word);
    if (!mode) return UnknownMode(word);
    o.mode = *mode;
    return std::nullopt;
  };
  if (auto error = ReadWords(arguments, 0, kLevelsBit, result.options, modeGiven, takeMode))
    return Fail(std::move(*error));
  if (result.options.help) return result;
  if (!modeGiven && !result.options.pngPath && !result.options.layout) return Fail("no mode given");
  if (result.options.layout && result.options.pngPath == kStandardOutput)
    return Fail("--png - and --layout cannot both write to standard output");
  const CliOptions& o = result.options;
  if (auto error = CheckPictureSize(o)) return Fail(std::move(*error));
  if (o.inputPaths.size() > 1) return Fail("MODE reads one --input FILE");
  if (!o.inputPaths.empty() && o.pricesGiven) return Fail("--input and --low or --high cannot be given together");
  if (o.autoMode && o.inputPaths.empty()) return Fail("mode auto needs --input FILE");
  if (modeGiven && !o.autoMode)
    if (auto error = CheckExplicitScale(o, {o.mode})) return Fail(std::move(*error));
  result.options.modeGiven = modeGiven;
  return result;
}

std::string OptionSynopsis(UsageCommand command) {
  if (command == UsageCommand::Chart) {
    std::string line;
    for (const OptionRule& rule : ChartOptionRules())
      if (!rule.valueName.empty()) line += " [" + std::string(rule.name) + " " + std::string(rule.valueName) + "]";
    return line;
  }
  constexpr unsigned kBits[] = {kLevelsBit, 0, kConfluenceBit, kBatchBit, kSwingsBit, kStatsBit, kScanBit, kPriceChartBit};
  const unsigned bit = kBits[static_cast<int>(command)];
  // "[--name VALUE]" for each option of the command, in table order.
  std::string line;
  for (const OptionRule& rule : kOptionRules) {
    if ((rule.commands & bit) == 0 || rule.valueName.empty()) continue;
    // MODE's price-file options have a usage line of their own.
    if (bit == kLevelsBit && (rule.name == "--input" || rule.name == "--change" || rule.name == "--leg")) continue;
    if (rule.name == "--wave") line += " --wave " + std::string(rule.valueName) + " ...";
    else if (rule.name == "--input" && bit != kBatchBit && bit != kLevelsBit)
      line += " --input " + std::string(rule.valueName) + (bit == kStatsBit ? " ..." : "");
    else line += " [" + std::string(rule.name) + " " + std::string(rule.valueName) + "]";
  }
  return line;
}

std::string OptionList() {
  // One line per option, the help texts in one column.
  std::vector<std::pair<std::string, std::string_view>> lines;
  const auto list = [&lines](const auto& rules) {
    for (const OptionRule& rule : rules) {
      std::string left = "  " + std::string(rule.name);
      if (!rule.valueName.empty())
        left += " " + std::string(rule.listedValue.empty() ? rule.valueName : rule.listedValue);
      lines.emplace_back(std::move(left), rule.help);
    }
  };
  list(kOptionRules);
  list(ChartOptionRules());
  list(kRatiosOptionRules);
  std::size_t column = 0;
  for (const auto& line : lines) column = std::max(column, line.first.size() + 1);
  std::string options;
  for (auto& [left, help] : lines) {
    left.resize(column, ' ');
    options += left + std::string(help) + "\n";
  }
  return options;
}

}  // namespace tavimo::cli
