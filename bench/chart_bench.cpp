// The main chart painted on the raster canvas, against the same chart drawn by
// Qt Charts and against the two floors of any frame: filling it and copying it.
//
// Sizes: 597x504 (the stored window) and 1920x1080, at a device pixel ratio
// of 1 and of 2 ("Scaled", the third argument in percent: 1194x1008 and
// 3840x2160 device pixels, against fills and copies of those sizes). "Full
// paint" changes one value first, so the whole layout runs; "clean repaint"
// is a paint request with nothing changed plus the copy of the frame into a
// window-sized image of the same ratio, as the window does it.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QGraphicsScene>
#include <QHorizontalBarSeries>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QValueAxis>
#include <memory>
#include <string>
#include <vector>

#include "BenchRatio.h"
#include "chart/MainChart.h"
#include "chart/RasterCanvas.h"

namespace {

using namespace tavimo::chart;

const std::vector<std::string> kRatios = {"0.191", "0.236", "1/3",   "0.382", "0.5",   "0.618", "2/3",   "0.809",
                                          "1",     "1.191", "1.236", "1.382", "1.5",   "1.618", "1.809", "2"};
// Rebound resistance for low 10, high 20.
const std::vector<double> kLevels = {11.91, 12.36, 13.3333333333, 13.82, 15, 16.18, 16.6666666667, 18.09,
                                     20,    21.91, 22.36,         23.82, 25, 26.18, 28.09,         30};

// The application object lives to the end of the process: destroying it
// from an exit handler, after the scenes it served, crashes inside Qt.
void EnsureApplication() {
  static int argc = 1;
  static char name[] = "tavimo_chart_bench";
  static char* argv[] = {name, nullptr};
  if (QCoreApplication::instance() == nullptr) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    new QApplication(argc, argv);
  }
}

// A raster canvas that lays text out and measures it but draws none: the
// difference to the full paint is what text costs in a frame.
class TTextlessCanvas : public TRasterCanvas {
 public:
  void PutText(int, int, std::string_view) override {}
};

struct MainChartFixture {
  MainChartFixture(int width, int height, bool drawText = true, double scale = 1.0) {
    EnsureApplication();
    std::unique_ptr<TRasterCanvas> owned =
        drawText ? std::make_unique<TRasterCanvas>() : std::make_unique<TTextlessCanvas>();
    canvas = owned.get();
    chart = BuildMainChart(std::move(owned));
    AppendRatioBars(MainSeries(*chart), kRatios);
    for (int i = 0; i < static_cast<int>(kLevels.size()); ++i) MainSeries(*chart).SetPointX(i, kLevels[i]);
    chart->SetScale(scale);
    chart->SetClientSize(width, height);
    chart->PaintRequest();
  }
  TRasterCanvas* canvas = nullptr;
  std::unique_ptr<TChart> chart;
};

// The third argument, when there is one, is the device pixel ratio in percent.
double ScaleOf(const benchmark::State& state) { return state.range(2) / 100.0; }

void FullPaint(benchmark::State& state, bool drawText, double scale = 1.0) {
  MainChartFixture f(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), drawText, scale);
  THorizBarSeries& series = MainSeries(*f.chart);
  bool flip = false;
  for (auto _ : state) {
    flip = !flip;
    series.SetPointX(0, flip ? 11.92 : 11.91);
    benchmark::DoNotOptimize(f.chart->PaintRequest());
    benchmark::DoNotOptimize(f.canvas->Image().constBits());
  }
}

void BM_MainChartFullPaint(benchmark::State& state) { FullPaint(state, true); }
void BM_MainChartFullPaintWithoutText(benchmark::State& state) { FullPaint(state, false); }
void BM_MainChartFullPaintScaled(benchmark::State& state) { FullPaint(state, true, ScaleOf(state)); }

void CleanRepaint(benchmark::State& state, double scale) {
  MainChartFixture f(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), true, scale);
  // The window's backing store: the device size, marked with the ratio.
  QImage window(f.canvas->Image().size(), QImage::Format_RGB32);
  window.setDevicePixelRatio(scale);
  for (auto _ : state) {
    if (f.chart->PaintRequest()) state.SkipWithError("the image should be clean");
    QPainter p(&window);
    p.drawImage(0, 0, f.canvas->Image());
    p.end();
    benchmark::DoNotOptimize(window.constBits());
  }
}

void BM_MainChartCleanRepaint(benchmark::State& state) { CleanRepaint(state, 1.0); }
void BM_MainChartCleanRepaintScaled(benchmark::State& state) { CleanRepaint(state, ScaleOf(state)); }

// The same chart in Qt Charts: 16 horizontal bars with the ratio texts as
// categories (first at the top), value labels at the bar ends, a yellow-to-
// white background gradient, no legend, no animation, aliased rendering.
struct QtChartsFixture {
  QtChartsFixture(int width, int height) {
    EnsureApplication();
    chart = new QChart;
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->legend()->hide();
    chart->setBackgroundRoundness(0);
    chart->setDropShadowEnabled(false);
    QLinearGradient gradient(0, 0, 0, 1);
    gradient.setCoordinateMode(QGradient::ObjectBoundingMode);
    gradient.setColorAt(0, QColor(255, 255, 0));
    gradient.setColorAt(1, QColor(255, 255, 255));
    chart->setBackgroundBrush(gradient);

    auto* set = new QBarSet(QStringLiteral("levels"));
    for (double v : kLevels) *set << v;
    set->setLabelColor(Qt::black);
    auto* series = new QHorizontalBarSeries;
    series->append(set);
    series->setBarWidth(0.5);
    series->setLabelsVisible(true);
    series->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
    series->setLabelsFormat(QStringLiteral("@value"));
    chart->addSeries(series);

    auto* categories = new QBarCategoryAxis;
    for (const std::string& r : kRatios) categories->append(QString::fromStdString(r));
    categories->setReverse(true);
    chart->addAxis(categories, Qt::AlignLeft);
    series->attachAxis(categories);
    auto* values = new QValueAxis;
    values->setRange(0, 35);
    values->setLabelsVisible(false);
    chart->addAxis(values, Qt::AlignBottom);
    series->attachAxis(values);

    scene.addItem(chart);
    scene.setSceneRect(0, 0, width, height);
    chart->setGeometry(0, 0, width, height);
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
    image = QImage(width, height, QImage::Format_RGB32);
  }
  void Render() {
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    scene.render(&p, QRectF(image.rect()), scene.sceneRect());
  }
  QGraphicsScene scene;
  QChart* chart = nullptr;  // owned by the scene
  QImage image;
};

