// tavimo-cli's command line from arbitrary bytes: the words are the pieces
// between NUL bytes. Checked: parsing and running never raise; the exit
// status is 0, 1 or 2 and output comes only with 0; the run agrees with the
// compute command run directly on the same texts, with the tick and scale in
// effect, whose only failures are the conversion, tick, log-scale and
// arithmetic errors with their exact messages; every level is the mode's
// formula on the entry's value (the log scale's within a close bound); with a
// tick the output holds the levels rounded to it; json output is UTF-8.
// Confluence and batch (on a fixed input) end in 0 or 1 with a message for
// every failure. A --png file is never written and --input never read: both
// are dropped before the run, and the ratios command, which writes the
// settings file, is not run.

#include <cmath>
#include <cstdint>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "calc/ComputeCommand.h"
#include "calc/LevelText.h"
#include "calc/PriceTick.h"
#include "calc/RatioList.h"
#include "settings/SettingsFile.h"
#include "cli/Usage.h"
#include "cli/CliArguments.h"
#include "cli/CliRun.h"
#include "platform/ProfileFile.h"
#include "runtime/ErrorText.h"
#include "runtime/Exceptions.h"
#include "runtime/FloatFaults.h"
#include "runtime/Messages.h"
#include "runtime/NumberParse.h"

namespace {

using namespace tavimo;

bool IsUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : (lead >> 3) == 30 ? 4 : 0;
    if (length == 0 || (length > 1 && lead < 0xC2) || i + length > text.size()) return false;
    for (std::size_t k = 1; k < length; ++k)
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    i += length;
  }
  return true;
}

// The message is one a price or a ratio entry can give.
bool IsComputeMessage(const Exception& error, const cli::CliOptions& options, LevelScale scale,
                      const RatioList& ratios) {
  using namespace messages;
  const std::string& message = error.Message();
  if (dynamic_cast<const EZeroDivide*>(&error)) return message == kZeroDivide;
  if (dynamic_cast<const EInvalidOp*>(&error)) return message == kInvalidOp;
  if (dynamic_cast<const EOverflow*>(&error)) return message == kOverflow;
  if (!dynamic_cast<const EConvertError*>(&error)) return false;
  if (message == FormatMessage(kInvalidFloat, options.lowText) ||
      message == FormatMessage(kInvalidFloat, options.highText) ||
      (IsProjectionMode(options.mode) && message == FormatMessage(kInvalidFloat, options.fromText)))
    return true;
  if (scale == LevelScale::Log && message == kLogScalePricesMessage) return true;
  for (const std::string& entry : ratios) {
    const std::size_t slash = entry.find('/');
    if (slash == std::string::npos ? message == FormatMessage(kInvalidFloat, entry)
                                   : message == FormatMessage(kInvalidInteger, entry.substr(0, slash)) ||
                                         message == FormatMessage(kInvalidInteger, entry.substr(slash + 1)))
      return true;
  }
  return false;
}

double ExpectedLevel(ComputeMode mode, const LevelPrices& p, long double r) {
  const long double d = static_cast<long double>(p.high) - p.low;
  switch (mode) {
    case ComputeMode::Rise: return r >= 1.0L ? 0.0 : StoreAsDouble((r + 1.0L) * p.low);
    case ComputeMode::Decline: return r >= 1.0L ? 0.0 : StoreAsDouble((1.0L - r) * p.high);
    case ComputeMode::Resistance: return StoreAsDouble(p.low + r * d);
    case ComputeMode::Support: return StoreAsDouble(p.high - r * d);
    case ComputeMode::ProjectionUp: return StoreAsDouble(p.from + r * d);
    case ComputeMode::ProjectionDown: return StoreAsDouble(p.from - r * d);
  }
  return 0.0;
}

