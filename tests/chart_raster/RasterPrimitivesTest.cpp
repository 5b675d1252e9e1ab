// Boxes, lines, polygons, clipping, pen styles and brushes, probed pixel by pixel.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "RasterProbe.h"

namespace tavimo::chart {
namespace {

using testing::CountColor;
using testing::PixelAt;
using testing::StartWhite;

constexpr TPen kBlackPen{clBlack, 1, TPenStyle::psSolid, false};
constexpr TPen kNullPen{clBlack, 1, TPenStyle::psClear, false};

class RasterPrimitives : public ::testing::Test {
 protected:
  void SetUp() override { StartWhite(canvas, 64, 64); }
  TRasterCanvas canvas;
};

TEST_F(RasterPrimitives, DrawBoxOutlinesBoundaryPixelsAndExcludesRightAndBottom) {
  canvas.SetPen(kBlackPen);
  canvas.SetBrush({clRed, TBrushStyle::bsSolid});
  canvas.DrawBox({10, 10, 20, 20});
  for (int i = 10; i < 20; ++i) {
    EXPECT_EQ(PixelAt(canvas, i, 10), clBlack) << i;
    EXPECT_EQ(PixelAt(canvas, i, 19), clBlack) << i;
    EXPECT_EQ(PixelAt(canvas, 10, i), clBlack) << i;
    EXPECT_EQ(PixelAt(canvas, 19, i), clBlack) << i;
    EXPECT_EQ(PixelAt(canvas, 20, i), clWhite) << i;
    EXPECT_EQ(PixelAt(canvas, i, 20), clWhite) << i;
    EXPECT_EQ(PixelAt(canvas, 9, i), clWhite) << i;
  }
  EXPECT_EQ(CountColor(canvas, {11, 11, 19, 19}, clRed), 64);
}

TEST_F(RasterPrimitives, DrawBoxWithNullPenOnlyFills) {
  canvas.SetPen(kNullPen);
  canvas.SetBrush({clAqua, TBrushStyle::bsSolid});
  canvas.DrawBox({10, 10, 20, 20});
  EXPECT_EQ(CountColor(canvas, {0, 0, 64, 64}, clAqua), 100);
  EXPECT_EQ(CountColor(canvas, {10, 10, 20, 20}, clAqua), 100);
}

TEST_F(RasterPrimitives, DrawBoxWithClearBrushKeepsInterior) {
  canvas.SetPen(kBlackPen);
  canvas.SetBrush({clRed, TBrushStyle::bsClear});
  canvas.DrawBox({10, 10, 20, 20});
  EXPECT_EQ(CountColor(canvas, {11, 11, 19, 19}, clWhite), 64);
  EXPECT_EQ(CountColor(canvas, {0, 0, 64, 64}, clBlack), 36);
}

TEST_F(RasterPrimitives, InvertedBoxIsNormalised) {
  canvas.SetPen(kNullPen);
  canvas.SetBrush({clBlue, TBrushStyle::bsSolid});
  canvas.FillRect({20, 20, 10, 10});
  EXPECT_EQ(CountColor(canvas, {10, 10, 20, 20}, clBlue), 100);
}

struct LineCase {
  int x0, y0, x1, y1;
  int lastX, lastY;  // the last pixel that must be set
};

void PrintTo(const LineCase& c, std::ostream* os) {
  *os << "{(" << c.x0 << ", " << c.y0 << ") to (" << c.x1 << ", " << c.y1 << "), last pixel (" << c.lastX << ", "
      << c.lastY << ")}";
}

class RasterLineEnds : public RasterPrimitives, public ::testing::WithParamInterface<LineCase> {};

TEST_P(RasterLineEnds, SetsEveryPixelButTheEnd) {
  const LineCase c = GetParam();
  canvas.SetPen(kBlackPen);
  canvas.StrokeLine(c.x0, c.y0, c.x1, c.y1);
  EXPECT_EQ(PixelAt(canvas, c.x0, c.y0), clBlack);
  EXPECT_EQ(PixelAt(canvas, c.lastX, c.lastY), clBlack);
  EXPECT_EQ(PixelAt(canvas, c.x1, c.y1), clWhite);
  const int length = std::max(std::abs(c.x1 - c.x0), std::abs(c.y1 - c.y0));
  EXPECT_EQ(CountColor(canvas, {0, 0, 64, 64}, clBlack), length);
}

INSTANTIATE_TEST_SUITE_P(Directions, RasterLineEnds,
                         ::testing::Values(LineCase{5, 5, 15, 5, 14, 5}, LineCase{15, 5, 5, 5, 6, 5},
                                           LineCase{5, 5, 5, 15, 5, 14}, LineCase{5, 15, 5, 5, 5, 6},
                                           LineCase{0, 0, 10, 10, 9, 9}, LineCase{20, 30, 10, 20, 11, 21},
                                           LineCase{2, 40, 32, 50, 31, 50}),
                         [](const ::testing::TestParamInfo<LineCase>& info) {
                           const LineCase& c = info.param;
                           return "from" + std::to_string(c.x0) + "_" + std::to_string(c.y0) + "_to" +
                                  std::to_string(c.x1) + "_" + std::to_string(c.y1);
                         });

TEST_F(RasterPrimitives, ZeroLengthLineDrawsNothing) {
  canvas.SetPen(kBlackPen);
  canvas.StrokeLine(7, 7, 7, 7);
  EXPECT_EQ(CountColor(canvas, {0, 0, 64, 64}, clBlack), 0);
}

TEST_F(RasterPrimitives, TwoPixelLineIsCentredOnItsCoordinate) {
  canvas.SetPen({clBlack, 2, TPenStyle::psSolid, false});
  canvas.StrokeLine(30, 10, 30, 20);
  EXPECT_EQ(CountColor(canvas, {29, 10, 31, 20}, clBlack), 20);
  EXPECT_EQ(CountColor(canvas, {0, 0, 64, 64}, clBlack), 20);
}

TEST_F(RasterPrimitives, DottedPenSetsEveryOtherPixelFromTheStart) {
  canvas.SetPen({clGray, 1, TPenStyle::psDot, false});
  canvas.StrokeLine(0, 50, 21, 50);
  for (int x = 0; x < 21; ++x) EXPECT_EQ(PixelAt(canvas, x, 50), x % 2 == 0 ? clGray : clWhite) << x;
  EXPECT_EQ(PixelAt(canvas, 21, 50), clWhite);
}

TEST_F(RasterPrimitives, ClippedDottedLinesKeepThePhaseOfTheirStart) {
  canvas.SetPen({clGray, 1, TPenStyle::psDot, false});
  canvas.ClipTo({5, 0, 64, 64});
  canvas.StrokeLine(0, 50, 21, 50);  // on at even x
  canvas.ClearClip();
  canvas.ClipTo({0, 0, 10, 64});
  canvas.StrokeLine(21, 40, 0, 40);  // leftward from 21: on at odd x, the end pixel 0 not set
  canvas.ClipTo({0, 30, 64, 35});
  canvas.StrokeLine(4, 60, 4, 0);  // upward from 60: on at even y
  canvas.ClearClip();
  for (int x = 0; x < 30; ++x) {
    EXPECT_EQ(PixelAt(canvas, x, 50), x >= 5 && x < 21 && x % 2 == 0 ? clGray : clWhite) << x;
    EXPECT_EQ(PixelAt(canvas, x, 40), x >= 1 && x < 10 && x % 2 == 1 ? clGray : clWhite) << x;
  }
  for (int y = 0; y < 64; ++y) EXPECT_EQ(PixelAt(canvas, 4, y), y >= 30 && y < 35 && y % 2 == 0 ? clGray : clWhite) << y;
}

TEST_F(RasterPrimitives, DottedLineOutsideTheClipDrawsNothing) {
  canvas.SetPen({clGray, 1, TPenStyle::psDot, false});
  canvas.ClipTo({10, 10, 20, 20});
  canvas.StrokeLine(0, 5, 64, 5);
  canvas.StrokeLine(0, 15, 8, 15);
  canvas.StrokeLine(5, 0, 5, 64);
  EXPECT_EQ(CountColor(canvas, {0, 0, 64, 64}, clGray), 0);
}

TEST_F(RasterPrimitives, AlternateDotsPenSetsEveryOtherPixel) {
  canvas.SetPen({clRed, 1, TPenStyle::psSolid, true});
  canvas.StrokeLine(40, 30, 40, 10);
  for (int y = 11; y <= 30; ++y) EXPECT_EQ(PixelAt(canvas, 40, y), (30 - y) % 2 == 0 ? clRed : clWhite) << y;
}

TEST_F(RasterPrimitives, OpaqueModeFillsPenGapsWithBackground) {
  canvas.SetPen({clBlack, 1, TPenStyle::psDot, false});
  canvas.SetBackgroundMode(TBackgroundMode::bmOpaque);
  canvas.SetBackgroundColor(clLime);
  canvas.StrokeLine(0, 5, 10, 5);
  EXPECT_EQ(CountColor(canvas, {0, 5, 10, 6}, clBlack), 5);
  EXPECT_EQ(CountColor(canvas, {0, 5, 10, 6}, clLime), 5);
}

TEST_F(RasterPrimitives, DashedPenFollowsItsPattern) {
  canvas.SetPen({clBlack, 1, TPenStyle::psDash, false});
  canvas.StrokeLine(0, 5, 16, 5);
  // 6 on, 2 off, twice.
  EXPECT_EQ(CountColor(canvas, {0, 5, 16, 6}, clBlack), 12);
  EXPECT_EQ(PixelAt(canvas, 6, 5), clWhite);
  EXPECT_EQ(PixelAt(canvas, 8, 5), clBlack);
}

TEST_F(RasterPrimitives, PolygonIsFilledAndOutlinedIncludingItsFarEdges) {
  canvas.SetPen(kBlackPen);
  canvas.SetBrush({clYellow, TBrushStyle::bsSolid});
  const Point square[] = {{10, 10}, {20, 10}, {20, 20}, {10, 20}};
  canvas.FillPolygon(square, 4);
  EXPECT_EQ(CountColor(canvas, {11, 11, 20, 20}, clYellow), 81);
  for (int i = 10; i <= 20; ++i) {
    EXPECT_EQ(PixelAt(canvas, i, 10), clBlack) << i;
    EXPECT_EQ(PixelAt(canvas, 20, i), clBlack) << i;
    EXPECT_EQ(PixelAt(canvas, i, 20), clBlack) << i;
    EXPECT_EQ(PixelAt(canvas, 10, i), clBlack) << i;
  }
  EXPECT_EQ(PixelAt(canvas, 21, 15), clWhite);
}

TEST_F(RasterPrimitives, SelfCrossingPolygonUsesTheOddEvenRule) {
  // A pentagram: its centre is covered twice, so the odd-even rule leaves it unfilled.
  canvas.SetPen(kNullPen);
  canvas.SetBrush({clRed, TBrushStyle::bsSolid});
  const Point star[] = {{32, 2}, {50, 58}, {4, 22}, {60, 22}, {14, 58}};
  canvas.FillPolygon(star, 5);
  EXPECT_EQ(PixelAt(canvas, 32, 34), clWhite);
  EXPECT_EQ(PixelAt(canvas, 32, 10), clRed);
  EXPECT_EQ(PixelAt(canvas, 12, 24), clRed);
}

// Whether the centre of pixel (x, y) lies inside by the odd-even rule: a ray
// to the right crosses an odd number of edges (exact integer arithmetic).
bool CentreInside(const std::vector<Point>& shape, int x, int y) {
  bool inside = false;
  for (std::size_t i = 0; i < shape.size(); ++i) {
    const Point a = shape[i];
    const Point b = shape[(i + 1) % shape.size()];
    // Centre (x + 1/2, y + 1/2), doubled to stay in integers.
    const long long cy = 2LL * y + 1;
    if ((2LL * a.y > cy) == (2LL * b.y > cy)) continue;
    // Crossing xc = a.x + (cy/2 - a.y) * (b.x - a.x) / (b.y - a.y); the ray counts it when cx < xc.
    const long long dy = b.y - a.y;
    const long long lhs = (2LL * x + 1 - 2LL * a.x) * dy;
    const long long rhs = (cy - 2LL * a.y) * (b.x - a.x);
    if (dy > 0 ? lhs < rhs : lhs > rhs) inside = !inside;
  }
  return inside;
}

TEST(RasterPolygonFill, SetsExactlyThePixelsWhoseCentresAreInside) {
  // Arrows as the bars draw them, thin slivers, a concave notch, a star and
  // long shallow edges.
  const std::vector<std::vector<Point>> shapes = {
      {{108, 48}, {108, 44}, {261, 44}, {261, 41}, {266, 46}, {261, 51}, {261, 48}},
      {{3, 7}, {3, 3}, {9, 3}, {9, 1}, {12, 5}, {9, 9}, {9, 7}},
      {{0, 0}, {290, 3}, {5, 1}},
      {{40, 10}, {80, 60}, {40, 40}, {0, 60}},
      {{150, 2}, {168, 58}, {122, 22}, {178, 22}, {132, 58}},
      {{10, 50}, {290, 57}, {290, 58}, {10, 59}},
      {{200, 10}, {201, 40}, {230, 11}},
      {{250, 60}, {299, 5}, {270, 63}, {251, 1}},
  };
  for (std::size_t k = 0; k < shapes.size(); ++k) {
    TRasterCanvas canvas;
    StartWhite(canvas, 300, 64);
    canvas.SetPen(kNullPen);
    canvas.SetBrush({clBlack, TBrushStyle::bsSolid});
    canvas.FillPolygon(shapes[k].data(), static_cast<int>(shapes[k].size()));
    int differing = 0;
    int filled = 0;
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 300; ++x) {
        const bool black = PixelAt(canvas, x, y) == clBlack;
        filled += black;
        differing += black != CentreInside(shapes[k], x, y);
      }
    EXPECT_EQ(differing, 0) << "shape " << k;
    EXPECT_GT(filled, 0) << "shape " << k;
  }
}

TEST_F(RasterPrimitives, ClipIntersectsAndClears) {
  canvas.SetPen(kNullPen);
  canvas.SetBrush({clBlue, TBrushStyle::bsSolid});
  canvas.ClipTo({10, 10, 20, 20});
  canvas.ClipTo({15, 15, 30, 30});
  canvas.FillRect({0, 0, 64, 64});
  EXPECT_EQ(CountColor(canvas, {0, 0, 64, 64}, clBlue), 25);
  EXPECT_EQ(CountColor(canvas, {15, 15, 20, 20}, clBlue), 25);

  canvas.SetPen(kBlackPen);
  canvas.StrokeLine(0, 17, 64, 17);
  EXPECT_EQ(CountColor(canvas, {0, 0, 64, 64}, clBlack), 5);

  canvas.ClearClip();
  canvas.SetBrush({clRed, TBrushStyle::bsSolid});
  canvas.FillRect({0, 0, 64, 64});
  EXPECT_EQ(CountColor(canvas, {0, 0, 64, 64}, clRed), 64 * 64);
}

TEST_F(RasterPrimitives, ClipAppliesToPolygonsAndHatches) {
  canvas.SetPen(kNullPen);
  canvas.SetBrush({clRed, TBrushStyle::bsSolid});
  canvas.ClipTo({0, 0, 16, 64});
  const Point square[] = {{10, 10}, {30, 10}, {30, 30}, {10, 30}};
  canvas.FillPolygon(square, 4);
  EXPECT_EQ(CountColor(canvas, {0, 0, 64, 64}, clRed), 6 * 20);
  canvas.SetBrush({clBlue, TBrushStyle::bsCross});
  canvas.FillRect({0, 40, 64, 60});
  EXPECT_GT(CountColor(canvas, {0, 40, 16, 60}, clBlue), 0);
  EXPECT_EQ(CountColor(canvas, {16, 0, 64, 64}, clBlue), 0);
}

TEST_F(RasterPrimitives, DisjointClipDrawsNothing) {
  canvas.SetPen(kBlackPen);
  canvas.SetBrush({clRed, TBrushStyle::bsSolid});
  canvas.ClipTo({0, 0, 10, 10});
  canvas.ClipTo({20, 20, 30, 30});
  canvas.DrawBox({0, 0, 64, 64});
  canvas.StrokeLine(0, 25, 64, 25);
  EXPECT_EQ(CountColor(canvas, {0, 0, 64, 64}, clWhite), 64 * 64);
}

TEST_F(RasterPrimitives, HatchShowsBackgroundOnlyInOpaqueMode) {
  canvas.SetPen(kNullPen);
  canvas.SetBrush({clBlack, TBrushStyle::bsHorizontal});
  canvas.FillRect({0, 0, 16, 16});
  const int lines = CountColor(canvas, {0, 0, 16, 16}, clBlack);
  EXPECT_GT(lines, 0);
  EXPECT_EQ(lines % 16, 0) << "horizontal hatch lines span the full width";
  EXPECT_EQ(CountColor(canvas, {0, 0, 16, 16}, clWhite), 256 - lines);

  canvas.SetBackgroundMode(TBackgroundMode::bmOpaque);
  canvas.SetBackgroundColor(clLime);
  canvas.FillRect({20, 0, 36, 16});
  EXPECT_EQ(CountColor(canvas, {20, 0, 36, 16}, clBlack), lines);
  EXPECT_EQ(CountColor(canvas, {20, 0, 36, 16}, clLime), 256 - lines);
}

TEST(RasterCanvasImage, SetupKeepsTheImageAtTheSameSizeAndReplacesItOtherwise) {
  TRasterCanvas canvas;
  EXPECT_EQ(canvas.SetupWindow(40, 30), (Rect{0, 0, 40, 30}));
  canvas.SetPen(kNullPen);
  canvas.SetBrush({clRed, TBrushStyle::bsSolid});
  canvas.FillRect({0, 0, 40, 30});
  canvas.ShowImage();
  const qint64 first = canvas.Image().cacheKey() >> 32;

  canvas.SetupWindow(40, 30);
  canvas.ShowImage();
  EXPECT_EQ(canvas.Image().cacheKey() >> 32, first);
  EXPECT_EQ(PixelAt(canvas, 39, 29), clRed) << "the previous frame stays until drawn over";

  EXPECT_EQ(canvas.SetupWindow(50, 20), (Rect{0, 0, 50, 20}));
  canvas.ShowImage();
  EXPECT_EQ(canvas.Image().size(), QSize(50, 20));
  EXPECT_NE(canvas.Image().cacheKey() >> 32, first);
}

TEST(RasterCanvasImage, CopiesTakenBeforeAFrameKeepTheirPixels) {
  TRasterCanvas canvas;
  canvas.SetupWindow(8, 8);
  canvas.SetPen(kNullPen);
  canvas.SetBrush({clRed, TBrushStyle::bsSolid});
  canvas.FillRect({0, 0, 8, 8});
  canvas.ShowImage();
  const QImage shown = canvas.Image();
  canvas.SetupWindow(8, 8);
  canvas.SetBrush({clBlue, TBrushStyle::bsSolid});
  canvas.FillRect({0, 0, 8, 8});
  canvas.ShowImage();
  EXPECT_EQ(shown.pixel(3, 3) & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(PixelAt(canvas, 3, 3), clBlue);
}

TEST(RasterCanvasImage, CopiesTakenBetweenPrimitivesKeepTheirPixels) {
  TRasterCanvas canvas;
  StartWhite(canvas, 8, 8);
  const QImage before = canvas.Image();
  canvas.SetPen(kBlackPen);
  canvas.StrokeLine(0, 0, 8, 0);  // direct pixel writes
  const QImage middle = canvas.Image();
  canvas.SetBrush({clRed, TBrushStyle::bsSolid});
  const Point triangle[] = {{0, 2}, {7, 2}, {0, 7}};
  canvas.FillPolygon(triangle, 3);  // drawn by the painter
  EXPECT_EQ(before.pixel(3, 0) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(middle.pixel(3, 0) & 0xFFFFFF, 0u);
  EXPECT_EQ(middle.pixel(1, 4) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(PixelAt(canvas, 1, 4), clRed);
}

TEST(RasterCanvasImage, EmptySizeDrawsNothingAndDoesNotFail) {
  TRasterCanvas canvas;
  EXPECT_EQ(canvas.SetupWindow(0, 10), (Rect{0, 0, 0, 10}));
  canvas.SetPen(kBlackPen);
  canvas.DrawBox({0, 0, 5, 5});
  canvas.StrokeLine(0, 0, 5, 5);
  canvas.PutText(0, 0, "x");
  canvas.ShowImage();
  EXPECT_TRUE(canvas.Image().isNull());
}


// Column lines written together give the pixels of the same lines drawn one
// by one: crowded, overlapping, upside down, empty, clipped, at several scales.
TEST(RasterColumnLines, GiveThePixelsOfTheLinesDrawnOneByOne) {
  std::mt19937 random(11);
  for (const double scale : {1.0, 1.5, 2.0}) {
    std::vector<TColumnLine> lines;
    const TColor colors[] = {clRed, clGreen, clBlue, clNone};
    for (int i = 0; i < 400; ++i) {
      const int x = static_cast<int>(random() % 90) - 5 + (i % 3 == 0 ? 0 : i / 5);
      const int a = static_cast<int>(random() % 110) - 5, b = static_cast<int>(random() % 110) - 5;
      lines.push_back({x, a, i % 7 == 0 ? a : b, colors[random() % 4]});
    }
    TRasterCanvas together, oneByOne;
    for (TRasterCanvas* canvas : {&together, &oneByOne}) {
      canvas->SetScale(scale);
      StartWhite(*canvas, 100, 100);
      canvas->ClipTo({3, 4, 95, 90});
    }
    together.StrokeColumnLines(lines);
    oneByOne.TCanvas::StrokeColumnLines(lines);
    EXPECT_TRUE(together.Image() == oneByOne.Image()) << scale;
    EXPECT_EQ(together.Pen().color, lines.back().color);
  }
}

}  // namespace
}  // namespace tavimo::chart
