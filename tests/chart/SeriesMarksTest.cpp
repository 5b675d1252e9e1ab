// Value marks: their text, box and connecting line, drawing order and stored positions.

#include <gtest/gtest.h>

#include "ChartTestSupport.h"

namespace tavimo::chart {
namespace {

using testing::kSixteenRatios;
using testing::MainChartWith;

// The mark box of the main chart's font: text width + "W" width + frame, one line + frame.
constexpr int kWWidth = 8;
constexpr int kLineHeight = 18;

TEST(MarkCaptionTest, ValuesAreFormattedWithTheSeriesFormat) {
  auto t = MainChartWith({"a", "b", "c", "d"});
  THorizBarSeries& s = t.series();
  s.SetPointX(0, 13.3333333);
  s.SetPointX(1, 1234.5);
  s.SetPointX(2, -0.25);
  EXPECT_EQ(s.Marks().MarkCaption(0), "13.333");
  EXPECT_EQ(s.Marks().MarkCaption(1), "1,234.5");
  EXPECT_EQ(s.Marks().MarkCaption(2), "-0.25");
  EXPECT_EQ(s.Marks().MarkCaption(3), "0");
  s.SetPointX(1, 30);  // a changed value is formatted again
  EXPECT_EQ(s.Marks().MarkCaption(1), "30");
  s.SetValueFormat("0.00");
  EXPECT_EQ(s.Marks().MarkCaption(1), "30.00");
}

// Tick-rounded levels bring their own texts; the clear command and a new
// list drop them, so the marks show formatted values again.
TEST(MarkCaptionTest, GivenTextsStandForTheValuesUntilClearedOrReplaced) {
  auto t = MainChartWith({"a", "b"});
  THorizBarSeries& s = t.series();
  SetRatioBarLevels(s, {11.9, 12.35}, {"11.90", "12.35"});
  EXPECT_EQ(s.Marks().MarkCaption(0), "11.90");
  EXPECT_EQ(s.Marks().MarkCaption(1), "12.35");
  ClearRatioBarLevels(s);
  EXPECT_EQ(s.Marks().MarkCaption(0), "0");
  SetRatioBarLevels(s, {11.9, 12.35}, {"11.90", "12.35"});
  ReplaceRatioBars(s, {"a", "b"});
  EXPECT_EQ(s.Marks().MarkCaption(1), "0");
  SetRatioBarLevels(s, {11.9, 12.35});
  EXPECT_EQ(s.Marks().MarkCaption(0), "11.9");
}

TEST(SeriesMarksTest, PositiveLevelMarkSitsArrowLengthRightOfTheBarEnd) {
  auto t = MainChartWith({"a", "b"});
  t.series().SetPointX(0, 12.36);
  t.series().SetPointX(1, 30);
  t.Paint();
  THorizBarSeries& s = t.series();
  const TSeriesMarkPosition* p = s.Marks().StoredPosition(0);
  ASSERT_NE(p, nullptr);
  const int end = s.PointPixelX(0);
  const int mid = s.BarTop(0) + s.BarThickness() / 2;
  const int w = 5 * 8 + kWWidth + 2;  // "12.36"
  const int h = kLineHeight + 2;
  EXPECT_EQ(p->ArrowStart, (Point{end, mid}));
  EXPECT_EQ(p->ArrowEnd, (Point{end + 10, mid}));
  EXPECT_EQ(p->BoxTopLeft, (Point{end + 10, mid - h + 1 + h / 2}));
  EXPECT_EQ(p->BoxWidth, w);
  EXPECT_EQ(p->BoxHeight, h);
}

TEST(SeriesMarksTest, NegativeLevelMarkLiesLeftOfTheBarEnd) {
  auto t = MainChartWith({"a", "b"});
  t.series().SetPointX(0, -5);
  t.series().SetPointX(1, 30);
  t.Paint();
  THorizBarSeries& s = t.series();
  const TSeriesMarkPosition* p = s.Marks().StoredPosition(0);
  ASSERT_NE(p, nullptr);
  const int end = s.PointPixelX(0);
  EXPECT_EQ(p->BoxTopLeft.x + p->BoxWidth, end - 10);  // right edge ArrowLength left of the end
  EXPECT_EQ(p->ArrowEnd.x, p->BoxTopLeft.x);           // the line runs on to the box's left edge
  EXPECT_EQ(p->ArrowStart.x, end);
}

TEST(SeriesMarksTest, StartUpMarksShowZeroAtTheOriginPixel) {
  auto t = MainChartWith(kSixteenRatios);
  t.Paint();
  THorizBarSeries& s = t.series();
  const int origin = t->BottomAxis().CenterPixel();
  ASSERT_EQ(s.OriginPixel(), origin);
  const auto texts = t.canvas->OfKind(TCanvasOp::PutText);
  int zeros = 0;
  for (const TCanvasRecord* r : texts)
    if (r->text == "0") ++zeros;
  EXPECT_EQ(zeros, 16);
  for (int i = 0; i < 16; ++i) {
    const TSeriesMarkPosition* p = s.Marks().StoredPosition(i);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->ArrowStart.x, origin);
  }
}

TEST(SeriesMarksTest, MarkIsLineThenFramedBoxThenCentredText) {
  auto t = MainChartWith({"a"});
  t.series().SetPointX(0, 7);
  t.Paint();
  const auto& records = t.canvas->Records();
  // The mark's three drawing calls come after the bar, in this order.
  std::size_t line = 0, box = 0, text = 0;
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (records[i].op == TCanvasOp::StrokeLine && records[i].pen.color == clLightYellow) line = i;
    if (records[i].op == TCanvasOp::DrawBox && records[i].brush.color == clAqua) box = i;
    if (records[i].op == TCanvasOp::PutText && records[i].text == "7") text = i;
  }
  ASSERT_GT(line, 0u);
  EXPECT_LT(line, box);
  EXPECT_LT(box, text);
  const TCanvasRecord& b = records[box];
  EXPECT_EQ(b.pen, (TPen{clBlack, 1, TPenStyle::psSolid, false}));
  EXPECT_EQ(b.brush.style, TBrushStyle::bsSolid);
  const TSeriesMarkPosition* p = t.series().Marks().StoredPosition(0);
  EXPECT_EQ(b.rect, (Rect{p->BoxTopLeft.x, p->BoxTopLeft.y, p->BoxTopLeft.x + p->BoxWidth,
                          p->BoxTopLeft.y + p->BoxHeight}));
  const TCanvasRecord& tx = records[text];
  EXPECT_EQ(tx.textAnchor, kTextAlignCenter);
  EXPECT_EQ(tx.x0, p->BoxTopLeft.x + p->BoxWidth / 2);
  EXPECT_EQ(tx.y0, p->BoxTopLeft.y + 1);  // below the frame
  EXPECT_EQ(tx.backgroundMode, TBackgroundMode::bmTransparent);
  EXPECT_EQ(tx.font.face, "Arial");
  EXPECT_EQ(t.canvas->TextAnchor(), kTextAlignLeftTop);
}

