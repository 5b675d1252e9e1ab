#include "cli/CliRun.h"

#include "calc/ComputeCommand.h"
#include "calc/LevelText.h"
#include "calc/RatioList.h"
#include "calc/SettingsFile.h"
#include "chart/Series.h"
#include "cli/ChartOutput.h"
#include "cli/CliRatios.h"
#include "platform/ProfileFile.h"
#include "runtime/ErrorText.h"
#include "runtime/Exceptions.h"

namespace tavimo::cli {

namespace {

// The printed marks are the chart's value marks.
static_assert(kLevelMarkPattern == std::string_view(chart::kDefaultValueFormat));

CliResult Failed(std::string message) { return {kExitFailed, {}, std::move(message) + "\n"}; }

// Without --ratios the list comes from the settings file, exactly as the
// window loads it; a given text is taken as the same text stored there would
// be read: trimmed and unquoted, so a blank text is the default list too.
RatioList RatioListFor(const CliOptions& options) {
  if (options.ratiosText) return RatioListFromStoredText(platform::ProfileValueText(*options.ratiosText));
  return ReadRatioList(SettingsFilePath());
}

// --png and --layout: the chart after the command (levels) or at start-up (none).
CliResult WithChart(const CliOptions& options, const RatioList& ratios, const LevelTable* levels,
                    std::string levelLines) {
  ChartRequest request;
  request.width = options.chartWidth;
  request.height = options.chartHeight;
  request.scale = options.chartScale;
  request.pngPath = options.pngPath;
  request.layout = options.layout;
  ChartOutcome chart = RenderChart(request, ratios, levels);
  if (chart.error) return Failed(std::move(*chart.error));
  // A picture on standard output is all that goes there.
  if (options.pngPath == kStandardOutput) return {kExitDone, std::move(chart.png), {}};
  return {kExitDone, options.layout ? std::move(chart.layoutJson) : std::move(levelLines), {}};
}

}  // namespace

CliResult RunCliOptions(const CliOptions& options) {
  if (options.help) return {kExitDone, UsageText(), {}};
  try {
    if (options.ratiosCommand) return RunRatiosCommand(options);
    const RatioList ratios = RatioListFor(options);
    const bool chart = options.pngPath || options.layout;
    if (!options.modeGiven) return WithChart(options, ratios, nullptr, {});
    const ComputeOutcome outcome = RunCompute(options.mode, options.lowText, options.highText, ratios);
    if (outcome.emptyBoxMessage) return Failed(std::string(*outcome.emptyBoxMessage));
    // Everything is formatted before anything is printed: all levels or none.
    std::string lines = FormatLevelRows(options.format, MakeLevelRows(ratios, outcome.levels));
    if (chart) return WithChart(options, ratios, &outcome.levels, std::move(lines));
    return {kExitDone, std::move(lines), {}};
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
