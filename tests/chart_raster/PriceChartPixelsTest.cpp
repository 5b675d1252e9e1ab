// The price chart on the raster canvas: candles in their colours where the
// view puts them, at ratio 1 and at twice the pixels. With
// TAVIMO_PICTURE_DIR set the pictures are also written there as PNG files,
// for a person to look at.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "../chart/PriceChartTestSupport.h"
#include "RasterProbe.h"
#include "chart/CandleSeries.h"
#include "chart/RasterOutput.h"

namespace tavimo::chart {
namespace {

using testing::PixelAt;
using testing::PriceHistory;

constexpr int kWidth = 800;
constexpr int kHeight = 450;
constexpr TColor kRising = RGBColor(0xE0, 0x20, 0x20);
constexpr TColor kFalling = RGBColor(0x10, 0xA0, 0x40);

const PriceHistory& TwoYears() {
  static const PriceHistory bars =
      PriceHistory::Walk(testing::WeekdayTimes(testing::kJanuary1st2024 - 365 * testing::kDay, 731));
  return bars;
}

struct Picture {
  TRasterCanvas canvas;
  TPriceView view;
  TCandleSeries series;
  TPriceChartLayout layout;

  void Paint(double scale) {
    canvas.SetScale(scale);
    canvas.SetupWindow(kWidth, kHeight);
    layout = DrawPriceChart(canvas, {0, 0, kWidth, kHeight}, series, view, TPriceChartStyle{});
    canvas.ShowImage();
  }
  void SaveAs(const char* name) const {
    const char* dir = std::getenv("TAVIMO_PICTURE_DIR");
    if (dir == nullptr || *dir == '\0') return;
    std::ofstream(std::string(dir) + "/" + name, std::ios::binary) << EncodePng(canvas);
  }
};

// The last 60 bars, where a body is several pixels wide.
void ShowLastSixty(Picture& p) {
  p.view.SetBars(TwoYears().Columns());
  const int n = p.view.BarCount();
  p.view.SetTimeRange(n - 60.5, n - 0.5);
  p.view.FitPriceToVisible();
  p.series.SetColors(kRising, kFalling);
}

class PriceChartPixels : public ::testing::TestWithParam<double> {};

TEST_P(PriceChartPixels, BodiesHaveTheirColoursWhereTheViewPutsThem) {
  const double scale = GetParam();
  Picture p;
  ShowLastSixty(p);
  p.Paint(scale);
  ASSERT_EQ(p.canvas.Image().width(), ScaleLength(kWidth, scale));
  const PriceHistory& bars = TwoYears();
  const Rect& plot = p.layout.plot;
  int checked = 0;
  for (int i = p.view.FirstVisibleBar(); i <= p.view.LastVisibleBar(); ++i) {
    const double top = p.view.PriceToY(std::max(bars.open[i], bars.close[i]), plot);
    const double bottom = p.view.PriceToY(std::min(bars.open[i], bars.close[i]), plot);
    if (bottom - top < 6) continue;  // the middle of a body well inside it
    // A pixel beside the wick, half way down the body, in device pixels.
    const int x = ScaleLength(static_cast<int>(std::floor(p.view.BarToX(i, plot))) + 2, scale);
    const int y = ScaleLength(RoundHalfEven((top + bottom) / 2), scale);
    EXPECT_EQ(PixelAt(p.canvas, x, y), bars.close[i] >= bars.open[i] ? kRising : kFalling) << "bar " << i;
    ++checked;
  }
  EXPECT_GE(checked, 10);
  // The axis line at the plot's right edge; the margin above the plot white.
  EXPECT_EQ(PixelAt(p.canvas, ScaleLength(plot.right, scale), ScaleLength(plot.top + 5, scale)), clBlack);
  EXPECT_EQ(PixelAt(p.canvas, ScaleLength(plot.left + 5, scale), 0), clWhite);
  p.SaveAs(scale == 1 ? "price-chart-60-bars.png" : "price-chart-60-bars-2x.png");
}

INSTANTIATE_TEST_SUITE_P(Scales, PriceChartPixels, ::testing::Values(1.0, 2.0),
                         [](const auto& info) { return info.param == 1 ? "Ratio1" : "Ratio2"; });

// Zoomed out to every bar on a log scale, and as a line: pictures to look
// at, and each draws both colours (or the line's) inside the plot only.
TEST(PriceChartPicture, AllBarsOnALogScaleAndAsALine) {
  for (const TPriceSeriesKind kind : {TPriceSeriesKind::Candles, TPriceSeriesKind::Line}) {
    Picture p;
    p.view.SetBars(TwoYears().Columns());
    ASSERT_TRUE(p.view.SetScale(TPriceScale::Log));
    p.view.FitAll();
    p.series.SetColors(kRising, kFalling);
    p.series.SetKind(kind);
    p.Paint(1);
    const Rect& plot = p.layout.plot;
    const Rect image{0, 0, kWidth, kHeight};
    const bool candles = kind == TPriceSeriesKind::Candles;
    for (const TColor colour : candles ? std::vector{kRising, kFalling} : std::vector{p.series.LineColor()}) {
      EXPECT_GT(testing::CountColor(p.canvas, plot, colour), 500);
      EXPECT_EQ(testing::CountColor(p.canvas, image, colour), testing::CountColor(p.canvas, plot, colour));
    }
    p.SaveAs(candles ? "price-chart-all-log.png" : "price-chart-all-line.png");
  }
}

}  // namespace
}  // namespace tavimo::chart
