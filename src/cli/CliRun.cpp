#include "cli/CliRun.h"

#include "calc/ComputeCommand.h"
#include "calc/LevelText.h"
#include "calc/LevelView.h"
#include "calc/RatioList.h"
#include "settings/SettingsFile.h"
#include "chart/Series.h"
#include "cli/ChartOutput.h"
#include "cli/CliBatch.h"
#include "cli/CliConfluence.h"
#include "cli/CliRatios.h"
#include "platform/ProfileFile.h"
#include "runtime/ErrorText.h"
#include "runtime/Exceptions.h"

namespace tavimo::cli {

namespace {

// The printed marks are the chart's value marks.
static_assert(kLevelMarkPattern == std::string_view(chart::kDefaultValueFormat));

// --png and --layout: the chart after the command (levels, with the marks'
// texts when a tick gave them) or at start-up (none).
CliResult WithChart(const CliOptions& options, const RatioList& ratios, const LevelView* view,
                    std::string levelLines) {
  ChartRequest request;
  request.width = options.chartWidth;
  request.height = options.chartHeight;
  request.scale = options.chartScale;
  request.pngPath = options.pngPath;
  request.layout = options.layout;
  std::vector<double> levels;
  std::vector<std::string> marks;
  if (view != nullptr) {
    for (const LevelRow& row : view->rows) {
      levels.push_back(row.level);
      if (view->tickedMarks) marks.push_back(row.mark);
    }
  }
  ChartOutcome chart = RenderChart(request, ratios, view != nullptr ? &levels : nullptr, marks);
  if (chart.error) return FailedRun(std::move(*chart.error));
  // A picture on standard output is all that goes there.
  if (options.pngPath == kStandardOutput) return {kExitDone, std::move(chart.png), {}};
  return {kExitDone, options.layout ? std::move(chart.layoutJson) : std::move(levelLines), {}};
}

// MODE: the levels of one wave.
CliResult RunLevels(const CliOptions& options) {
  const RatioList ratios = CliRatioList(options);
  const bool chart = options.pngPath || options.layout;
  if (!options.modeGiven) return WithChart(options, ratios, nullptr, {});
  // Everything is formatted before anything is printed: all levels or none.
  const LevelView view = ViewLevels(
      ComputeRequest{options.mode, options.lowText, options.highText, options.fromText, LevelScale::Linear}, ratios,
      ResolveLevelPresentation(options));
  if (view.emptyBoxMessage) return FailedRun(std::string(*view.emptyBoxMessage));
  std::string lines = FormatLevelRows(options.format, view.rows);
  if (chart) return WithChart(options, ratios, &view, std::move(lines));
  return {kExitDone, std::move(lines), {}};
}

}  // namespace

CliResult FailedRun(std::string message) { return {kExitFailed, {}, std::move(message) + "\n"}; }

RatioList CliRatioList(const CliOptions& options) {
  if (options.ratiosText) return RatioListFromStoredText(platform::ProfileValueText(*options.ratiosText));
  return ReadRatioList(SettingsFilePath());
}

LevelPresentation ResolveLevelPresentation(const CliOptions& options) {
  LevelSettings stored;
  if (!options.tickText || !options.scale) stored = ReadLevelSettings(SettingsFilePath());
  LevelPresentation shown;
  shown.rounding = options.rounding;
  const std::string& tickText = options.tickText ? *options.tickText : stored.tickText;
  if (!tickText.empty()) shown.tick.emplace(tickText);
  // An explicit --scale-levels log with rise or decline never gets here (a usage error).
  shown.scale = options.scale.value_or(stored.scale);
  return shown;
}

CliResult RunCliOptions(const CliOptions& options, const CliStreams& streams) {
  if (options.help) return {kExitDone, UsageText(), {}};
  try {
    switch (options.command) {
      case CliCommand::Ratios: return RunRatiosCommand(options);
      case CliCommand::Confluence: return RunConfluenceCommand(options);
      case CliCommand::Batch: return RunBatchCommand(options, streams);
      case CliCommand::Levels: break;
    }
    return RunLevels(options);
  } catch (const Exception& error) {
    return FailedRun(ErrorBoxText(error.Message()));
  } catch (const std::exception& error) {
    return FailedRun("tavimo-cli: " + std::string(error.what()));
  }
}

CliResult RunCli(const std::vector<std::string>& arguments, const CliStreams& streams) {
  try {
    const CliParseResult parsed = ParseCliArguments(arguments);
    if (parsed.usageError) return {kExitUsage, {}, "tavimo-cli: " + *parsed.usageError + "\n\n" + UsageText()};
    return RunCliOptions(parsed.options, streams);
  } catch (const std::exception& error) {
    return FailedRun("tavimo-cli: " + std::string(error.what()));
  }
}

}  // namespace tavimo::cli
