// The paint sequence, invalidation and the off-screen image.

#include <gtest/gtest.h>

#include <limits>

#include "ChartTestSupport.h"

namespace tavimo::chart {
namespace {

using testing::kSixteenRatios;
using testing::MainChartWith;

TEST(PaintRequestTest, CleanImageIsNotRedrawn) {
  auto t = MainChartWith(kSixteenRatios);
  ASSERT_TRUE(t->Dirty());
  EXPECT_TRUE(t->PaintRequest());
  EXPECT_FALSE(t->Dirty());
  t.canvas->ClearRecords();
  EXPECT_FALSE(t->PaintRequest());
  EXPECT_TRUE(t.canvas->Records().empty());
}

TEST(PaintRequestTest, PaintingItselfInvalidatesNothing) {
  auto t = MainChartWith(kSixteenRatios);
  for (int i = 0; i < 16; ++i) t.series().SetPointX(i, 10 + i);
  int requests = 0;
  t->SetInvalidateHandler([&] { ++requests; });
  EXPECT_TRUE(t->PaintRequest());
  EXPECT_EQ(requests, 0);
  EXPECT_FALSE(t->Dirty());
}

TEST(PaintRequestTest, ChangesAndResizesMakeTheImageDirty) {
  auto t = MainChartWith(kSixteenRatios);
  int requests = 0;
  t->SetInvalidateHandler([&] { ++requests; });
  t->PaintRequest();
  t->SetClientSize(597, 504);  // unchanged size: nothing to do
  EXPECT_FALSE(t->Dirty());
  t->SetClientSize(700, 504);
  EXPECT_TRUE(t->Dirty());
  EXPECT_EQ(requests, 1);
  t.canvas->ClearRecords();
  EXPECT_TRUE(t->PaintRequest());
  EXPECT_EQ(t.canvas->ImageWidth(), 700);
  EXPECT_EQ(t.canvas->Records().front().op, TCanvasOp::SetupWindow);
  EXPECT_EQ(t.canvas->Records().back().op, TCanvasOp::ShowImage);
}

TEST(PaintRequestTest, ANewScaleRepaintsAndAnUnusableOneIsIgnored) {
  auto t = MainChartWith({"0.5"});
  t.Paint();
  ASSERT_FALSE(t->Dirty());
  t->SetScale(1.0);
  EXPECT_FALSE(t->Dirty()) << "the same scale";
  t->SetScale(2.0);
  EXPECT_TRUE(t->Dirty());
  t.Paint();
  for (double refused : {0.0, -1.0, 1000.0, std::numeric_limits<double>::quiet_NaN(),
                         std::numeric_limits<double>::infinity()}) {
    t->SetScale(refused);
    EXPECT_EQ(t->Scale(), 2.0) << refused;
    EXPECT_FALSE(t->Dirty()) << refused;
  }
}

TEST(PaintRequestTest, SequenceStartsWithTheGradientAndBevelAndEndsWithAReset) {
  auto t = MainChartWith(kSixteenRatios);
  t.Paint();
  const auto& r = t.canvas->Records();
  const auto fills = t.canvas->OfKind(TCanvasOp::FillRect);
  ASSERT_EQ(fills.size(), 256u);
  EXPECT_EQ(fills.front()->brush.color, clWhite);   // bottom band
  EXPECT_EQ(fills.back()->brush.color, clYellow);   // top band
  // The raised bevel: top and left edges in the highlight colour, right and bottom in the shadow.
  const auto lines = t.canvas->OfKind(TCanvasOp::StrokeLine);
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ((std::vector<int>{lines[0]->x0, lines[0]->y0, lines[0]->x1, lines[0]->y1}),
            (std::vector<int>{0, 503, 0, 0}));
  EXPECT_EQ(lines[0]->pen.color, clBtnHighlight);
  EXPECT_EQ((std::vector<int>{lines[1]->x0, lines[1]->y0, lines[1]->x1, lines[1]->y1}),
            (std::vector<int>{0, 0, 596, 0}));
  EXPECT_EQ((std::vector<int>{lines[2]->x0, lines[2]->y0, lines[2]->x1, lines[2]->y1}),
            (std::vector<int>{596, 0, 596, 503}));
  EXPECT_EQ(lines[2]->pen.color, clBtnShadow);
  EXPECT_EQ((std::vector<int>{lines[3]->x0, lines[3]->y0, lines[3]->x1, lines[3]->y1}),
            (std::vector<int>{596, 503, -1, 503}));
  // The last drawing state is the reset one, then the image is handed over.
  ASSERT_GE(r.size(), 2u);
  EXPECT_EQ(r.back().op, TCanvasOp::ShowImage);
  EXPECT_EQ(r.back().pen, (TPen{clBlack, 1, TPenStyle::psSolid, false}));
  EXPECT_EQ(r.back().brush, (TBrush{clWhite, TBrushStyle::bsSolid}));
  EXPECT_EQ(r.back().backgroundMode, TBackgroundMode::bmTransparent);
}

TEST(PaintRequestTest, BackWallIsATransparentBoxOneWiderThanThePlot) {
  auto t = MainChartWith(kSixteenRatios);
  t.Paint();
  const Rect plot = t->PlotRect();
  bool found = false;
  for (const TCanvasRecord* r : t.canvas->OfKind(TCanvasOp::DrawBox)) {
    if (r->rect == (Rect{plot.left, plot.top, plot.right + 1, plot.bottom + 1})) {
      found = true;
      EXPECT_EQ(r->pen.style, TPenStyle::psClear);
      EXPECT_EQ(r->brush.style, TBrushStyle::bsClear);
    }
  }
  EXPECT_TRUE(found);
}

TEST(PaintRequestTest, AxesAreDrawnBeforeTheBarsAndMarksLast) {
  auto t = MainChartWith(kSixteenRatios);
  for (int i = 0; i < 16; ++i) t.series().SetPointX(i, 10 + i);
  t.Paint();
  const auto& r = t.canvas->Records();
  std::size_t lastLabel = 0, firstBar = r.size(), lastBar = 0, firstMarkBox = r.size();
  for (std::size_t i = 0; i < r.size(); ++i) {
    if (r[i].op == TCanvasOp::PutText && r[i].textAnchor == kTextAlignRight) lastLabel = i;
    if (r[i].op == TCanvasOp::FillPolygon) {
      firstBar = std::min(firstBar, i);
      lastBar = i;
    }
    if (r[i].op == TCanvasOp::DrawBox && r[i].brush.color == clAqua) firstMarkBox = std::min(firstMarkBox, i);
  }
  EXPECT_LT(lastLabel, firstBar);
  EXPECT_LT(lastBar, firstMarkBox);
  EXPECT_EQ(t.canvas->Count(TCanvasOp::FillPolygon), 16);
}

TEST(PaintRequestTest, InactiveSeriesLeavesBackgroundAndAxes) {
  auto t = MainChartWith(kSixteenRatios);
  for (int i = 0; i < 16; ++i) t.series().SetPointX(i, 10 + i);
  t.series().SetActive(false);
  t.Paint();
  EXPECT_EQ(t.canvas->Count(TCanvasOp::FillPolygon), 0);
  EXPECT_EQ(t.canvas->Count(TCanvasOp::FillRect), 256);
  EXPECT_TRUE(t->LeftAxis().ShownInLastLayout());  // no active series: every visible axis counts
}

TEST(CaptionLabelTest, NineCharactersOnePerLine) {
  const TCaptionLabel& label = MainCaptionLabel();
  EXPECT_EQ(label.left, 16);
  EXPECT_EQ(label.top, 128);
  EXPECT_EQ(label.width, 28);
  EXPECT_EQ(label.height, 243);
  EXPECT_EQ(label.caption, "黄\r\n金\r\n分\r\n割\r\n点\r\n计\r\n算\r\n结\r\n果");
  EXPECT_EQ(label.font, (TFont{"宋体", -27, clRed, true}));
  EXPECT_TRUE(label.transparent);
}

}  // namespace
}  // namespace tavimo::chart