void BM_QtChartsRender(benchmark::State& state) {
  QtChartsFixture f(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  for (auto _ : state) {
    f.Render();
    benchmark::DoNotOptimize(f.image.constBits());
  }
}

// The background gradient alone on the raster canvas: 256 solid bands over the frame.
void BM_RasterGradient(benchmark::State& state) {
  EnsureApplication();
  TRasterCanvas canvas;
  const Rect frame = canvas.SetupWindow(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  for (auto _ : state) {
    canvas.SetupWindow(frame.Width(), frame.Height());
    canvas.BandedGradient(frame, clWhite, clYellow, TGradientDirection::gdTopBottom);
    canvas.ShowImage();
    benchmark::DoNotOptimize(canvas.Image().constBits());
  }
}

void BM_FrameFill(benchmark::State& state) {
  EnsureApplication();
  QImage frame(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), QImage::Format_RGB32);
  bool flip = false;
  for (auto _ : state) {
    flip = !flip;
    frame.fill(flip ? 0xFFFFFF00u : 0xFFFFFFFFu);
    benchmark::DoNotOptimize(frame.constBits());
  }
}

void BM_FrameCopy(benchmark::State& state) {
  EnsureApplication();
  QImage frame(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), QImage::Format_RGB32);
  frame.fill(0xFFFFFF00u);
  QImage window(frame.size(), QImage::Format_RGB32);
  for (auto _ : state) {
    QPainter p(&window);
    p.drawImage(0, 0, frame);
    p.end();
    benchmark::DoNotOptimize(window.constBits());
  }
}

void Sizes(benchmark::internal::Benchmark* b) {
  b->Args({597, 504})->Args({1920, 1080})->Unit(benchmark::kMicrosecond);
}

// The two sizes at a device pixel ratio of 2.
void ScaledSizes(benchmark::internal::Benchmark* b) {
  b->Args({597, 504, 200})->Args({1920, 1080, 200})->Unit(benchmark::kMicrosecond);
}

// The floors in device pixels: both sizes at ratios 1 and 2.
void DeviceSizes(benchmark::internal::Benchmark* b) {
  b->Args({597, 504})->Args({1920, 1080})->Args({1194, 1008})->Args({3840, 2160})->Unit(benchmark::kMicrosecond);
}

}  // namespace

BENCHMARK(BM_MainChartFullPaint)->Apply(Sizes);
BENCHMARK(BM_MainChartFullPaintWithoutText)->Apply(Sizes);
BENCHMARK(BM_MainChartCleanRepaint)->Apply(Sizes);
BENCHMARK(BM_MainChartFullPaintScaled)->Apply(ScaledSizes);
BENCHMARK(BM_MainChartCleanRepaintScaled)->Apply(ScaledSizes);
BENCHMARK(BM_QtChartsRender)->Apply(Sizes);
BENCHMARK(BM_RasterGradient)->Apply(Sizes);
BENCHMARK(BM_FrameFill)->Apply(DeviceSizes);
BENCHMARK(BM_FrameCopy)->Apply(DeviceSizes);

TAVIMO_BENCH_RATIO("BM_MainChartFullPaint/597/504", "BM_QtChartsRender/597/504", "<= 0.2");
TAVIMO_BENCH_RATIO("BM_MainChartFullPaint/1920/1080", "BM_FrameFill/1920/1080", "<= 2.0");
TAVIMO_BENCH_RATIO("BM_MainChartCleanRepaint/597/504", "BM_FrameCopy/597/504", "<= 1.5");
TAVIMO_BENCH_RATIO("BM_MainChartCleanRepaint/1920/1080", "BM_FrameCopy/1920/1080", "<= 1.5");
TAVIMO_BENCH_RATIO("BM_MainChartFullPaint/597/504", "BM_FrameFill/597/504", "text share: see WithoutText");
TAVIMO_BENCH_RATIO("BM_MainChartFullPaintWithoutText/597/504", "BM_MainChartFullPaint/597/504", "1 - text share");
TAVIMO_BENCH_RATIO("BM_MainChartFullPaintWithoutText/1920/1080", "BM_MainChartFullPaint/1920/1080", "1 - text share");
TAVIMO_BENCH_RATIO("BM_MainChartFullPaintScaled/597/504/200", "BM_FrameFill/1194/1008", "<= 2.5");
TAVIMO_BENCH_RATIO("BM_MainChartFullPaintScaled/1920/1080/200", "BM_FrameFill/3840/2160", "<= 1.5");
TAVIMO_BENCH_RATIO("BM_MainChartCleanRepaintScaled/597/504/200", "BM_FrameCopy/1194/1008", "<= 1.2");
TAVIMO_BENCH_RATIO("BM_MainChartCleanRepaintScaled/1920/1080/200", "BM_FrameCopy/3840/2160", "<= 1.2");
