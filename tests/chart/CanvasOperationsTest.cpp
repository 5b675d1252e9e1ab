// The canvas' own operations: arrow outline, banded gradient, pen and brush selection.

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "ParamText.h"
#include "chart/RecordingCanvas.h"

namespace tavimo::chart {
namespace {

std::vector<Point> PolygonOf(const RecordingCanvas& canvas) {
  const auto polys = canvas.OfKind(TCanvasOp::FillPolygon);
  return polys.empty() ? std::vector<Point>{} : polys.back()->points;
}

// Design pixels to device pixels: nearest, halves away from zero as the
// platform rounds window sizes, never zero for a non-zero value, the
// identity at scale 1.
TEST(ScaleLengthTest, RoundsHalvesAwayFromZeroAndKeepsEveryPixel) {
  struct Row {
    int length;
    double scale;
    int device;
  };
  const Row rows[] = {{597, 1.0, 597},  {597, 2.0, 1194},  {597, 1.5, 896},  {599, 1.5, 899},   {3, 1.5, 5},
                      {-3, 1.5, -5},    {1, 1.25, 1},      {1, 1.5, 2},      {1, 1.75, 2},      {10, 1.25, 13},
                      {1, 0.25, 1},     {-1, 0.25, -1},    {0, 3.0, 0},      {2147483647, 1.0, 2147483647},
                      {2000000000, 3.0, 1 << 30}};
  for (const Row& r : rows) EXPECT_EQ(ScaleLength(r.length, r.scale), r.device) << r.length << " at " << r.scale;
}

TEST(ArrowPolygonTest, HorizontalArrowHasShaftHalfAsThickAsItsHead) {
  RecordingCanvas canvas;
  canvas.ArrowPolygon(true, {100, 50}, {300, 50}, 16, 8);
  const std::vector<Point> expected = {{100, 54}, {100, 46}, {292, 46}, {292, 42}, {300, 50}, {292, 58}, {292, 54}};
  EXPECT_EQ(PolygonOf(canvas), expected);
}

TEST(ArrowPolygonTest, ArrowNoLongerThanTheHeadLimitIsATriangleBasedAtTheStart) {
  RecordingCanvas canvas;
  canvas.ArrowPolygon(true, {100, 50}, {105, 50}, 16, 8);
  const std::vector<Point> expected = {{100, 54}, {100, 46}, {100, 46}, {100, 42}, {105, 50}, {100, 58}, {100, 54}};
  EXPECT_EQ(PolygonOf(canvas), expected);
}

TEST(ArrowPolygonTest, QuarterWidthsRoundToEven) {
  // w = 14: mid +- 3.5 rounds to the even neighbour, which depends on mid.
  RecordingCanvas canvas;
  canvas.ArrowPolygon(true, {0, 50}, {40, 50}, 14, 7);
  std::vector<Point> p = PolygonOf(canvas);
  ASSERT_EQ(p.size(), 7u);
  EXPECT_EQ(p[0], (Point{0, 54}));  // 53.5 -> 54
  EXPECT_EQ(p[1], (Point{0, 46}));  // 46.5 -> 46
  EXPECT_EQ(p[3], (Point{33, 43}));
  canvas.ClearRecords();
  canvas.ArrowPolygon(true, {0, 51}, {40, 51}, 14, 7);
  p = PolygonOf(canvas);
  EXPECT_EQ(p[0], (Point{0, 54}));  // 54.5 -> 54
  EXPECT_EQ(p[1], (Point{0, 48}));  // 47.5 -> 48
}

TEST(ArrowPolygonTest, ZeroLengthDrawsNothing) {
  RecordingCanvas canvas;
  canvas.ArrowPolygon(true, {80, 50}, {80, 50}, 16, 8);
  canvas.ArrowPolygon(false, {80, 50}, {80, 50}, 16, 8);
  EXPECT_TRUE(canvas.Records().empty());
}

TEST(ArrowPolygonTest, VerticalArrowRotatesThePoints) {
  RecordingCanvas canvas;
  canvas.ArrowPolygon(true, {50, 300}, {50, 100}, 16, 8);
  const std::vector<Point> expected = {{54, 300}, {46, 300}, {46, 108}, {42, 108}, {50, 100}, {58, 108}, {54, 108}};
  EXPECT_EQ(PolygonOf(canvas), expected);
}

TEST(ArrowPolygonTest, RightPointingShortcutMatchesTheRotation) {
  for (int y = -3; y <= 3; ++y) {
    for (int length = 1; length <= 40; length += 3) {
      for (int width = 0; width <= 19; ++width) {
        for (int limit : {0, width / 2, 100}) {
          std::array<Point, 7> quick, rotated;
          ASSERT_TRUE(TCanvas::ArrowPoints({10, y}, {10 + length, y}, width, limit, quick));
          ASSERT_TRUE(TCanvas::RotatedArrowPoints({10, y}, {10 + length, y}, width, limit, rotated));
          EXPECT_EQ(quick, rotated) << y << ' ' << length << ' ' << width << ' ' << limit;
        }
      }
    }
  }
}

TEST(ArrowPolygonTest, OutlineArrowDrawsShaftThenBothHeadSides) {
  RecordingCanvas canvas;
  canvas.ArrowPolygon(false, {100, 50}, {300, 50}, 16, 8);
  const auto lines = canvas.OfKind(TCanvasOp::StrokeLine);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ((std::vector<int>{lines[0]->x0, lines[0]->y0, lines[0]->x1, lines[0]->y1}),
            (std::vector<int>{100, 50, 300, 50}));
  EXPECT_EQ((std::vector<int>{lines[1]->x1, lines[1]->y1}), (std::vector<int>{292, 58}));
  EXPECT_EQ((std::vector<int>{lines[2]->x1, lines[2]->y1}), (std::vector<int>{292, 42}));
}

struct Band {
  Rect rect;
  TColor color;
};

std::vector<Band> Bands(const RecordingCanvas& canvas) {
  std::vector<Band> bands;
  for (const TCanvasRecord* r : canvas.OfKind(TCanvasOp::FillRect)) bands.push_back({r->rect, r->brush.color});
  return bands;
}

struct GradientCase {
  int height;
  int bands;
};

void PrintTo(const GradientCase& c, std::ostream* os) {
  *os << "{height " << c.height << " -> " << c.bands << " bands}";
}

class BandedGradientTest : public ::testing::TestWithParam<GradientCase> {};

TEST_P(BandedGradientTest, BandsCoverTheRectangleFromBottomToTop) {
  const GradientCase c = GetParam();
  RecordingCanvas canvas;
  canvas.BandedGradient(Rect{0, 0, 597, c.height}, clWhite, clYellow, TGradientDirection::gdTopBottom);
  const std::vector<Band> bands = Bands(canvas);
  ASSERT_EQ(static_cast<int>(bands.size()), c.bands);
  EXPECT_EQ(bands.front().rect.bottom, c.height);
  EXPECT_EQ(bands.back().rect.top, 0);
  EXPECT_EQ(bands.front().color, clWhite);  // band 0, at the bottom, is the start colour
  // The top band is exactly the end colour; a single band keeps the start colour.
  EXPECT_EQ(bands.back().color, c.bands == 1 ? clWhite : clYellow);
  int smallest = c.height, largest = 0;
  for (std::size_t i = 0; i < bands.size(); ++i) {
    EXPECT_EQ(bands[i].rect.left, 0);
    EXPECT_EQ(bands[i].rect.right, 597);
    if (i > 0) {
      EXPECT_EQ(bands[i].rect.bottom, bands[i - 1].rect.top);
    }
    smallest = std::min(smallest, bands[i].rect.Height());
    largest = std::max(largest, bands[i].rect.Height());
  }
  EXPECT_LE(largest - smallest, 1);
}

INSTANTIATE_TEST_SUITE_P(Heights, BandedGradientTest,
                         ::testing::Values(GradientCase{504, 256}, GradientCase{256, 256}, GradientCase{100, 100},
                                           GradientCase{1, 1}),
                         [](const ::testing::TestParamInfo<GradientCase>& info) {
                           return "height" + std::to_string(info.param.height);
                         });

TEST(BandedGradientTest, BandColoursUseTheBandCountLessOneAsDenominator) {
  RecordingCanvas canvas;
  canvas.BandedGradient(Rect{0, 0, 10, 3}, RGBColor(0, 0, 0), RGBColor(0, 0, 255), TGradientDirection::gdTopBottom);
  const std::vector<Band> bands = Bands(canvas);
  ASSERT_EQ(bands.size(), 3u);
  EXPECT_EQ(BlueOf(bands[0].color), 0);
  EXPECT_EQ(BlueOf(bands[1].color), 128);  // MulDiv(1, 255, 2) = 127.5 -> 128
  EXPECT_EQ(BlueOf(bands[2].color), 255);
}

TEST(BandedGradientTest, BandsFillSolidInRunsOfEqualColourAndTheBrushIsRestored) {
  RecordingCanvas canvas;
  canvas.SetBrush(TBrush{clRed, TBrushStyle::bsClear});
  // Nearly equal colours repeat: 200 bands in four runs of one colour each.
  canvas.BandedGradient(Rect{0, 0, 50, 200}, RGBColor(0, 0, 0), RGBColor(0, 0, 3), TGradientDirection::gdTopBottom);
  EXPECT_EQ(canvas.Count(TCanvasOp::FillRect), 200);
  std::vector<TColor> runs;
  for (const TCanvasRecord* r : canvas.OfKind(TCanvasOp::FillRect)) {
    EXPECT_EQ(r->brush.style, TBrushStyle::bsSolid);
    if (runs.empty() || runs.back() != r->brush.color) runs.push_back(r->brush.color);
  }
  EXPECT_EQ(runs, (std::vector<TColor>{RGBColor(0, 0, 0), RGBColor(0, 0, 1), RGBColor(0, 0, 2), RGBColor(0, 0, 3)}));
  EXPECT_EQ(canvas.Brush(), (TBrush{clRed, TBrushStyle::bsClear}));
}

TEST(BandedGradientTest, EmptyRectanglePaintsNothing) {
  RecordingCanvas canvas;
  canvas.BandedGradient(Rect{0, 10, 100, 10}, clWhite, clYellow, TGradientDirection::gdTopBottom);
  EXPECT_TRUE(canvas.Records().empty());
}

TEST(BandedGradientTest, InvertedRectangleIsNormalised) {
  RecordingCanvas canvas;
  canvas.BandedGradient(Rect{100, 20, 0, 0}, clWhite, clYellow, TGradientDirection::gdTopBottom);
  const std::vector<Band> bands = Bands(canvas);
  ASSERT_EQ(bands.size(), 20u);
  EXPECT_EQ(bands.front().rect, (Rect{0, 19, 100, 20}));
}

TEST(BandedGradientTest, BottomTopDirectionSwapsTheColours) {
  RecordingCanvas canvas;
  canvas.BandedGradient(Rect{0, 0, 10, 10}, clWhite, clYellow, TGradientDirection::gdBottomTop);
  const std::vector<Band> bands = Bands(canvas);
  EXPECT_EQ(bands.front().color, clYellow);
  EXPECT_EQ(bands.back().color, clWhite);
}

TEST(SelectChartBrushTest, HatchInItsBackgroundColourTurnsBlackOrWhite) {
  struct Row {
    TColor color, background;
    TBrushStyle style;
    TColor expected;
    TBackgroundMode mode;
  };
  const Row rows[] = {
      {clRed, clRed, TBrushStyle::bsCross, clBlack, TBackgroundMode::bmOpaque},
      {clBlack, clBlack, TBrushStyle::bsCross, clWhite, TBackgroundMode::bmOpaque},
      {clRed, clWhite, TBrushStyle::bsCross, clRed, TBackgroundMode::bmOpaque},
      {clRed, clRed, TBrushStyle::bsSolid, clRed, TBackgroundMode::bmTransparent},
  };
  for (const Row& row : rows) {
    RecordingCanvas canvas;
    canvas.SelectChartBrush(row.color, row.style, row.background);
    EXPECT_EQ(canvas.Brush().color, row.expected);
    EXPECT_EQ(canvas.Brush().style, row.style);
    EXPECT_EQ(canvas.BackgroundMode(), row.mode);
    if (row.style != TBrushStyle::bsSolid) {
      EXPECT_EQ(canvas.BackgroundColor(), row.background);
    }
  }
}

TEST(SelectChartPenTest, InvisibleSmallDotsAndPlainPens) {
  RecordingCanvas canvas;
  canvas.SelectChartPen(TChartPen{false, clRed, 3, TPenStyle::psSolid, false});
  EXPECT_EQ(canvas.Pen().style, TPenStyle::psClear);
  canvas.SelectChartPen(TChartPen{true, clRed, 1, TPenStyle::psDot, true});
  EXPECT_TRUE(canvas.Pen().alternateDots);
  EXPECT_EQ(canvas.Pen().color, clRed);
  canvas.SelectChartPen(TChartPen{true, clBlue, 2, TPenStyle::psDot, true});  // dots only at width 1
  EXPECT_EQ(canvas.Pen(), (TPen{clBlue, 2, TPenStyle::psDot, false}));
}

TEST(ResetDrawingStateTest, ReturnsToBlackPenWhiteBrushAndTransparentText) {
  RecordingCanvas canvas;
  canvas.SetPen(TPen{clRed, 3, TPenStyle::psDot, false});
  canvas.SetBrush(TBrush{clAqua, TBrushStyle::bsClear});
  canvas.SetFont(TFont{"Arial", -16, clRed, true});
  canvas.SetBackgroundMode(TBackgroundMode::bmOpaque);
  canvas.SetBackgroundColor(clRed);
  canvas.ResetDrawingState();
  EXPECT_EQ(canvas.Pen(), (TPen{clBlack, 1, TPenStyle::psSolid, false}));
  EXPECT_EQ(canvas.Brush(), (TBrush{clWhite, TBrushStyle::bsSolid}));
  EXPECT_EQ(canvas.Font().color, clBlack);
  EXPECT_EQ(canvas.Font().height, 10);
  EXPECT_EQ(canvas.BackgroundColor(), clWhite);
  EXPECT_EQ(canvas.BackgroundMode(), TBackgroundMode::bmTransparent);
}

TEST(RecordingCanvasTest, FixedMetricsCountAsciiAndWideCharacters) {
  RecordingCanvas canvas;
  canvas.SetFont(TFont{"Arial", -16, clBlack, false});
  EXPECT_EQ(canvas.MeasureWidth("0.618"), 5 * 8);
  EXPECT_EQ(canvas.MeasureWidth("黄金"), 2 * 16);
  EXPECT_EQ(canvas.MeasureWidth("\xff"), 16);  // a malformed byte is one character
  EXPECT_EQ(canvas.TextLineHeight(), 18);
  canvas.SetFont(TFont{"宋体", -19, clBlue, true});
  EXPECT_EQ(canvas.TextLineHeight(), 21);
}

}  // namespace
}  // namespace tavimo::chart
