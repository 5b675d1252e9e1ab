// The main window's chart drawn for screens of other pixel ratios: measured
// in its pixels, its plot rectangle, bar tips and mark boxes are those of
// the chart at ratio 1 times the ratio, within a device pixel; its text is
// drawn from the larger font, not enlarged.
#include <gtest/gtest.h>

#include <cmath>

#include "ParamText.h"
#include "RasterProbe.h"
#include "chart/LayoutReport.h"
#include "chart/MainChart.h"

namespace tavimo::chart {
namespace {

const std::vector<std::string> kRatios = {"0.191", "0.236", "1/3",   "0.382", "0.5",   "0.618", "2/3",   "0.809",
                                          "1",     "1.191", "1.236", "1.382", "1.5",   "1.618", "1.809", "2"};
// Rebound resistance from low 10 to high 20.
const std::vector<double> kLevels = {11.91, 12.36, 13.3333333333, 13.82, 15, 16.18, 16.6666666667, 18.09,
                                     20,    21.91, 22.36,         23.82, 25, 26.18, 28.09,         30};

struct Picture {
  std::unique_ptr<TChart> chart;
  TRasterCanvas* canvas = nullptr;

  TColor At(int x, int y) const { return testing::PixelAt(*canvas, x, y); }
  // The run of `color` in row y that contains x or starts within 3 pixels
  // after it: [from, to), or {-1, -1}.
  std::pair<int, int> RowRun(int y, int x, TColor color) const {
    for (int start = x; start <= x + 3; ++start) {
      if (At(start, y) != color) continue;
      int from = start, to = start;
      while (from > 0 && At(from - 1, y) == color) --from;
      while (to < canvas->Image().width() && At(to, y) == color) ++to;
      return {from, to};
    }
    return {-1, -1};
  }
  std::pair<int, int> ColumnRun(int x, int y, TColor color) const {
    for (int start = y; start <= y + 3; ++start) {
      if (At(x, start) != color) continue;
      int from = start, to = start;
      while (from > 0 && At(x, from - 1) == color) --from;
      while (to < canvas->Image().height() && At(x, to) == color) ++to;
      return {from, to};
    }
    return {-1, -1};
  }
  // The first row from y down (within 3 pixels) and one past the last row
  // from y up (within 3 pixels) where column x has `color`.
  int FirstDown(int x, int y, TColor color) const {
    for (int r = y; r <= y + 3; ++r)
      if (At(x, r) == color) return r;
    return -1;
  }
  int EndUp(int x, int y, TColor color) const {
    for (int r = y; r >= y - 3; --r)
      if (At(x, r) == color) return r + 1;
    return -1;
  }
  // One past the rightmost pixel of `color` in rows [top, bottom), left of `before`.
  int RightEnd(int top, int bottom, TColor color, int before) const {
    for (int x = std::min(before, canvas->Image().width()) - 1; x >= 0; --x)
      for (int y = top; y < bottom; ++y)
        if (At(x, y) == color) return x + 1;
    return -1;
  }
};

Picture Draw(double scale) {
  Picture p;
  auto owned = std::make_unique<TRasterCanvas>();
  p.canvas = owned.get();
  p.chart = BuildMainChart(std::move(owned));
  AppendRatioBars(MainSeries(*p.chart), kRatios);
  SetRatioBarLevels(MainSeries(*p.chart), kLevels);
  p.chart->SetScale(scale);
  p.chart->SetClientSize(kMainChartWidth, kMainChartHeight);
  p.chart->PaintRequest();
  return p;
}

class ScaledMainChart : public ::testing::TestWithParam<double> {
 protected:
  static void SetUpTestSuite() {
    one_ = new Picture(Draw(1));
    layout_ = new ChartLayoutReport(DescribeLayout(*one_->chart));
  }
  static void TearDownTestSuite() {
    delete one_;
    delete layout_;
    one_ = nullptr;
    layout_ = nullptr;
  }
  // A design position at the scale, as a real number.
  double Times(int design) const { return design * GetParam(); }
  static Picture* one_;
  static ChartLayoutReport* layout_;  // the layout, in design pixels at every ratio
};

Picture* ScaledMainChart::one_ = nullptr;
ChartLayoutReport* ScaledMainChart::layout_ = nullptr;

TEST_P(ScaledMainChart, PlotRectangleBarTipsAndMarkBoxesAreTheFirstChartsTimesTheRatio) {
  const double s = GetParam();
  const Picture scaled = Draw(s);
  const Picture& one = *one_;
  ASSERT_EQ(scaled.canvas->Image().size(),
            QSize(ScaleLength(kMainChartWidth, s), ScaleLength(kMainChartHeight, s)));
  const ChartLayoutReport& layout = *layout_;

  // Plot rectangle: the axis line on its left edge, two pixels wide, from
  // its top to its bottom (measured where no tick, bar or grid line meets it).
  const Rect plot = layout.plotRect;
  const int x = layout.leftAxis.axisLinePos;
  ASSERT_EQ(one.RowRun(plot.top + 2, x - 2, clBlack), std::make_pair(x - 1, x + 1));
  const auto across = scaled.RowRun(ScaleLength(plot.top + 2, s), ScaleLength(x - 1, s) - 2, clBlack);
  EXPECT_NEAR(across.first, Times(x - 1), 1);
  EXPECT_NEAR(across.second, Times(x + 1), 1);
  ASSERT_EQ(one.FirstDown(x, plot.top - 3, clBlack), plot.top);
  ASSERT_EQ(one.EndUp(x, plot.bottom + 2, clBlack), plot.bottom);
  EXPECT_NEAR(scaled.FirstDown(ScaleLength(x, s), ScaleLength(plot.top, s) - 3, clBlack), Times(plot.top), 1);
  EXPECT_NEAR(scaled.EndUp(ScaleLength(x, s), ScaleLength(plot.bottom, s) + 2, clBlack), Times(plot.bottom), 1);
  // Its right edge, where the grid lines end (the last dot, measured on both pictures).
  const int gridRow = layout.axisLabels[15].pixel;
  const int gridEnd = one.RightEnd(gridRow, gridRow + 1, clGray, kMainChartWidth);
  EXPECT_NEAR(scaled.RightEnd(ScaleLength(gridRow, s), ScaleLength(gridRow + 1, s), clGray, 1 << 20), Times(gridEnd), 1);

  for (const BarReport& bar : layout.bars) {
    SCOPED_TRACE(bar.mark->text);
    const Rect box = bar.mark->box;
    // The bar's tip: its outline's rightmost pixel before the mark, measured on both pictures.
    const int bottom = bar.top + layout.barThickness;
    const int tip = one.RightEnd(bar.top, bottom, clBlack, box.left);
    ASSERT_GT(tip, 0);
    EXPECT_NEAR(scaled.RightEnd(ScaleLength(bar.top, s), ScaleLength(bottom, s), clBlack, ScaleLength(box.left, s)),
                Times(tip), 1);
    // The mark's box: aqua inside a frame a design pixel wide, measured on both pictures.
    const auto inside1 = one.RowRun(box.top + 2, box.left, clAqua);
    const auto inside = scaled.RowRun(ScaleLength(box.top + 2, s), ScaleLength(box.left, s), clAqua);
    EXPECT_EQ(inside1, std::make_pair(box.left + 1, box.right - 1));
    EXPECT_NEAR(inside.first, Times(inside1.first), 1);
    EXPECT_NEAR(inside.second, Times(inside1.second), 1);
    const auto upDown1 = one.ColumnRun(box.left + 2, box.top, clAqua);
    const auto upDown = scaled.ColumnRun(ScaleLength(box.left + 2, s), ScaleLength(box.top, s), clAqua);
    EXPECT_NEAR(upDown.first, Times(upDown1.first), 1);
    EXPECT_NEAR(upDown.second, Times(upDown1.second), 1);
  }
}

INSTANTIATE_TEST_SUITE_P(Ratios, ScaledMainChart, ::testing::Values(1.25, 1.5, 2.0, 3.0),
                         [](const ::testing::TestParamInfo<double>& info) { return param_text::Name(info.param); });

// Glyphs rasterised at twice the size have edges that fall on single device
// pixels; an enlarged picture would show every edge as 2 x 2 blocks.
TEST(ScaledMainChartText, AtTwiceTheRatioGlyphEdgesAreNotBlocksOfFour) {
  const Picture two = Draw(2);
  const ChartLayoutReport layout = DescribeLayout(*Draw(1).chart);
  int inkBlocks = 0;
  int mixedBlocks = 0;
  for (const TAxisLabelRecord& label : layout.axisLabels) {
    const int left = 2 * (layout.leftAxis.labelsPos - label.width);
    const int top = 2 * (label.pixel - label.height / 2);
    for (int y = top; y < top + 2 * label.height; y += 2)
      for (int x = left; x < 2 * layout.leftAxis.labelsPos; x += 2) {
        int ink = 0;
        for (const QPoint d : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(1, 1)})
          ink += two.At(x + d.x(), y + d.y()) == clBlack;
        if (ink == 0) continue;
        ++inkBlocks;
        mixedBlocks += ink < 4;
      }
  }
  ASSERT_GT(inkBlocks, 500);
  EXPECT_GT(mixedBlocks, inkBlocks / 3) << mixedBlocks << " of " << inkBlocks << " inked blocks mix ink and background";
}

}  // namespace
}  // namespace tavimo::chart
