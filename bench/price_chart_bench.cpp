// The price chart drawn on the raster canvas at 1920x1080 against a fill of
// the same frame: 1,000 bars in view with their zigzag and 16 level lines,
// and 1,000,000 bars zoomed out to all of them. And opening a file of a
// million bars as the window does before its first frame (read, swings,
// statistics, view, levels, paint) against reading it alone.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "BenchRatio.h"
#include "PriceHistoryInput.h"
#include "chart/CandleSeries.h"
#include "chart/PriceOverlays.h"
#include "chart/RasterCanvas.h"
#include "history/PriceFile.h"
#include "history/Reactions.h"
#include "history/Swings.h"
#include "pricechart/PriceChartContent.h"

namespace {

using namespace tavimo;
using namespace tavimo::chart;

constexpr int kWidth = 1920, kHeight = 1080;

void EnsureApplication() {
  static int argc = 1;
  static char name[] = "tavimo_price_chart_bench";
  static char* argv[] = {name, nullptr};
  if (QCoreApplication::instance() == nullptr) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    new QGuiApplication(argc, argv);
  }
}

// Bars of the benchmarks' walk, one a day.
PriceBars WalkBars(std::size_t count) {
  bench::PriceWalk walk(1);
  PriceBars bars;
  for (std::size_t i = 0; i < count; ++i) {
    const bench::WalkBar bar = walk.Next();
    bars.time.push_back(static_cast<std::int64_t>(i) * 86400);
    bars.open.push_back(bar.open);
    bars.high.push_back(bar.high);
    bars.low.push_back(bar.low);
    bars.close.push_back(bar.close);
    bars.volume.push_back(static_cast<double>(bar.volume));
  }
  return bars;
}

TPriceColumns ColumnsOf(const PriceBars& bars) { return {bars.time, bars.open, bars.high, bars.low, bars.close}; }

// 16 lines across the current leg, as the window shows them.
std::vector<TChartLevelLine> LevelLines(const std::vector<SwingPoint>& swings) {
  const std::optional<SwingLeg> leg = LegOf(swings, 1);
  std::vector<TChartLevelLine> lines;
  if (!leg) return lines;
  static const double kRatios[] = {0.191, 0.236, 1.0 / 3, 0.382, 0.5,   0.618, 2.0 / 3, 0.809,
                                   1,     1.191, 1.236,   1.382, 1.5,   1.618, 1.809,   2};
  for (int i = 0; i < 16; ++i) {
    const double level = leg->high - kRatios[i] * (leg->high - leg->low);
    lines.push_back({static_cast<int>(leg->from.bar), level, i, std::to_string(kRatios[i]).substr(0, 5) + "  " +
                                                              std::to_string(level).substr(0, 7)});
  }
  return lines;
}

struct PriceChartFixture {
  explicit PriceChartFixture(std::size_t count) : bars(WalkBars(count)) {
    view.SetBars(ColumnsOf(bars));
    view.FitAll();
    const std::vector<SwingPoint> swings = FindSwings(bars.high.data(), bars.low.data(), bars.Size(), SwingChange("5"));
    pivots = pricechart::ChartZigzag(swings);
    levels = LevelLines(swings);
    series.SetColors(kCandleRed, kCandleGreen);
  }
  void Paint() {
    const Rect bounds = canvas.SetupWindow(kWidth, kHeight);
    const TPriceChartLayout layout = DrawPriceChart(canvas, bounds, series, view, style);
    canvas.ClipTo(layout.plot);
    DrawLevelLines(canvas, layout.plot, view, levels, style.labelFont, style.background);
    DrawZigzag(canvas, layout.plot, view, pivots, true, {}, style.labelFont);
    canvas.ClearClip();
    canvas.ShowImage();
  }
  // The canvas needs the application for its fonts: made first.
  bool application = (EnsureApplication(), true);
  PriceBars bars;
  TPriceView view;
  TCandleSeries series;
  TPriceChartStyle style;
  TZigzag pivots;
  std::vector<TChartLevelLine> levels;
  TRasterCanvas canvas;
};

void BM_PriceChartFullPaint(benchmark::State& state) {
  PriceChartFixture f(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    f.Paint();
    benchmark::DoNotOptimize(f.canvas.Image().constBits());
  }
}

