// What the price chart draws over its candles: the zigzag, thinned to a
// line per pixel column when zoomed out, its labels, and the level lines.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "PriceChartTestSupport.h"
#include "chart/PriceOverlays.h"
#include "chart/RecordingCanvas.h"

namespace tavimo::chart {
namespace {

const TFont kFont{"Arial", -12, clBlack};

struct Overlay {
  testing::PriceHistory bars;
  TPriceView view;
  RecordingCanvas canvas;
  Rect plot{0, 0, 200, 100};

  explicit Overlay(int count) {
    for (int i = 0; i < count; ++i) bars.Add(i * testing::kDay, 50, 100, 0, 50);
    view.SetBars(bars.Columns());
    view.SetTimeRange(-0.5, count - 0.5);
    view.SetPriceRange(0, 100);
    canvas.SetupWindow(plot.right, plot.bottom);
    canvas.ClearRecords();
  }
};

TEST(Zigzag, ZoomedOutEachPixelColumnIsOneLineOverItsPivotsAndACrowdHasNoLabels) {
  // 20,000 bars in 200 pixels, a pivot every 4 bars between 10 and 90.
  Overlay o(20000);
  std::vector<TChartPivot> pivots;
  for (int i = 0; i < 5000; ++i) pivots.push_back({i * 4, i % 2 ? 10.0 + i % 7 : 90.0 - i % 5, "p", i % 2 == 0});
  DrawZigzag(o.canvas, o.plot, o.view, TZigzag(pivots), false, {}, kFont);
  const auto lines = o.canvas.OfKind(TCanvasOp::StrokeLine);
  EXPECT_LE(lines.size(), 2u * 201);
  // The rows each column's pivots cover, as a segment between each would draw them.
  std::map<int, std::pair<int, int>> rows;
  for (const TChartPivot& p : pivots) {
    const int x = static_cast<int>(std::lround(o.view.BarToX(p.bar, o.plot)));
    const int y = static_cast<int>(std::lround(o.view.PriceToY(p.price, o.plot)));
    auto [at, added] = rows.try_emplace(x, y, y);
    at->second = {std::min(at->second.first, y), std::max(at->second.second, y)};
  }
  for (const auto& [x, span] : rows) {
    const bool drawn = std::any_of(lines.begin(), lines.end(), [&, x = x, span = span](const TCanvasRecord* r) {
      return r->x0 == x && r->x1 == x && std::min(r->y0, r->y1) == span.first && std::max(r->y0, r->y1) == span.second + 1;
    });
    EXPECT_TRUE(drawn) << "column " << x;
  }
  // Pivots 0.04 pixels apart are a crowd: only each side's first, with none before it, is named.
  EXPECT_EQ(o.canvas.Count(TCanvasOp::PutText), 2);
}

TEST(Zigzag, SparsePivotsAreLabelledClearOfEachOtherOnTheirSide) {
  Overlay o(100);
  // Pivots 2 bars (4 pixels) apart: each side's labels, 6 pixels a character, must skip some.
  std::vector<TChartPivot> pivots;
  for (int i = 0; i < 50; ++i) pivots.push_back({i * 2, i % 2 ? 20.0 : 80.0, "12.5", i % 2 == 0});
  DrawZigzag(o.canvas, o.plot, o.view, TZigzag(pivots), true, {3}, kFont);
  const auto texts = o.canvas.OfKind(TCanvasOp::PutText);
  ASSERT_GT(texts.size(), 4u);
  std::map<bool, int> right = {{false, -1000}, {true, -1000}};
  for (const TCanvasRecord* t : texts) {
    const bool high = t->y0 < 50;
    const int half = RecordingCanvas::TextWidth(kFont, t->text) / 2;
    EXPECT_GT(t->x0 - half, right[high] + 2);
    right[high] = t->x0 + half;
  }
  // The selected segment thick, the open last one dashed.
  const auto lines = o.canvas.OfKind(TCanvasOp::StrokeLine);
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const TCanvasRecord* r) { return r->pen.width == 3; }), 1);
  EXPECT_EQ(lines.back()->pen.style, TPenStyle::psDash);
}

TEST(LevelLines, LabelsThatWouldOverlapAreLeftOutTheEarlierRatioWinsAndRoomIsMeasured) {
  Overlay o(100);
  const std::vector<TChartLevelLine> lines = {
      {50, 50.0, 0, "0.5  50"}, {50, 51.0, 1, "0.51  51"}, {50, 70.0, 2, "0.7  70"}};
  DrawLevelLines(o.canvas, o.plot, o.view, lines, kFont, clWhite);
  const auto texts = o.canvas.OfKind(TCanvasOp::PutText);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0]->text, "0.5  50");
  EXPECT_EQ(texts[1]->text, "0.7  70");
  // Every line is drawn before the first label, so none crosses one.
  const auto& records = o.canvas.Records();
  const auto firstText = std::find_if(records.begin(), records.end(), [](const TCanvasRecord& r) { return r.op == TCanvasOp::PutText; });
  EXPECT_TRUE(std::none_of(firstText, records.end(), [](const TCanvasRecord& r) { return r.op == TCanvasOp::StrokeLine; }));
  EXPECT_EQ(LevelLabelSpace(o.canvas, lines, kFont), RecordingCanvas::TextWidth(kFont, "0.51  51") + 6);
  EXPECT_EQ(LevelLabelSpace(o.canvas, {}, kFont), 0);
}

}  // namespace
}  // namespace tavimo::chart
