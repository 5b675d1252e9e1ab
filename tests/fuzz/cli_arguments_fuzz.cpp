// tavimo-cli's command line from arbitrary bytes: the words are the pieces
// between NUL bytes. Checked: parsing and running never raise; the exit
// status is 0, 1 or 2 and output comes only with 0; the run agrees with the
// compute command run directly on the same texts, whose only failures are
// the conversion and arithmetic errors with their exact messages; every
// level is the mode's formula on the entry's value; json output is UTF-8.
// A --png file is never written: the option is dropped before the run.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "calc/ComputeCommand.h"
#include "calc/RatioList.h"
#include "calc/SettingsFile.h"
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
bool IsComputeMessage(const Exception& error, const cli::CliOptions& options, const RatioList& ratios) {
  using namespace messages;
  const std::string& message = error.Message();
  if (dynamic_cast<const EZeroDivide*>(&error)) return message == kZeroDivide;
  if (dynamic_cast<const EInvalidOp*>(&error)) return message == kInvalidOp;
  if (dynamic_cast<const EOverflow*>(&error)) return message == kOverflow;
  if (!dynamic_cast<const EConvertError*>(&error)) return false;
  if (message == FormatMessage(kInvalidFloat, options.lowText) ||
      message == FormatMessage(kInvalidFloat, options.highText))
    return true;
  for (const std::string& entry : ratios) {
    const std::size_t slash = entry.find('/');
    if (slash == std::string::npos ? message == FormatMessage(kInvalidFloat, entry)
                                   : message == FormatMessage(kInvalidInteger, entry.substr(0, slash)) ||
                                         message == FormatMessage(kInvalidInteger, entry.substr(slash + 1)))
      return true;
  }
  return false;
}

double ExpectedLevel(ComputeMode mode, double low, double high, long double r) {
  const long double d = static_cast<long double>(high) - low;
  switch (mode) {
    case ComputeMode::Rise: return r >= 1.0L ? 0.0 : StoreAsDouble((r + 1.0L) * low);
    case ComputeMode::Decline: return r >= 1.0L ? 0.0 : StoreAsDouble((1.0L - r) * high);
    case ComputeMode::Resistance: return StoreAsDouble(low + r * d);
    case ComputeMode::Support: return StoreAsDouble(high - r * d);
    // Without a third price on the command line a projection answers the
    // empty-box message and never gets here.
    case ComputeMode::ProjectionUp:
    case ComputeMode::ProjectionDown: break;
  }
  return 0.0;
}

void CheckAgainstCompute(const cli::CliOptions& options, const cli::CliResult& result, const std::string& note) {
  // tavimo-cli reads --ratios as a stored value is read (blanks and one pair of quotes dropped).
  const RatioList ratios = options.ratiosText ? RatioListFromStoredText(platform::ProfileValueText(*options.ratiosText))
                                              : ReadRatioList(SettingsFilePath());
  ComputeOutcome outcome;
  try {
    outcome = RunCompute(options.mode, options.lowText, options.highText, ratios);
  } catch (const Exception& error) {
    TAVIMO_FUZZ_CHECK(IsComputeMessage(error, options, ratios), note + " | " + error.Message());
    TAVIMO_FUZZ_CHECK(result.exitStatus == cli::kExitFailed && result.err == ErrorBoxText(error.Message()) + "\n",
                      note + " | " + result.err);
    return;
  }
  if (outcome.emptyBoxMessage) {
    TAVIMO_FUZZ_CHECK(result.exitStatus == cli::kExitFailed && result.err == std::string(*outcome.emptyBoxMessage) + "\n",
                      note);
    return;
  }
  TAVIMO_FUZZ_CHECK(result.exitStatus == cli::kExitDone && result.err.empty(), note + " | " + result.err);
  TAVIMO_FUZZ_CHECK(outcome.levels.size() == ratios.size(), note);
  const bool needsLow = options.mode != ComputeMode::Decline;
  const bool needsHigh = options.mode != ComputeMode::Rise;
  const double low = needsLow ? StoreAsDouble(ParseFloatText(options.lowText)) : 0.0;
  const double high = needsHigh ? StoreAsDouble(ParseFloatText(options.highText)) : 0.0;
  for (std::size_t i = 0; i < ratios.size(); ++i) {
    const double expected = ExpectedLevel(options.mode, low, high, ParseRatio(ratios[i]));
    TAVIMO_FUZZ_CHECK(outcome.levels[i] == expected, note + " | entry " + ratios[i]);
  }
  if (options.format == OutputFormat::Json) TAVIMO_FUZZ_CHECK(IsUtf8(result.out), note + " | " + result.out);
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
  if (!options.modeGiven) return 0;
  const cli::CliResult result = cli::RunCliOptions(options);
  TAVIMO_FUZZ_CHECK(result.exitStatus == cli::kExitDone || result.exitStatus == cli::kExitFailed, note);
  TAVIMO_FUZZ_CHECK(result.exitStatus == cli::kExitDone || result.out.empty(), note);
  if (options.help) {
    TAVIMO_FUZZ_CHECK(result.exitStatus == cli::kExitDone && result.out == cli::UsageText(), note);
    return 0;
  }
  CheckAgainstCompute(options, result, note);
  return 0;
}