// The log scale's level by the plain power: the careful formula stays within
// a few units of the double's last place of it. Left unchecked where the
// plain power itself loses that (large exponents, results beyond range).
bool NearLogLevel(ComputeMode mode, const LevelPrices& p, long double r, double level) {
  if (std::fabs(r) > 1000.0L) return true;
  const bool up = mode == ComputeMode::Resistance || mode == ComputeMode::ProjectionUp;
  const long double base = IsProjectionMode(mode) ? p.from : up ? p.low : p.high;
  const long double factor = up ? static_cast<long double>(p.high) / p.low : static_cast<long double>(p.low) / p.high;
  const long double plain = base * std::pow(factor, r);
  if (!std::isfinite(plain) || std::fabs(plain) > 1e307L) return true;
  return std::fabs(level - plain) <= 1e-12L * std::fabs(plain) + 1e-300L;
}

void CheckAgainstCompute(const cli::CliOptions& options, const cli::CliResult& result, const std::string& note) {
  // tavimo-cli reads --ratios as a stored value is read (blanks and one pair of quotes dropped).
  const RatioList ratios = options.ratiosText ? RatioListFromStoredText(platform::ProfileValueText(*options.ratiosText))
                                              : ReadRatioList(SettingsFilePath());
  // The tick and scale in effect: the options given, else the stored ones,
  // a stored log scale leaving rise and decline linear.
  const LevelSettings stored = ReadLevelSettings(SettingsFilePath());
  const std::string tickText = options.tickText.value_or(stored.tickText);
  LevelScale scale = options.scale.value_or(stored.scale);
  if (!options.scale && !LogScaleApplies(options.mode)) scale = LevelScale::Linear;
  TAVIMO_FUZZ_CHECK(scale == LevelScale::Linear || LogScaleApplies(options.mode), note);

  std::optional<PriceTick> tick;
  const auto expectFailure = [&](const Exception& error) {
    TAVIMO_FUZZ_CHECK(result.exitStatus == cli::kExitFailed && result.err == ErrorBoxText(error.Message()) + "\n",
                      note + " | " + result.err);
  };
  try {
    if (!tickText.empty()) tick.emplace(tickText);
  } catch (const Exception& error) {
    TAVIMO_FUZZ_CHECK(error.Message() == messages::FormatMessage(kInvalidTickMessage, tickText), note);
    expectFailure(error);
    return;
  }

  ComputeOutcome outcome;
  try {
    outcome = RunCompute(ComputeRequest{options.mode, options.lowText, options.highText, options.fromText, scale},
                         ratios);
  } catch (const Exception& error) {
    TAVIMO_FUZZ_CHECK(IsComputeMessage(error, options, scale, ratios), note + " | " + error.Message());
    expectFailure(error);
    return;
  }
  if (outcome.emptyBoxMessage) {
    TAVIMO_FUZZ_CHECK(result.exitStatus == cli::kExitFailed && result.err == std::string(*outcome.emptyBoxMessage) + "\n",
                      note);
    return;
  }
  TAVIMO_FUZZ_CHECK(outcome.levels.size() == ratios.size(), note);
  LevelPrices prices;
  if (NeedsLow(options.mode)) prices.low = StoreAsDouble(ParseFloatText(options.lowText));
  if (NeedsHigh(options.mode)) prices.high = StoreAsDouble(ParseFloatText(options.highText));
  if (NeedsFrom(options.mode)) prices.from = StoreAsDouble(ParseFloatText(options.fromText));
  for (std::size_t i = 0; i < ratios.size(); ++i) {
    const long double r = ParseRatio(ratios[i]);
    if (scale == LevelScale::Linear)
      TAVIMO_FUZZ_CHECK(outcome.levels[i] == ExpectedLevel(options.mode, prices, r), note + " | entry " + ratios[i]);
    else
      TAVIMO_FUZZ_CHECK(NearLogLevel(options.mode, prices, r, outcome.levels[i]), note + " | entry " + ratios[i]);
  }

  std::vector<LevelRow> rows;
  if (tick) {
    // Rounding to the tick fails only for a multiple too large for it or beyond the double range.
    try {
      rows = MakeLevelRows(ratios, outcome.levels, &*tick, options.rounding);
    } catch (const Exception& error) {
      TAVIMO_FUZZ_CHECK(error.Message() == messages::FormatMessage(kTickTooLargeMessage, tickText) ||
                            dynamic_cast<const EOverflow*>(&error) != nullptr,
                        note + " | " + error.Message());
      expectFailure(error);
      return;
    }
  } else {
    rows = MakeLevelRows(ratios, outcome.levels);
  }
  TAVIMO_FUZZ_CHECK(result.exitStatus == cli::kExitDone && result.err.empty(), note + " | " + result.err);
  TAVIMO_FUZZ_CHECK(result.out == FormatLevelRows(options.format, rows), note + " | " + result.out);
  if (options.format == OutputFormat::Json) TAVIMO_FUZZ_CHECK(IsUtf8(result.out), note + " | " + result.out);
}

