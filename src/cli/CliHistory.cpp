#include "cli/CliHistory.h"

#include <algorithm>
#include <cstdlib>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>

#include "calc/LevelText.h"
#include "chart/CandleSeries.h"
#include "cli/ChartOutput.h"
#include "history/PriceFile.h"
#include "history/PriceTime.h"
#include "history/Reactions.h"
#include "history/Scan.h"
#include "history/Swings.h"
#include "pricechart/PriceChartContent.h"
#include "runtime/CsvWriter.h"
#include "runtime/ErrorText.h"
#include "runtime/Exceptions.h"
#include "runtime/Json.h"
#include "runtime/Messages.h"
#include "runtime/NumberFormatSettings.h"

namespace tavimo::cli {

namespace {

// One file read: its bars, or the message that ends its use; its bad-row
// and duplicate lines, each on a line of its own.
struct LoadedFile {
  PriceFileResult prices;
  std::string failure;  // empty when the bars can be used
  std::string messages;
  bool badRows = false;
};

LoadedFile LoadFile(const std::string& path, bool named) {
  PriceFileRead read = ReadPriceFile(path);
  LoadedFile loaded;
  const std::string prefix = named ? path + ": " : std::string();
  for (const std::string& line : read.result.badRows) loaded.messages += prefix + line + "\n";
  for (const std::string& line : read.result.duplicates) loaded.messages += prefix + line + "\n";
  loaded.badRows = !read.result.badRows.empty();
  if (!read.error.empty()) loaded.failure = read.error.starts_with("cannot read") ? "tavimo-cli: " + read.error : read.error;
  loaded.prices = std::move(read.result);
  return loaded;
}

SwingChange ChangeOf(const CliOptions& options) {
  return SwingChange(options.changeText.value_or(std::string(kDefaultChangeText)), GlobalNumberFormatSettings());
}

std::vector<SwingPoint> SwingsOf(const PriceBars& bars, const SwingChange& change) {
  return FindSwings(bars.high.data(), bars.low.data(), bars.Size(), change);
}

CliResult Finished(std::string out, std::string err, bool badRows) {
  return {badRows ? kExitFailed : kExitDone, std::move(out), std::move(err)};
}

void AppendLine(std::string& out, std::initializer_list<std::string_view> fields, OutputFormat format) {
  bool first = true;
  for (std::string_view field : fields) {
    if (!first) out += format == OutputFormat::Csv ? ',' : '\t';
    first = false;
    if (format == OutputFormat::Csv) AppendCsvField(out, field);
    else out += field;
  }
  out += format == OutputFormat::Csv ? "\r\n" : "\n";
}

}  // namespace

CliResult RunSwingsCommand(const CliOptions& options) {
  const SwingChange change = ChangeOf(options);
  LoadedFile file = LoadFile(options.inputPaths.front(), false);
  if (!file.failure.empty()) return {kExitFailed, {}, file.messages + file.failure + "\n"};
  const PriceBars& bars = file.prices.bars;
  const TimeTextForm form = file.prices.timeForm;
  const std::vector<SwingPoint> points = SwingsOf(bars, change);
  std::string out;
  if (options.format == OutputFormat::Json) {
    JsonWriter json(JsonSpacing::Spaced);
    json.BeginObject().Key("change").Number(change.Value()).Key("points").BeginArrayOfLines();
    for (const SwingPoint& point : points) {
      json.BeginObject().Key("time").String(TimeText(bars.time[point.bar], form));
      json.Key("kind").String(SwingKindName(point.kind)).Key("price").Number(point.price).Key("confirmed");
      if (point.confirmed) json.String(TimeText(bars.time[point.confirmedBar], form));
      else json.Null();
      json.EndObject();
    }
    out = json.EndArray().EndObject().Text() + "\n";
  } else {
    if (options.format == OutputFormat::Csv) out = "time,kind,price,confirmed\r\n";
    for (const SwingPoint& point : points) {
      const std::string confirmed = point.confirmed ? TimeText(bars.time[point.confirmedBar], form) : std::string();
      AppendLine(out,
                 {TimeText(bars.time[point.bar], form), SwingKindName(point.kind), ShortestText(point.price), confirmed},
                 options.format);
    }
  }
  return Finished(std::move(out), std::move(file.messages), file.badRows);
}

CliResult RunStatsCommand(const CliOptions& options, const StoredSettings& stored) {
  const SwingChange change = ChangeOf(options);
  const ReactionTolerance tolerance(options.toleranceText.value_or(std::string(kDefaultToleranceText)),
                                    GlobalNumberFormatSettings());
  ReactionStats stats = EmptyReactionStats(CliRatioList(options, stored));
  std::string err;
  bool failed = false;
  const bool named = options.inputPaths.size() > 1;
  for (const std::string& path : options.inputPaths) {
    LoadedFile file = LoadFile(path, named);
    err += file.messages;
    failed = failed || file.badRows;
    if (!file.failure.empty()) {
      if (!named) return {kExitFailed, {}, err + file.failure + "\n"};
      err += file.failure + "\n";
      failed = true;
      continue;
    }
    AddReactions(SwingsOf(file.prices.bars, change), tolerance, stats);
  }
  std::string out;
  if (options.pngPath) {
    // The histogram of the depths: bins of 2T from 0 (0.02 for T = 0), a line at each ratio.
    chart::DepthHistogramInput histogram{stats.depths, tolerance.Value() > 0 ? 2 * tolerance.Value() : 0.02, {}};
    for (const RatioReaction& ratio : stats.ratios) histogram.ratios.push_back({ratio.ratio, ratio.value});
    ChartOutcome picture = RenderHistogram(PictureRequest(options), histogram);
    if (picture.error) return {kExitFailed, {}, err + *picture.error + "\n"};
    if (*options.pngPath == kStandardOutput) return Finished(std::move(picture.png), std::move(err), failed);
  }
  if (options.format == OutputFormat::Json) {
    JsonWriter json(JsonSpacing::Spaced);
    json.BeginObject().Key("change").Number(change.Value()).Key("tolerance").Number(tolerance.Value());
    json.Key("legs").Int(static_cast<long long>(stats.legs)).Key("ratios").BeginArrayOfLines();
    const auto share = [&json](std::uint64_t part, std::uint64_t whole) {
      if (whole == 0) json.Null();
      else json.NumberText(ShareText(part, whole));
    };
    for (const RatioReaction& ratio : stats.ratios) {
      json.BeginObject().Key("ratio").String(ratio.ratio).Key("hits").Int(static_cast<long long>(ratio.hits));
      json.Key("share");
      share(ratio.hits, stats.legs);
      json.Key("resumed").Int(static_cast<long long>(ratio.resumed));
      json.Key("decided").Int(static_cast<long long>(ratio.decided)).Key("resumed_share");
      share(ratio.resumed, ratio.decided);
      json.EndObject();
    }
    out = json.EndArray().EndObject().Text() + "\n";
  } else {
    if (options.format == OutputFormat::Csv) out = "ratio,hits,legs,share,resumed,decided,resumed_share\r\n";
    const std::string legs = std::to_string(stats.legs);
    for (const RatioReaction& ratio : stats.ratios)
      AppendLine(out,
                 {ratio.ratio, std::to_string(ratio.hits), legs, ShareText(ratio.hits, stats.legs),
                  std::to_string(ratio.resumed), std::to_string(ratio.decided),
                  ShareText(ratio.resumed, ratio.decided)},
                 options.format);
  }
  return Finished(std::move(out), std::move(err), failed);
}

CliResult RunScanCommand(const CliOptions& options, const StoredSettings& stored) {
  const SwingChange change = ChangeOf(options);
  const RatioList ratios = CliRatioList(options, stored);
  const LevelPresentation shown = ResolveLevelPresentation(options, stored);
  ParseRatioValues(ratios);  // a bad entry ends the run before any file is read
  const std::size_t count = options.inputPaths.size();
  const bool named = count > 1;
  struct Outcome {
    std::optional<ScanRow> row;
    std::string messages;
    bool failed = false;
  };
  std::vector<Outcome> outcomes(count);
  std::atomic<std::size_t> next{0};
  // Every file on its own: read, swings, levels; the lines keep the order given.
  const auto work = [&] {
    for (std::size_t i; (i = next.fetch_add(1)) < count;) {
      Outcome& outcome = outcomes[i];
      LoadedFile file = LoadFile(options.inputPaths[i], named);
      outcome.messages = std::move(file.messages);
      outcome.failed = file.badRows;
      if (!file.failure.empty()) {
        outcome.messages += file.failure + "\n";
        outcome.failed = true;
        continue;
      }
      try {
        outcome.row = ScanPrices(options.inputPaths[i], file.prices, change, ratios, shown);
      } catch (const Exception& error) {
        outcome.messages += (named ? options.inputPaths[i] + ": " : std::string()) + ErrorBoxText(error.Message()) + "\n";
        outcome.failed = true;
      }
    }
  };
  // What goes wrong beyond one file's content (out of memory) ends the run,
  // raised again on this thread rather than on a worker.
  std::exception_ptr failure;
  std::mutex failureLock;
  const auto guarded = [&] {
    try {
      work();
    } catch (...) {
      const std::lock_guard lock(failureLock);
      if (!failure) failure = std::current_exception();
      next = count;
    }
  };
  const std::size_t threads = std::min<std::size_t>(count, std::max(1u, std::thread::hardware_concurrency()));
  std::vector<std::jthread> pool;
  for (std::size_t t = 1; t < threads; ++t) pool.emplace_back(guarded);
  guarded();
  pool.clear();
  if (failure) std::rethrow_exception(failure);

  std::string out, err;
  bool failed = false;
  JsonWriter json(JsonSpacing::Spaced);
  json.BeginArrayOfLines();
  if (options.format == OutputFormat::Csv) out = "file,bars,last_time,close,leg,low,high,mode,ratio,level,distance\r\n";
  for (const Outcome& outcome : outcomes) {
    err += outcome.messages;
    failed = failed || outcome.failed;
    if (!outcome.row) continue;
    const ScanRow& r = *outcome.row;
    if (options.format != OutputFormat::Json) {
      AppendLine(out,
                 {r.file, std::to_string(r.bars), r.lastTime, r.close, r.leg, r.low, r.high, r.mode, r.ratio, r.level,
                  r.distance},
                 options.format);
      continue;
    }
    // "-" has no place in JSON: a field without a value is null there.
    const auto text = [&json](const std::string& value) { value == "-" ? json.Null() : json.String(value); };
    const auto number = [&json](const std::string& value) { value == "-" ? json.Null() : json.NumberText(value); };
    json.BeginObject().Key("file").String(r.file).Key("bars").Int(static_cast<long long>(r.bars));
    json.Key("last_time").String(r.lastTime).Key("close");
    number(r.close);
    json.Key("leg");
    text(r.leg);
    json.Key("low");
    number(r.low);
    json.Key("high");
    number(r.high);
    json.Key("mode");
    text(r.mode);
    json.Key("ratio");
    text(r.ratio);
    json.Key("level");
    text(r.level);
    json.Key("distance");
    number(r.distance);
    json.EndObject();
  }
  if (options.format == OutputFormat::Json) out = json.EndArray().Text() + "\n";
  return Finished(std::move(out), std::move(err), failed);
}

// A --from/--to time; a date alone stands for its whole day at the end of a span.
std::optional<std::int64_t> SpanTime(const std::string& text, bool end) {
  const std::optional<std::int64_t> time = ParsePriceTime(text);
  if (!time) return std::nullopt;
  const bool dateOnly = text.find(':') == std::string::npos && !IsEpochText(text);
  return end && dateOnly ? *time + 86399 : *time;
}

// The candle colours of the user's language: English for an English locale
// (LC_ALL, then LC_MESSAGES, then LANG), the Chinese convention otherwise.
pricechart::CandleColors EnvironmentCandleColors() {
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') return pricechart::CandleColorsFor(pricechart::IsEnglishLocaleName(value), false);
  }
  return pricechart::CandleColorsFor(false, false);
}

