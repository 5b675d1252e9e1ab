// The raster canvas at a device pixel ratio: design pixels mapped to device
// pixels once, lines at the device resolution, text from the scaled font.
#include <gtest/gtest.h>

#include "RasterProbe.h"

namespace tavimo::chart {
namespace {

using testing::CountColor;
using testing::InkBounds;
using testing::PixelAt;
using testing::StartWhite;

constexpr TPen kBlackPen{clBlack, 1, TPenStyle::psSolid, false};
const TFont kArial16{"Arial", -16, clBlack, false, false, false, false};

TEST(RasterScale, ImageHasTheDeviceSizeAndIsMarkedWithTheScaleOnceShown) {
  TRasterCanvas canvas;
  canvas.SetScale(1.5);
  EXPECT_EQ(canvas.SetupWindow(599, 10), (Rect{0, 0, 599, 10})) << "the chart keeps its design size";
  canvas.ShowImage();
  EXPECT_EQ(canvas.Image().size(), QSize(899, 15));
  EXPECT_EQ(canvas.Image().devicePixelRatio(), 1.5);
  // Drawing on after it was shown still addresses device pixels.
  canvas.SetPen({clBlack, 1, TPenStyle::psClear, false});
  canvas.SetBrush({clRed, TBrushStyle::bsSolid});
  canvas.FillRect({2, 2, 4, 4});
  canvas.ShowImage();
  EXPECT_EQ(InkBounds(canvas, {0, 0, 20, 15}, PixelAt(canvas, 10, 10)), (Rect{3, 3, 6, 6}));
}

TEST(RasterScale, AtTwiceTheScaleAOnePixelLineCoversItsDesignPixels) {
  TRasterCanvas canvas;
  canvas.SetScale(2);
  StartWhite(canvas, 40, 20);
  canvas.SetPen(kBlackPen);
  canvas.StrokeLine(5, 3, 15, 3);  // forward: design pixels 5 to 14
  canvas.StrokeLine(15, 9, 5, 9);  // backward: design pixels 15 down to 6
  EXPECT_EQ(InkBounds(canvas, {0, 0, 80, 12}, clWhite), (Rect{10, 6, 30, 8}));
  EXPECT_EQ(InkBounds(canvas, {0, 12, 80, 40}, clWhite), (Rect{12, 18, 32, 20}));
  EXPECT_EQ(CountColor(canvas, {0, 0, 80, 40}, clBlack), 2 * 20 * 2);
}

// Where the design pixels do not fall on whole device pixels, a one-pixel
// line is as wide as one scaled pixel and lies at the far side of its design
// pixel, so the lines along the image's edges (the bevel) end flush with it.
TEST(RasterScale, AtAFractionalScaleLinesAndBoxesEndFlushWithTheImage) {
  TRasterCanvas canvas;
  canvas.SetScale(1.25);
  StartWhite(canvas, 598, 20);  // 747.5 x 25 device pixels: 748 x 25
  ASSERT_EQ(canvas.Image().size(), QSize(748, 25));
  canvas.SetPen(kBlackPen);
  canvas.StrokeLine(597, 0, 597, 20);
  canvas.StrokeLine(0, 19, 598, 19);
  for (int y = 0; y < 25; ++y) {
    EXPECT_EQ(PixelAt(canvas, 747, y), clBlack) << y;
    EXPECT_EQ(PixelAt(canvas, 746, y), y == 24 ? clBlack : clWhite) << y;
  }
  EXPECT_EQ(CountColor(canvas, {0, 24, 748, 25}, clBlack), 748);
  EXPECT_EQ(CountColor(canvas, {0, 23, 748, 24}, clBlack), 1);

  StartWhite(canvas, 598, 20);
  canvas.SetPen(kBlackPen);
  canvas.SetBrush({clAqua, TBrushStyle::bsSolid});
  canvas.DrawBox({0, 0, 598, 20});
  for (const QPoint p : {QPoint(0, 12), QPoint(747, 12), QPoint(300, 0), QPoint(300, 24)})
    EXPECT_EQ(PixelAt(canvas, p.x(), p.y()), clBlack) << p.x() << "," << p.y();
  EXPECT_EQ(PixelAt(canvas, 1, 12), clAqua);
  EXPECT_EQ(PixelAt(canvas, 746, 12), clAqua);
}

// A slanted line steps one device pixel at a time, as thick as a scaled
// pixel: no staircase of enlarged pixels.
TEST(RasterScale, SlantedLinesStepOneDevicePixelAtATime) {
  TRasterCanvas canvas;
  canvas.SetScale(2);
  StartWhite(canvas, 20, 20);
  canvas.SetPen(kBlackPen);
  canvas.StrokeLine(0, 0, 10, 10);
  int previous = -1;
  for (int y = 1; y < 19; ++y) {
    const Rect row = InkBounds(canvas, {0, y, 40, y + 1}, clWhite);
    ASSERT_EQ(row.Width(), 2) << y;
    EXPECT_EQ(CountColor(canvas, {0, y, 40, y + 1}, clBlack), 2) << y;
    if (previous >= 0) {
      EXPECT_EQ(row.left, previous + 1) << y;
    }
    previous = row.left;
  }
}

TEST(RasterScale, DottedLinesKeepTheDesignsDotsAtTheScale) {
  TRasterCanvas canvas;
  canvas.SetScale(2);
  StartWhite(canvas, 20, 4);
  canvas.SetPen({clGray, 1, TPenStyle::psDot, false});
  canvas.StrokeLine(1, 1, 11, 1);
  for (int x = 0; x < 26; ++x) {
    const bool dot = x >= 2 && x < 22 && (x - 2) % 4 < 2;
    EXPECT_EQ(PixelAt(canvas, x, 2) == clGray, dot) << x;
    EXPECT_EQ(PixelAt(canvas, x, 3) == clGray, dot) << x;
  }
  EXPECT_EQ(CountColor(canvas, {0, 0, 40, 8}, clGray), 5 * 4);
  // The cosmetic pen is the hairline: every other device pixel, one device pixel wide.
  StartWhite(canvas, 20, 4);
  canvas.SetPen({clGray, 1, TPenStyle::psSolid, true});
  canvas.StrokeLine(1, 1, 11, 1);
  EXPECT_EQ(CountColor(canvas, {0, 0, 40, 8}, clGray), 10);
}

TEST(RasterScale, TextIsMeasuredAtTheDesignSizeAndDrawnFromTheScaledFont) {
  TRasterCanvas one;
  StartWhite(one, 100, 40);
  one.SetFont(kArial16);
  TRasterCanvas two;
  two.SetScale(2);
  StartWhite(two, 100, 40);
  two.SetFont(kArial16);
  EXPECT_EQ(two.MeasureWidth("0.618"), one.MeasureWidth("0.618"));
  EXPECT_EQ(two.MeasureHeight("0.618"), one.MeasureHeight("0.618"));
  one.PutText(10, 10, "0.618");
  two.PutText(10, 10, "0.618");
  const Rect a = InkBounds(one, {0, 0, 100, 40}, clWhite);
  const Rect b = InkBounds(two, {0, 0, 200, 80}, clWhite);
  // The same place and extent at the scale, within a device pixel at each edge.
  EXPECT_NEAR(b.left, 2 * a.left, 1);
  EXPECT_NEAR(b.top, 2 * a.top, 1);
  EXPECT_NEAR(b.right, 2 * a.right, 2);
  EXPECT_NEAR(b.bottom, 2 * a.bottom, 1);
}

}  // namespace
}  // namespace tavimo::chart
