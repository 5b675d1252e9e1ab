// The main window's chart painted on the raster canvas at its stored size,
// probed where the layout report says each part lies.
#include <gtest/gtest.h>

#include <array>
#include <set>

#include "RasterProbe.h"
#include "chart/LayoutReport.h"
#include "chart/MainChart.h"
#include "chart/Palette.h"

namespace tavimo::chart {
namespace {

using testing::PixelAt;

const std::vector<std::string> kRatios = {"0.191", "0.236", "1/3",   "0.382", "0.5",   "0.618", "2/3",   "0.809",
                                          "1",     "1.191", "1.236", "1.382", "1.5",   "1.618", "1.809", "2"};
// Rebound resistance from low 10 to high 20.
const std::vector<double> kLevels = {11.91, 12.36, 13.3333333333, 13.82, 15, 16.18, 16.6666666667, 18.09,
                                     20,    21.91, 22.36,         23.82, 25, 26.18, 28.09,         30};

class MainChartPixels : public ::testing::Test {
 protected:
  void SetUp() override {
    auto owned = std::make_unique<TRasterCanvas>();
    canvas = owned.get();
    chart = BuildMainChart(std::move(owned));
    AppendRatioBars(MainSeries(*chart), kRatios);
    for (int i = 0; i < static_cast<int>(kLevels.size()); ++i) MainSeries(*chart).SetPointX(i, kLevels[i]);
    chart->SetClientSize(597, 504);
    ASSERT_TRUE(chart->PaintRequest());
    report = DescribeLayout(*chart);
    ASSERT_EQ(report.bars.size(), kRatios.size());
  }
  TColor At(int x, int y) const { return PixelAt(*canvas, x, y); }

