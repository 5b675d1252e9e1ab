// Text placement, background modes, measurement and face matching.
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>

#include "ParamText.h"
#include "RasterProbe.h"
#include "chart/RasterFonts.h"

namespace tavimo::chart {
namespace {

using testing::CountColor;
using testing::InkBounds;
using testing::PixelAt;
using testing::StartWhite;

const TFont kArial16{"Arial", -16, clBlack, false, false, false, false};

class RasterText : public ::testing::Test {
 protected:
  void SetUp() override {
    StartWhite(canvas, 200, 80);
    canvas.SetFont(kArial16);
  }
  TRasterCanvas canvas;
};

TEST_F(RasterText, LeftTopAnchorPutsTheCellAtThePoint) {
  const int w = canvas.MeasureWidth("Hello");
  const int h = canvas.MeasureHeight("Hello");
  canvas.PutText(20, 10, "Hello");
  const Rect ink = InkBounds(canvas, {0, 0, 200, 80}, clWhite);
  ASSERT_FALSE(ink.IsEmpty());
  EXPECT_GE(ink.left, 20);
  EXPECT_LE(ink.left, 22);
  EXPECT_LE(ink.right, 20 + w);
  EXPECT_GE(ink.top, 10);
  EXPECT_LE(ink.bottom, 10 + h);
}

TEST_F(RasterText, CentreAnchorCentresTheTextOnX) {
  canvas.SetTextAnchor(kTextAlignCenter);
  canvas.PutText(100, 10, "0.618");
  const Rect ink = InkBounds(canvas, {0, 0, 200, 80}, clWhite);
  ASSERT_FALSE(ink.IsEmpty());
  const int leftGap = 100 - ink.left;
  const int rightGap = ink.right - 100;
  EXPECT_LE(std::abs(leftGap - rightGap), 2) << ink.left << ".." << ink.right;
  EXPECT_GE(ink.top, 10);
}

TEST_F(RasterText, RightAnchorEndsTheTextAtX) {
  canvas.SetTextAnchor(kTextAlignRight);
  canvas.PutText(150, 10, "1.809");
  const Rect ink = InkBounds(canvas, {0, 0, 200, 80}, clWhite);
  ASSERT_FALSE(ink.IsEmpty());
  EXPECT_LE(ink.right, 150);
  EXPECT_GE(ink.right, 147);
  EXPECT_LT(ink.left, 150 - canvas.MeasureWidth("1.809") / 2);
}

TEST_F(RasterText, BottomAnchorPutsTheCellAboveY) {
  canvas.SetTextAnchor(kTextAlignBottom);
  canvas.PutText(20, 60, "Hy");
  const Rect ink = InkBounds(canvas, {0, 0, 200, 80}, clWhite);
  ASSERT_FALSE(ink.IsEmpty());
  EXPECT_LE(ink.bottom, 60);
  EXPECT_GE(ink.top, 60 - canvas.MeasureHeight("Hy"));
}

TEST_F(RasterText, OpaqueBackgroundFillsTheCellTransparentLeavesIt) {
  const int w = canvas.MeasureWidth("Wg");
  const int h = canvas.MeasureHeight("Wg");
  canvas.SetBackgroundColor(clAqua);
  canvas.SetBackgroundMode(TBackgroundMode::bmTransparent);
  canvas.PutText(10, 10, "Wg");
  EXPECT_EQ(CountColor(canvas, {0, 0, 200, 80}, clAqua), 0);

  canvas.SetBackgroundMode(TBackgroundMode::bmOpaque);
  canvas.PutText(100, 10, "Wg");
  const int aqua = CountColor(canvas, {100, 10, 100 + w, 10 + h}, clAqua);
  EXPECT_GT(aqua, w * h / 2);
  EXPECT_EQ(CountColor(canvas, {0, 0, 200, 80}, clAqua), aqua) << "nothing outside the cell";
  EXPECT_EQ(PixelAt(canvas, 100, 10 + h - 1), clAqua);
  EXPECT_EQ(PixelAt(canvas, 100 + w, 10), clWhite);
}

TEST_F(RasterText, TextTakesTheFontColour) {
  canvas.SetFont({"Arial", -16, clRed, true, false, false, false});
  canvas.PutText(10, 10, "IIII");
  EXPECT_GT(CountColor(canvas, {0, 0, 200, 80}, clRed), 20);
  EXPECT_EQ(CountColor(canvas, {0, 0, 200, 80}, clBlack), 0);
}

TEST_F(RasterText, RepeatedTextDrawsTheSamePixels) {
  canvas.PutText(10, 10, "12,345.6");
  canvas.PutText(10, 40, "12,345.6");
  const QImage& img = canvas.Image();
  EXPECT_EQ(img.copy(0, 10, 200, 30), img.copy(0, 40, 200, 30));
}

TEST_F(RasterText, CachedInkMatchesTheToolkitsOwnTextDrawing) {
  const std::string text = "Tavimo 1,618.5 j/W";
  canvas.PutText(10, 10, text);
  canvas.PutText(13, 45, text);  // drawn from the cache
  QImage reference(200, 80, QImage::Format_RGB32);
  reference.fill(Qt::white);
  {
    QPainter p(&reference);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    QFont aliased = MakeQFont(kArial16);
    aliased.setStyleStrategy(QFont::NoAntialias);
    p.setFont(aliased);
    p.setPen(Qt::black);
    const int ascent = LineMetrics(MakeQFont(kArial16)).ascent;
    p.drawText(QPoint(10, 10 + ascent), QString::fromStdString(text));
    p.drawText(QPoint(13, 45 + ascent), QString::fromStdString(text));
  }
  EXPECT_EQ(canvas.Image(), reference);
}

TEST_F(RasterText, ClipCutsText) {
  canvas.ClipTo({0, 0, 25, 80});
  canvas.PutText(10, 10, "WWWW");
  const Rect ink = InkBounds(canvas, {0, 0, 200, 80}, clWhite);
  ASSERT_FALSE(ink.IsEmpty());
  EXPECT_LE(ink.right, 25);
}

TEST_F(RasterText, MeasuresAdvanceAndLineHeight) {
  const QFontMetrics fm(MakeQFont(kArial16));
  EXPECT_EQ(canvas.MeasureHeight("W"), LineMetrics(MakeQFont(kArial16)).Height());
  EXPECT_EQ(canvas.MeasureHeight(""), canvas.MeasureHeight("W")) << "line height for any text";
  EXPECT_EQ(canvas.MeasureWidth(""), 0);
  EXPECT_EQ(canvas.MeasureWidth("W"), fm.horizontalAdvance(QStringLiteral("W")));
  EXPECT_EQ(canvas.MeasureWidth("WW"), 2 * canvas.MeasureWidth("W")) << "whole-pixel advances, no kerning";
  EXPECT_EQ(canvas.MeasureWidth("AV"), canvas.MeasureWidth("A") + canvas.MeasureWidth("V"));
}

TEST(RasterFonts, LineHeightRoundsTheWindowsAscentAndDescentUp) {
  // Liberation Sans: 1854 and 434 of 2048 units; at 16 pixels 14.48 and 3.39.
  const TLineMetrics arial16 = LineMetrics(MakeQFont(kArial16));
  EXPECT_EQ(arial16.ascent, 15);
  EXPECT_EQ(arial16.descent, 4);
  // At 2048 pixels the scale is exact: no rounding up through float error.
  const TLineMetrics exact = LineMetrics(MakeQFont({"Arial", -2048, clBlack, false, false, false, false}));
  EXPECT_EQ(exact.ascent, 1854);
  EXPECT_EQ(exact.descent, 434);
}

TEST_F(RasterText, TextSitsOnTheBaselineAtTheAscent) {
  // 'H' stands on the baseline: its lowest ink row is just above top + ascent.
  canvas.PutText(10, 10, "H");
  const Rect ink = InkBounds(canvas, {0, 0, 200, 80}, clWhite);
  EXPECT_EQ(ink.bottom, 10 + LineMetrics(MakeQFont(kArial16)).ascent);
}

TEST_F(RasterText, FontChangesChangeMeasurement) {
  const int regular = canvas.MeasureWidth("Tavimo 1.618");
  canvas.SetFont({"Arial", -16, clBlack, true, false, false, false});
  const int bold = canvas.MeasureWidth("Tavimo 1.618");
  canvas.SetFont({"Arial", -32, clBlack, false, false, false, false});
  const int big = canvas.MeasureWidth("Tavimo 1.618");
  EXPECT_GT(bold, regular);
  EXPECT_GE(big, 2 * regular - 2);
  canvas.SetFont(kArial16);
  EXPECT_EQ(canvas.MeasureWidth("Tavimo 1.618"), regular);
}

TEST_F(RasterText, ChineseTextIsMeasuredAndDrawn) {
  canvas.SetFont({"宋体", -27, clRed, true, false, false, false});
  EXPECT_GE(canvas.MeasureWidth("黄"), 24);
  canvas.PutText(10, 10, "黄金");
  EXPECT_GT(CountColor(canvas, {0, 0, 200, 80}, clRed), 50);
}

TEST_F(RasterText, UnderlineDrawsALineUnderTheText) {
  canvas.SetFont({"Arial", -16, clBlack, false, false, true, false});
  canvas.PutText(10, 10, "....");
  const int w = canvas.MeasureWidth("....");
  const Rect ink = InkBounds(canvas, {0, 0, 200, 80}, clWhite);
  EXPECT_GE(ink.Width(), w - 2) << "the underline spans the advance";
}

struct FaceCase {
  const char* face;
  const char* family;
};

void PrintTo(const FaceCase& c, std::ostream* os) {
  *os << "{" << param_text::Quoted(c.face) << " -> " << param_text::Quoted(c.family) << "}";
}

class FaceMatching : public ::testing::TestWithParam<FaceCase> {};

TEST_P(FaceMatching, StoredFaceFindsItsInstalledFamily) {
  const FaceCase c = GetParam();
  const QFontInfo info(MakeQFont({c.face, -16, clBlack, false, false, false, false}));
  EXPECT_EQ(info.family().toStdString(), c.family);
  EXPECT_EQ(info.pixelSize(), 16);
}

INSTANTIATE_TEST_SUITE_P(Faces, FaceMatching,
                         ::testing::Values(FaceCase{"Arial", "Liberation Sans"},
                                           FaceCase{"MS Sans Serif", "Liberation Sans"},
                                           FaceCase{"宋体", "AR PL UMing CN"}, FaceCase{"SimSun", "AR PL UMing CN"},
                                           FaceCase{"Liberation Serif", "Liberation Serif"}),
                         [](const ::testing::TestParamInfo<FaceCase>& info) {
                           return param_text::Name(info.param.face);
                         });

TEST(RasterFonts, PositiveHeightIsAPointSizeAtNinetySixDpi) {
  EXPECT_EQ(MakeQFont({"Arial", 12, clBlack, false, false, false, false}).pixelSize(), 16);
  EXPECT_EQ(MakeQFont({"Arial", -27, clBlack, true, false, false, false}).pixelSize(), 27);
  const QFont styled = MakeQFont({"Arial", -10, clBlack, true, true, true, true});
  EXPECT_TRUE(styled.bold());
  EXPECT_TRUE(styled.italic());
  EXPECT_TRUE(styled.underline());
  EXPECT_TRUE(styled.strikeOut());
}

TEST(RasterFonts, VerticalFacePrefixIsIgnoredForMatching) {
  EXPECT_EQ(FaceFamilies("@宋体").front(), QStringLiteral("AR PL UMing CN"));
}

}  // namespace
}  // namespace tavimo::chart
