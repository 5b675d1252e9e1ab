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
#include "cli/CliHistory.h"
#include "cli/CliRatios.h"
#include "cli/Usage.h"
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
  ChartRequest request = PictureRequest(options);
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
CliResult RunLevels(const CliOptions& options, const StoredSettings& stored) {
  const RatioList ratios = CliRatioList(options, stored);
  const bool chart = options.pngPath || options.layout;
  if (!options.modeGiven) return WithChart(options, ratios, nullptr, {});
  // Everything is formatted before anything is printed: all levels or none.
  const LevelView view = ViewLevels(
      ComputeRequest{options.mode, options.lowText, options.highText, options.fromText, LevelScale::Linear}, ratios,
      ResolveLevelPresentation(options, stored));
  if (view.emptyBoxMessage) return FailedRun(std::string(*view.emptyBoxMessage));
  std::string lines = FormatLevelRows(options.format, view.rows);
  if (chart) return WithChart(options, ratios, &view, std::move(lines));
  return {kExitDone, std::move(lines), {}};
}

}  // namespace

ChartRequest PictureRequest(const CliOptions& options) {
  ChartRequest request;
  request.width = options.chartWidth;
  request.height = options.chartHeight;
  request.scale = options.chartScale;
  request.pngPath = options.pngPath;
  return request;
}

CliResult FailedRun(std::string message) { return {kExitFailed, {}, std::move(message) + "\n"}; }

RatioList CliRatioList(const CliOptions& options, const StoredSettings& stored) {
  if (options.ratiosText) return RatioListFromStoredText(platform::ProfileValueText(*options.ratiosText));
  return RatioListFromStoredText(stored.ratioText);
}

LevelPresentation ResolveLevelPresentation(const CliOptions& options, const StoredSettings& stored) {
  LevelPresentation shown;
  shown.rounding = options.rounding;
  const std::string& tickText = options.tickText ? *options.tickText : stored.level.tickText;
  if (!tickText.empty()) shown.tick.emplace(tickText);
  // An explicit --scale-levels log with rise or decline never gets here (a usage error).
  shown.scale = options.scale.value_or(stored.level.scale);
  return shown;
}

namespace {

// Whether the run leaves anything to data.ini: the list, the tick or the scale.
bool NeedsStoredSettings(const CliOptions& options) {
  if (options.command == CliCommand::Ratios) return !options.setRatiosText && !options.resetRatios;
  if (options.command == CliCommand::Swings) return false;
  if (options.command == CliCommand::Stats) return !options.ratiosText;
  return !options.ratiosText || !options.tickText || !options.scale;
}

CliResult RunCommand(const CliOptions& options, const StoredSettings& stored, const CliStreams& streams) {
  switch (options.command) {
    case CliCommand::Ratios: return RunRatiosCommand(options, stored);
    case CliCommand::Confluence: return RunConfluenceCommand(options, stored);
    case CliCommand::Batch: return RunBatchCommand(options, stored, streams);
    case CliCommand::Swings: return RunSwingsCommand(options);
    case CliCommand::Stats: return RunStatsCommand(options, stored);
    case CliCommand::Scan: return RunScanCommand(options, stored);
    case CliCommand::Chart: return RunChartCommand(options, stored);
    case CliCommand::Levels: break;
  }
  if (options.inputPaths.empty()) return RunLevels(options, stored);
  // MODE --input: the wave of a leg, then exactly what MODE prints for it.
  LegWave wave = WaveFromLeg(options);
  if (!wave.options) return wave.failure;
  CliResult result = RunLevels(*wave.options, stored);
  result.err.insert(0, wave.messages);
  if (wave.badRows && result.exitStatus == kExitDone) result.exitStatus = kExitFailed;
  return result;
}

}  // namespace

CliResult RunCliOptions(const CliOptions& options, const CliStreams& streams) {
  if (options.help) return {kExitDone, UsageText(), {}};
  try {
    StoredSettings stored;
    stored.ratioText = DefaultRatioText;
    std::string warning;
    if (NeedsStoredSettings(options)) {
      const std::string path = SettingsFilePath();
      stored = ReadStoredSettings(path);
      // Computing with other ratios than the user stored must not pass silently.
      if (!options.ratiosText) warning = UnreadableSettingsWarning(path, stored);
    }
    if (warning.empty()) return RunCommand(options, stored, streams);
    warning = "tavimo-cli: " + warning + "\n";
    if (streams.errors != nullptr) *streams.errors << warning << std::flush;
    CliResult result = RunCommand(options, stored, streams);
    if (streams.errors == nullptr) result.err.insert(0, warning);
    return result;
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