// Confluence and batch: a status of 0 or 1, output only with 0 (batch writes
// the good rows whatever the status), a message with every 1.
void CheckCommand(const cli::CliOptions& options, const std::string& note) {
  std::istringstream input("low,high,from\n10,20,15\n1e308,-1e308,0\n\"2\",,3\n,,\n0.5,1,abc\n");
  cli::CliOptions run = options;
  run.inputPath = "-";
  const cli::CliResult result = cli::RunCliOptions(run, {&input, nullptr, nullptr});
  TAVIMO_FUZZ_CHECK(result.exitStatus == cli::kExitDone || result.exitStatus == cli::kExitFailed, note);
  if (result.exitStatus == cli::kExitDone) TAVIMO_FUZZ_CHECK(result.err.empty(), note + " | " + result.err);
  else TAVIMO_FUZZ_CHECK(!result.err.empty() && result.err.back() == '\n', note);
  if (options.command == cli::CliCommand::Confluence) {
    TAVIMO_FUZZ_CHECK(result.exitStatus == cli::kExitDone || result.out.empty(), note);
    if (options.format == OutputFormat::Json) TAVIMO_FUZZ_CHECK(IsUtf8(result.out), note + " | " + result.out);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tavimo::fuzz::ByteReader input(data, size);
  std::vector<std::string> words;
  while (!input.Empty() && words.size() < 64) words.emplace_back(input.Until('\0'));
  std::string note;
  for (const std::string& word : words) note += "[" + word + "] ";

  const cli::CliParseResult parsed = cli::ParseCliArguments(words);
  if (parsed.usageError) {
    const cli::CliResult result = cli::RunCli(words);
    TAVIMO_FUZZ_CHECK(result.exitStatus == cli::kExitUsage && result.out.empty(), note);
    TAVIMO_FUZZ_CHECK(result.err == "tavimo-cli: " + *parsed.usageError + "\n\n" + cli::UsageText(), note);
    return 0;
  }
  cli::CliOptions options = parsed.options;
  options.pngPath.reset();
  options.layout = false;
  if (options.command == cli::CliCommand::Ratios) return 0;
  if (options.help) {
    const cli::CliResult result = cli::RunCliOptions(options);
    TAVIMO_FUZZ_CHECK(result.exitStatus == cli::kExitDone && result.out == cli::UsageText(), note);
    return 0;
  }
  if (options.command != cli::CliCommand::Levels) {
    CheckCommand(options, note);
    return 0;
  }
  // A wave from a price file's leg: files are the price-file harness's to read, never this one's.
  if (!options.modeGiven || !options.inputPaths.empty()) return 0;
  const cli::CliResult result = cli::RunCliOptions(options);
  TAVIMO_FUZZ_CHECK(result.exitStatus == cli::kExitDone || result.exitStatus == cli::kExitFailed, note);
  TAVIMO_FUZZ_CHECK(result.exitStatus == cli::kExitDone || result.out.empty(), note);
  CheckAgainstCompute(options, result, note);
  return 0;
}