CliResult RunChartCommand(const CliOptions& options, const StoredSettings& stored) {
  const SwingChange change = ChangeOf(options);
  const RatioList ratios = CliRatioList(options, stored);
  const LevelPresentation shown = ResolveLevelPresentation(options, stored);
  std::optional<std::int64_t> from, to;
  if (options.spanFromText && !(from = SpanTime(*options.spanFromText, false)))
    return {kExitFailed, {}, "Invalid time " + messages::QuotedText(*options.spanFromText) + ".\n"};
  if (options.spanToText && !(to = SpanTime(*options.spanToText, true)))
    return {kExitFailed, {}, "Invalid time " + messages::QuotedText(*options.spanToText) + ".\n"};
  const std::string& path = options.inputPaths.front();
  LoadedFile file = LoadFile(path, false);
  if (!file.failure.empty()) return {kExitFailed, {}, file.messages + file.failure + "\n"};
  const PriceBars& bars = file.prices.bars;
  const std::optional<pricechart::BarSpan> span = pricechart::BarsBetween(bars.time, from, to);
  if (!span)
    return {kExitFailed, {}, file.messages + "No price bars from " + options.spanFromText.value_or("the first") +
                                 " to " + options.spanToText.value_or("the last") + " in " + messages::QuotedText(path) + ".\n"};
  const std::vector<SwingPoint> points = SwingsOf(bars, change);
  PriceChartPicture picture;
  picture.bars = {bars.time, bars.open, bars.high, bars.low, bars.close};
  picture.firstBar = span->first;
  picture.lastBar = span->last;
  picture.zigzag = pricechart::ChartZigzag(points);
  picture.openLast = pricechart::LastPointOpen(points);
  if (const std::optional<SwingLeg> leg = LegOf(points, options.legNumber)) {
    const LevelView view = ViewLevels(
        ComputeRequest{leg->mode, PriceBoxText(leg->low), PriceBoxText(leg->high), {}, LevelScale::Linear}, ratios, shown);
    picture.levels = pricechart::ChartLevelLines(view, static_cast<int>(leg->from.bar));
  }
  const pricechart::CandleColors colors = EnvironmentCandleColors();
  picture.rising = colors.rising;
  picture.falling = colors.falling;
  ChartOutcome outcome = RenderPriceChart(PictureRequest(options), picture);
  if (outcome.error) return {kExitFailed, {}, file.messages + *outcome.error + "\n"};
  return Finished(std::move(outcome.png), std::move(file.messages), file.badRows);
}

LegWave WaveFromLeg(const CliOptions& options) {
  LegWave wave;
  const SwingChange change = ChangeOf(options);
  const std::string& path = options.inputPaths.front();
  LoadedFile file = LoadFile(path, false);
  wave.messages = std::move(file.messages);
  wave.badRows = file.badRows;
  if (!file.failure.empty()) {
    wave.failure = {kExitFailed, {}, wave.messages + file.failure + "\n"};
    return wave;
  }
  const std::optional<SwingLeg> leg = LegOf(SwingsOf(file.prices.bars, change), options.legNumber);
  if (!leg) {
    wave.failure = {kExitFailed, {}, wave.messages + "No leg " + std::to_string(options.legNumber) + " in " +
                                         messages::QuotedText(path) + ".\n"};
    return wave;
  }
  CliOptions withLeg = options;
  withLeg.lowText = PriceBoxText(leg->low);
  withLeg.highText = PriceBoxText(leg->high);
  if (options.autoMode) withLeg.mode = leg->mode;
  wave.options = std::move(withLeg);
  return wave;
}

}  // namespace tavimo::cli