TEST(SeriesMarksTest, ArrowInThePointColourTurnsBlack) {
  auto t = MainChartWith({"a", "b"});
  t.series().SetPointX(0, 5);
  t.series().SetPointX(1, 6);
  t.series().SetPointColor(1, clLightYellow);  // the arrow's own colour
  t.Paint();
  std::vector<TColor> lineColours;
  for (const TCanvasRecord* r : t.canvas->OfKind(TCanvasOp::StrokeLine))
    if (r->y0 == r->y1 && r->x1 - r->x0 == 10) lineColours.push_back(r->pen.color);
  EXPECT_EQ(lineColours, (std::vector<TColor>{clLightYellow, clBlack}));
}

TEST(SeriesMarksTest, TwoLineTextMakesATwiceAsTallBox) {
  auto t = MainChartWith({"up\rdown"});
  t.series().Marks().SetStyle(TSeriesMarksStyle::smsLabel);
  t.series().SetPointX(0, 5);
  t.Paint();
  const TSeriesMarkPosition* p = t.series().Marks().StoredPosition(0);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->BoxHeight, 2 * kLineHeight + 2);
  EXPECT_EQ(p->BoxWidth, 4 * 8 + kWWidth + 2);  // the wider line, "down"
  int lines = 0;
  for (const TCanvasRecord* r : t.canvas->OfKind(TCanvasOp::PutText))
    if (r->text == "up" || r->text == "down") ++lines;
  EXPECT_EQ(lines, 2 + 2);  // the axis label's two lines and the mark's two
}

TEST(SeriesMarksTest, TransparentFramelessMarkDrawsOnlyLineAndText) {
  auto t = MainChartWith({"a"});
  t.series().Marks().SetTransparent(true);
  TChartPen frame = t.series().Marks().Frame();
  frame.visible = false;
  t.series().Marks().SetFrame(frame);
  t.series().SetPointX(0, 5);
  t.Paint();
  for (const TCanvasRecord* r : t.canvas->OfKind(TCanvasOp::DrawBox)) EXPECT_NE(r->brush.color, clAqua);
  EXPECT_EQ(t.series().Marks().StoredPosition(0)->BoxHeight, kLineHeight);
}

TEST(SeriesMarksTest, UserPlacedPositionOverridesTheComputedOne) {
  auto t = MainChartWith({"a"});
  t.series().SetPointX(0, 5);
  TSeriesMarkPosition& entry = t.series().Marks().PositionEntry(0);
  entry = TSeriesMarkPosition{{1, 2}, {3, 4}, true, 20, {100, 100}, 30};
  t.Paint();
  bool found = false;
  for (const TCanvasRecord* r : t.canvas->OfKind(TCanvasOp::DrawBox))
    if (r->rect == (Rect{100, 100, 130, 120})) found = true;
  EXPECT_TRUE(found);
}

}  // namespace
}  // namespace tavimo::chart
