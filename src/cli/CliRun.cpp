#include "cli/CliRun.h"

#include "calc/ComputeCommand.h"
#include "calc/RatioList.h"
#include "cli/CliOutput.h"
#include "runtime/ErrorText.h"
#include "runtime/Exceptions.h"

namespace tavimo::cli {

namespace {

CliResult Failed(std::string message) { return {kExitFailed, {}, std::move(message) + "\n"}; }

// Without --ratios the list comes from the settings file, exactly as the
// window loads it; a given text is taken as a stored text would be.
RatioList RatioListFor(const CliOptions& options) {
  if (options.ratiosText) return RatioListFromStoredText(*options.ratiosText);
  return ReadRatioList(SettingsFilePath());
}

}  // namespace

CliResult RunCliOptions(const CliOptions& options) {
  if (options.help) return {kExitDone, UsageText(), {}};
  try {
    const RatioList ratios = RatioListFor(options);
    const ComputeOutcome outcome = RunCompute(options.mode, options.lowText, options.highText, ratios);
    if (outcome.emptyBoxMessage) return Failed(std::string(*outcome.emptyBoxMessage));
    // Everything is formatted before anything is printed: all levels or none.
    return {kExitDone, FormatLevelRows(options.format, MakeLevelRows(ratios, outcome.levels)), {}};
  } catch (const Exception& error) {
    return Failed(ErrorBoxText(error.Message()));
  } catch (const std::exception& error) {
    return Failed("tavimo-cli: " + std::string(error.what()));
  }
}

CliResult RunCli(const std::vector<std::string>& arguments) {
  try {
    const CliParseResult parsed = ParseCliArguments(arguments);
    if (parsed.usageError) return {kExitUsage, {}, "tavimo-cli: " + *parsed.usageError + "\n\n" + UsageText()};
    return RunCliOptions(parsed.options);
  } catch (const std::exception& error) {
    return Failed("tavimo-cli: " + std::string(error.what()));
  }
}

}  // namespace tavimo::cli
