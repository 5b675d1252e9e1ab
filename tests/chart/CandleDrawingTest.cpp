// Candles and the line of closes on the recording canvas, and the price
// chart's frame around them.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <tuple>

#include "PriceChartTestSupport.h"
#include "chart/CandleSeries.h"
#include "chart/RecordingCanvas.h"

namespace tavimo::chart {
namespace {

using testing::PriceHistory;

constexpr TColor kRising = clRed;
constexpr TColor kFalling = clGreen;
// 100 x 100 pixels over bars -0.5 ... 1.5 and prices 0 ... 100: bar i's
// centre at x = 25 + 50 i, price p at y = 100 - p.
const Rect kPlot{0, 0, 100, 100};

struct Drawing {
  PriceHistory bars;
  TPriceView view;
  TCandleSeries series;
  RecordingCanvas canvas;

  void Draw(const Rect& plot = kPlot) {
    view.SetBars(bars.Columns());
    view.SetTimeRange(-0.5, bars.time.size() - 0.5);
    view.SetPriceRange(0, 100);
    series.SetColors(kRising, kFalling);
    canvas.SetupWindow(200, 200);
    canvas.ClearRecords();
    series.Draw(canvas, plot, view);
  }
  std::vector<const TCanvasRecord*> Of(TCanvasOp op) const { return canvas.OfKind(op); }
};

TEST(CandleDrawing, RisingAndFallingBarsDrawAWickAndABodyInTheirColours) {
  Drawing d;
  d.bars.Add(0, 20, 60, 10, 50);  // rising
  d.bars.Add(1, 50, 70, 30, 40);  // falling
  d.Draw();
  const auto lines = d.Of(TCanvasOp::StrokeLine);
  const auto bodies = d.Of(TCanvasOp::FillRect);
  ASSERT_EQ(lines.size(), 2u);
  ASSERT_EQ(bodies.size(), 2u);
  // The wick from the high to the low, the low's pixel included.
  EXPECT_EQ((std::array{lines[0]->x0, lines[0]->y0, lines[0]->x1, lines[0]->y1}), (std::array{25, 40, 25, 91}));
  EXPECT_EQ(lines[0]->pen.color, kRising);
  EXPECT_EQ((std::array{lines[1]->x0, lines[1]->y0, lines[1]->x1, lines[1]->y1}), (std::array{75, 30, 75, 71}));
  EXPECT_EQ(lines[1]->pen.color, kFalling);
  // Bodies 35 pixels wide (0.7 of 50) about the wick, from open to close.
  EXPECT_EQ(bodies[0]->rect, (Rect{8, 50, 43, 81}));
  EXPECT_EQ(bodies[0]->brush.color, kRising);
  EXPECT_EQ(bodies[1]->rect, (Rect{58, 50, 93, 61}));
  EXPECT_EQ(bodies[1]->brush.color, kFalling);
  // All of it inside the plot.
  EXPECT_EQ(d.canvas.Records().front().op, TCanvasOp::ClipTo);
  EXPECT_EQ(d.canvas.Records().front().rect, kPlot);
  EXPECT_EQ(d.canvas.Records().back().op, TCanvasOp::ClearClip);
}

TEST(CandleDrawing, ADojiIsALineAndATinyBodyStillOnePixel) {
  Drawing d;
  d.bars.Add(0, 50, 60, 40, 50);     // doji
  d.bars.Add(1, 50.3, 60, 40, 50.6);  // within one pixel row
  d.Draw();
  const auto lines = d.Of(TCanvasOp::StrokeLine);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ((std::array{lines[1]->x0, lines[1]->y0, lines[1]->x1, lines[1]->y1}), (std::array{8, 50, 43, 50}));
  EXPECT_EQ(lines[1]->pen.color, kRising) << "close at open counts as rising";
  const auto bodies = d.Of(TCanvasOp::FillRect);
  ASSERT_EQ(bodies.size(), 1u);
  EXPECT_EQ(bodies[0]->rect.Height(), 1);
}

TEST(CandleDrawing, BodyWidthIsAtLeastOnePixelAndOddAroundTheWick) {
  using Row = std::pair<double, int>;
  for (const auto& [spacing, width] : {Row{0.2, 1}, Row{1.0, 1}, Row{2.9, 2}, Row{4.5, 3}, Row{6.0, 3}, Row{7.2, 5}, Row{50.0, 35}})
    EXPECT_EQ(TCandleSeries::BodyWidth(spacing), width) << spacing;
}

TEST(CandleDrawing, BarsSharingAPixelColumnAreDrawnAsOne) {
  Drawing d;
  // 1000 bars in 100 pixels; bar i has its low at i / 20 and its high 10 above.
  for (int i = 0; i < 1000; ++i) d.bars.Add(i, i / 20.0 + 5, i / 20.0 + 10, i / 20.0, i / 20.0 + 6);
  d.Draw();
  const auto lines = d.Of(TCanvasOp::StrokeLine);
  ASSERT_EQ(lines.size(), 100u);
  // Column 3 holds bars 30 ... 39: low 1.5, high 11.95.
  EXPECT_EQ(lines[3]->x0, 3);
  EXPECT_EQ(lines[3]->y0, 88);
  EXPECT_EQ(lines[3]->y1, 99);
  // A body one pixel wide lies within its wick: only the wick is drawn.
  EXPECT_TRUE(d.Of(TCanvasOp::FillRect).empty());
}

// The same columns from the view's summaries as from walking every bar: a
// bar of no price beyond the range in view makes the second view walk.
TEST(CandleDrawing, ZoomedOutColumnsFromTheSummariesEqualTheWalkOverEveryBar) {
  PriceHistory summarised, walked;
  std::uint64_t state = 7;
  double price = 100;
  for (int i = 0; i < 20000; ++i) {
    state = state * 6364136223846793005u + 1442695040888963407u;
    const double move = static_cast<double>(state >> 40) / (1u << 24) - 0.5;
    const double open = price;
    price = std::max(1.0, price + move * 4);
    const double high = std::max(open, price) + (state >> 60) * 0.25, low = std::min(open, price) - (state >> 61) * 0.25;
    summarised.Add(i, open, high, low, price);
    walked.Add(i, open, high, low, price);
  }
  walked.Add(20000, std::nan(""), 1, 1, 1);
  for (const TPriceSeriesKind kind : {TPriceSeriesKind::Candles, TPriceSeriesKind::Line})
    for (const auto& [first, last, width] : {std::tuple{-0.5, 19999.5, 100}, {123.25, 9876.5, 333}, {5000.0, 5900.0, 97}}) {
      std::vector<TCanvasRecord> records[2];
      for (int k = 0; k < 2; ++k) {
        TPriceView view;
        view.SetBars((k == 0 ? summarised : walked).Columns());
        ASSERT_EQ(view.BarExtremes() != nullptr, k == 0);
        view.SetTimeRange(first, last);
        view.SetPriceRange(0, 300);
        TCandleSeries series;
        series.SetKind(kind);
        RecordingCanvas canvas;
        canvas.SetupWindow(400, 200);
        canvas.ClearRecords();
        series.Draw(canvas, Rect{10, 0, 10 + width, 200}, view);
        records[k] = canvas.Records();
      }
      ASSERT_EQ(records[0].size(), records[1].size()) << first << ".." << last;
      for (std::size_t i = 0; i < records[0].size(); ++i) {
        const TCanvasRecord &a = records[0][i], &b = records[1][i];
        EXPECT_TRUE(a.op == b.op && a.rect == b.rect && a.x0 == b.x0 && a.y0 == b.y0 && a.x1 == b.x1 && a.y1 == b.y1 &&
                    a.pen.color == b.pen.color)
            << "record " << i << " of " << first << ".." << last;
      }
    }
}

TEST(CandleDrawing, TheLineSeriesJoinsTheCloses) {
  Drawing d;
  d.bars.Add(0, 20, 60, 10, 50);
  d.bars.Add(1, 50, 70, 30, 40);
  d.series.SetKind(TPriceSeriesKind::Line);
  d.series.SetLineColor(clBlue);
  d.Draw();
  EXPECT_EQ(d.Of(TCanvasOp::FillRect).size(), 0u);
  const auto lines = d.Of(TCanvasOp::StrokeLine);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ((std::array{lines[0]->x0, lines[0]->y0, lines[0]->x1, lines[0]->y1}), (std::array{25, 50, 75, 60}));
  EXPECT_EQ(lines[0]->pen.color, clBlue);
  EXPECT_EQ((std::array{lines[1]->x0, lines[1]->x1}), (std::array{75, 76})) << "the last close's own pixel";
}

// A frame of two years of daily bars: every label in its axis' strip, none
// over another, the candles inside the plot.
TEST(PriceChartFrame, LabelsStayInTheirAxesAndApart) {
  const PriceHistory bars =
      PriceHistory::Walk(testing::WeekdayTimes(testing::kJanuary1st2024 - 365 * testing::kDay, 731));
  for (const TPriceScale scale : {TPriceScale::Linear, TPriceScale::Log}) {
    TPriceView view;
    view.SetBars(bars.Columns());
    ASSERT_TRUE(view.SetScale(scale));
    view.FitAll();
    RecordingCanvas canvas;
    canvas.SetupWindow(800, 450);
    const TPriceChartStyle style;
    const TPriceChartLayout layout = DrawPriceChart(canvas, {0, 0, 800, 450}, TCandleSeries{}, view, style);
    EXPECT_EQ(layout.plot.right, layout.priceAxis.left);
    EXPECT_EQ(layout.plot.bottom, layout.timeAxis.top);
    ASSERT_GE(layout.priceLabels.size(), 5u);
    ASSERT_GE(layout.timeLabels.labels.size(), 5u);

    std::vector<Rect> texts;
    for (const TCanvasRecord* r : canvas.OfKind(TCanvasOp::PutText)) {
      const int w = RecordingCanvas::TextWidth(r->font, r->text);
      const int h = RecordingCanvas::LineHeight(r->font);
      const int left = r->textAnchor == kTextAlignCenter ? r->x0 - w / 2 : r->x0;
      texts.push_back(Rect{left, r->y0, left + w, r->y0 + h});
    }
    ASSERT_EQ(texts.size(), layout.priceLabels.size() + layout.timeLabels.labels.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
      const Rect& t = texts[i];
      const bool price = i < layout.priceLabels.size();
      const Rect& strip = price ? layout.priceAxis : layout.timeAxis;
      EXPECT_TRUE(t.left >= strip.left && t.right <= strip.right) << i;
      if (!price) {
        EXPECT_TRUE(t.top >= strip.top && t.bottom <= strip.bottom) << i;
      }
      for (std::size_t j = 0; j < i; ++j) EXPECT_TRUE(t.Intersected(texts[j]).IsEmpty()) << i << " over " << j;
    }
    for (const TCanvasRecord* r : canvas.OfKind(TCanvasOp::FillRect))
      if (r->clip) {
        EXPECT_EQ(*r->clip, layout.plot);
      }
  }
}

}  // namespace
}  // namespace tavimo::chart