// The zoomed-out paint piece by piece, to see where its time goes.
void BM_PriceChartPieces(benchmark::State& state) {
  PriceChartFixture f(1000000);
  const int piece = static_cast<int>(state.range(0));
  for (auto _ : state) {
    const Rect bounds = f.canvas.SetupWindow(kWidth, kHeight);
    TPriceChartStyle style = f.style;
    TCandleSeries none;
    const TPriceChartLayout layout = DrawPriceChart(f.canvas, bounds, piece == 1 ? f.series : none, f.view, style);
    f.canvas.ClipTo(layout.plot);
    if (piece == 2) DrawZigzag(f.canvas, layout.plot, f.view, f.pivots, true, {}, style.labelFont);
    if (piece == 3) DrawLevelLines(f.canvas, layout.plot, f.view, f.levels, style.labelFont, style.background);
    f.canvas.ClearClip();
    f.canvas.ShowImage();
    benchmark::DoNotOptimize(f.canvas.Image().constBits());
  }
}
BENCHMARK(BM_PriceChartPieces)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

void BM_PriceFrameFill(benchmark::State& state) {
  EnsureApplication();
  QImage frame(kWidth, kHeight, QImage::Format_RGB32);
  bool flip = false;
  for (auto _ : state) {
    flip = !flip;
    frame.fill(flip ? 0xFFFFFF00u : 0xFFFFFFFFu);
    benchmark::DoNotOptimize(frame.constBits());
  }
}

// Taking a million bars into a view: the checks and summaries a zoomed-out paint reads.
void BM_PriceViewSetBars(benchmark::State& state) {
  const PriceBars bars = WalkBars(1000000);
  for (auto _ : state) {
    TPriceView view;
    view.SetBars(ColumnsOf(bars));
    view.FitAll();
    benchmark::DoNotOptimize(view.PriceMax());
  }
}

// A download file of a million bars, written once for the two benchmarks below.
const std::string& MillionBarFile() {
  static const std::string path = [] {
    const std::string p = (std::filesystem::temp_directory_path() / "tavimo_price_chart_bench.csv").string();
    std::ofstream out(p, std::ios::binary);
    bench::GenerateDownloadFile(1000000, 1, bench::BarSpacing::Weekdays, [&](const std::string& part) { out << part; });
    std::atexit([] { std::filesystem::remove(std::filesystem::temp_directory_path() / "tavimo_price_chart_bench.csv"); });
    return p;
  }();
  return path;
}

void BM_ReadPriceFile(benchmark::State& state) {
  const std::string& path = MillionBarFile();
  for (auto _ : state) {
    PriceFileRead read = ReadPriceFile(path);
    benchmark::DoNotOptimize(read.result.bars.close.data());
  }
}

// What the window does from the file's name to its first frame, Qt's window aside.
void BM_OpenToFirstFrame(benchmark::State& state) {
  EnsureApplication();
  const std::string& path = MillionBarFile();
  TRasterCanvas canvas;
  for (auto _ : state) {
    PriceFileRead read = ReadPriceFile(path);
    const PriceBars& bars = read.result.bars;
    const std::vector<SwingPoint> swings = FindSwings(bars.high.data(), bars.low.data(), bars.Size(), SwingChange("5"));
    const std::vector<std::string> ratios = {"0.191", "0.236", "1/3",   "0.382", "0.5",   "0.618", "2/3",   "0.809",
                                             "1",     "1.191", "1.236", "1.382", "1.5",   "1.618", "1.809", "2"};
    ReactionStats stats = EmptyReactionStats(ratios);
    AddReactions(swings, ReactionTolerance("0.03"), stats);
    TPriceView view;
    view.SetBars(ColumnsOf(bars));
    view.FitAll();
    TCandleSeries series;
    const TPriceChartStyle style;
    const Rect bounds = canvas.SetupWindow(kWidth, kHeight);
    const TPriceChartLayout layout = DrawPriceChart(canvas, bounds, series, view, style);
    canvas.ClipTo(layout.plot);
    DrawLevelLines(canvas, layout.plot, view, LevelLines(swings), style.labelFont, style.background);
    DrawZigzag(canvas, layout.plot, view, pricechart::ChartZigzag(swings), true, {}, style.labelFont);
    canvas.ClearClip();
    canvas.ShowImage();
    benchmark::DoNotOptimize(canvas.Image().constBits());
  }
}

}  // namespace

BENCHMARK(BM_PriceFrameFill)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PriceChartFullPaint)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PriceViewSetBars)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadPriceFile)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_OpenToFirstFrame)->Unit(benchmark::kMillisecond)->MinTime(2);

TAVIMO_BENCH_RATIO("BM_PriceChartFullPaint/1000", "BM_PriceFrameFill", "<= 2.0");
TAVIMO_BENCH_RATIO("BM_PriceChartFullPaint/1000000", "BM_PriceFrameFill", "<= 3.0");
TAVIMO_BENCH_RATIO("BM_OpenToFirstFrame/min_time:2.000", "BM_ReadPriceFile/min_time:2.000", "<= 1.5");