  TRasterCanvas* canvas = nullptr;
  std::unique_ptr<TChart> chart;
  ChartLayoutReport report;
};

TEST_F(MainChartPixels, GradientRunsFromYellowAtTheTopToWhiteAtTheBottom) {
  ASSERT_EQ(canvas->Image().size(), QSize(597, 504));
  EXPECT_EQ(At(590, 1), clYellow);
  EXPECT_EQ(At(590, 502), clWhite);
  // Red and green stay full; blue climbs band by band from 0 at the top to 255 at the bottom.
  std::set<int> blues;
  int previous = -1;
  for (int y = 1; y < 503; ++y) {
    const TColor c = At(590, y);
    ASSERT_EQ(RedOf(c), 255) << y;
    ASSERT_EQ(GreenOf(c), 255) << y;
    ASSERT_GE(BlueOf(c), previous) << y;
    previous = BlueOf(c);
    blues.insert(BlueOf(c));
  }
  EXPECT_EQ(blues.size(), 256u);
}

TEST_F(MainChartPixels, BevelIsRaised) {
  EXPECT_EQ(At(300, 0), clBtnHighlight);
  EXPECT_EQ(At(0, 250), clBtnHighlight);
  EXPECT_EQ(At(596, 250), clBtnShadow);
  EXPECT_EQ(At(300, 503), clBtnShadow);
  EXPECT_EQ(At(300, 1), clYellow) << "one ring only";
}

TEST_F(MainChartPixels, EveryBarIsFilledInItsPaletteColourAndOutlinedInBlack) {
  for (const BarReport& bar : report.bars) {
    ASSERT_EQ(bar.polygon.size(), 7u) << bar.index;
    const Point pi = bar.polygon[0], ph = bar.polygon[1], pf = bar.polygon[2], pe = bar.polygon[4];
    const int mid = (ph.y + pi.y) / 2;
    EXPECT_EQ(bar.color, PaletteColor(bar.index));
    EXPECT_EQ(At((pi.x + pf.x) / 2, mid), PaletteColor(bar.index)) << bar.index;
    EXPECT_EQ(At((pi.x + pf.x) / 2, ph.y), clBlack) << "shaft edge of bar " << bar.index;
    // The head's upper edge runs at 45 degrees into the tip (the tip pixel itself carries the mark's line).
    EXPECT_EQ(At(pe.x - 1, pe.y - 1), clBlack) << "head of bar " << bar.index;
    EXPECT_NE(At((pi.x + pf.x) / 2, ph.y - 1), PaletteColor(bar.index)) << "nothing above the shaft";
  }
}

TEST_F(MainChartPixels, MarksAreAquaBoxesWithBlackFramesJoinedByAPaleLine) {
  for (const BarReport& bar : report.bars) {
    ASSERT_TRUE(bar.mark) << bar.index;
    const Rect box = bar.mark->box;
    const int middle = (box.top + box.bottom) / 2;
    EXPECT_EQ(At(box.left + 1, box.top + 1), clAqua) << bar.mark->text;
    EXPECT_EQ(At(box.right - 2, box.bottom - 2), clAqua) << bar.mark->text;
    EXPECT_EQ(At(box.left, middle), clBlack) << bar.mark->text;
    EXPECT_EQ(At(box.right - 1, middle), clBlack) << bar.mark->text;
    EXPECT_EQ(At(box.left + 2, box.top), clBlack) << bar.mark->text;
    EXPECT_EQ(At(box.left + 2, box.bottom - 1), clBlack) << bar.mark->text;
    EXPECT_NE(At(box.right, box.top + 3), clAqua) << "the box ends at its right edge";
    EXPECT_GT(testing::CountDark(*canvas, box.Inflated(-1)), 20) << "the value is written in the box";
    const Point from = bar.mark->arrow[0];
    EXPECT_EQ(At(from.x + 3, from.y), clLightYellow) << bar.mark->text;
  }
}

TEST_F(MainChartPixels, GridLinesAreDottedThroughEveryLabel) {
  int checked = 0;
  for (std::size_t k = 0; k < report.axisLabels.size(); ++k) {
    const TAxisLabelRecord& label = report.axisLabels[k];
    ASSERT_TRUE(label.drawn) << label.text;
    // Between the mark box and the plot's right edge only the grid line crosses the row.
    const int from = report.bars[k].mark->box.right + 2;
    const int to = report.plotRect.right - 2;
    if (to - from < 10) continue;
    ++checked;
    int gray = 0;
    for (int x = from; x < to; ++x) {
      const bool dot = At(x, label.pixel) == clGray;
      gray += dot;
      EXPECT_NE(dot, At(x + 1, label.pixel) == clGray) << label.text << " at " << x;
    }
    EXPECT_NEAR(gray, (to - from) / 2, 1) << label.text;
    EXPECT_NE(At(from, label.pixel - 1), clGray) << "one pixel thick";
  }
  EXPECT_GE(checked, 12) << "rows with room right of their mark";
}

TEST_F(MainChartPixels, LeftAxisHasItsLineAndRightAlignedLabels) {
  const int x = report.leftAxis.axisLinePos;
  const int between = report.axisLabels[0].pixel + 2;  // clear of the ticks, which start at x - 1
  EXPECT_EQ(At(x, between), clBlack);
  EXPECT_EQ(At(x - 1, between), clBlack) << "two pixels wide";
  for (const TAxisLabelRecord& label : report.axisLabels) {
    const Rect cell{report.leftAxis.labelsPos - label.width, label.pixel - label.height / 2,
                    report.leftAxis.labelsPos, label.pixel - label.height / 2 + label.height};
    EXPECT_GT(testing::CountDark(*canvas, cell), 5) << label.text;
    EXPECT_EQ(testing::CountColor(*canvas, {cell.right + 1, cell.top, x - 7, cell.bottom}, clBlack), 0)
        << "nothing between the label and its tick: " << label.text;
  }
}

// Absolute places, worked out by hand from the layout rules with the real
// fonts' metrics, so that a fault shared by the layout and its report shows.
TEST_F(MainChartPixels, LayoutRulesPlaceThePlotTheLastBarAndItsMarkWhereTheyWorkOut) {
  // The metrics the derivation uses, measured once: the 16-pixel Arial of the
  // labels and marks has a line height of 19, "W" 15 pixels wide, a digit
  // 8.9 and a full stop 4.45 (so "0.191" 40, "30" 18, "13.333" 49); the bold
  // 19-pixel Song face of the empty title has a line height of 21.
  canvas->SetFont(TFont{"Arial", -16, clBlack, false});
  ASSERT_EQ(canvas->TextLineHeight(), 19);
  ASSERT_EQ(canvas->MeasureWidth("W"), 15);
  ASSERT_EQ(canvas->MeasureWidth("0.191"), 40);
  ASSERT_EQ(canvas->MeasureWidth("30"), 18);
  ASSERT_EQ(canvas->MeasureWidth("13.333"), 49);
  ASSERT_EQ(report.titleLineHeight, 21);

  // Plot rectangle. Margins of 10, 10, 5 and 15 percent of 597 x 504, MulDiv
  // with halves away from zero: 60, 50, 30 and 76, so (60, 50, 567, 428). The
  // empty title line takes 21 + the title gap 5: top 76. The left axis takes
  // the widest ratio label (40) and its ticks (axis pen 2 + tick 6): left 108.
  EXPECT_EQ(chart->PlotRect(), (Rect{108, 76, 567, 428}));

  // Last bar (ratio 2, level 30). Left axis 76 ... 428, span 352: thickness =
  // round(0.5 x (352 div 17)) = 10 (even), and the axis is widened by 10 at
  // both ends, so point 15 of the inverted axis lies at 428 - 10 = 418, the
  // bar's centre line. Bottom axis 108 ... 567: the marks ask MarkRoom + 1 =
  // (49 + arrow 10 + frame 2) + 1 = 62 on the right, so the widened range puts
  // the largest level, 30, at 567 - 62 = 505. Head: length 10 div 2 = 5 from
  // x 500, from 418 - 5 to 418 + 5; shaft round(418 -+ 2.5) = 416 and 420.
  std::array<Point, 7> arrow{};
  ASSERT_TRUE(MainSeries(*chart).BarPolygon(15, arrow));
  EXPECT_EQ(arrow[4], (Point{505, 418}));
  EXPECT_EQ(arrow[2], (Point{500, 416}));
  EXPECT_EQ(arrow[3], (Point{500, 413}));
  EXPECT_EQ(arrow[0], (Point{108, 420}));
  EXPECT_EQ(At(503, 418), PaletteColor(15));

  // Its mark: "30" is 18 wide, the box 18 + "W" 15 + frame 2 = 35 wide and
  // 19 + 2 = 21 high; it starts after the 10-pixel line at x 515, its top at
  // the bar top 413 - 21 + 1 + 5 + 21 div 2 = 408: (515, 408, 550, 429).
  const TSeriesMarkPosition* mark = MainSeries(*chart).Marks().StoredPosition(15);
  ASSERT_NE(mark, nullptr);
  EXPECT_EQ(mark->Box(), (Rect{515, 408, 550, 429}));
  EXPECT_EQ(At(515, 418), clBlack) << "frame, left edge";
  EXPECT_EQ(At(549, 428), clBlack) << "frame, bottom right corner";
  EXPECT_EQ(At(516, 409), clAqua);
  EXPECT_NE(At(550, 418), clAqua) << "the box ends at x 549";
  EXPECT_EQ(At(510, 418), clLightYellow) << "the line from the tip to the box";
}

TEST(MainChartStartUp, AllLevelsZeroDrawsNoBarsButEveryMark) {
  auto owned = std::make_unique<TRasterCanvas>();
  TRasterCanvas* canvas = owned.get();
  auto chart = BuildMainChart(std::move(owned));
  AppendRatioBars(MainSeries(*chart), kRatios);
  chart->SetClientSize(597, 504);
  ASSERT_TRUE(chart->PaintRequest());
  const ChartLayoutReport report = DescribeLayout(*chart);
  for (const BarReport& bar : report.bars) {
    EXPECT_TRUE(bar.polygon.empty()) << bar.index;
    ASSERT_TRUE(bar.mark) << bar.index;
    EXPECT_EQ(bar.mark->text, "0");
    EXPECT_EQ(PixelAt(*canvas, bar.mark->box.left + 1, bar.mark->box.top + 1), clAqua);
  }
  EXPECT_FALSE(chart->PaintRequest()) << "a clean image is only copied";
}

}  // namespace
}  // namespace tavimo::chart
