#include "chart/PriceOverlays.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <optional>

#include "chart/FirstBeyond.h"
#include "chart/Palette.h"

namespace tavimo::chart {

namespace {
int Round(double value) { return static_cast<int>(std::lround(value)); }

}  // namespace

void DrawLevelLines(TCanvas& canvas, const Rect& plot, const TPriceView& view, const std::vector<TChartLevelLine>& lines,
                    const TFont& font, TColor background) {
  canvas.SetFont(font);
  const int lineHeight = canvas.TextLineHeight();
  // Lines first, so no line crosses a label drawn before it.
  struct Label {
    int y;
    const std::string* text;
  };
  std::vector<Label> labels;
  for (const TChartLevelLine& line : lines) {
    const int y = Round(view.PriceToY(line.price, plot));
    if (y < plot.top || y >= plot.bottom) continue;
    const int x0 = std::max(plot.left, Round(view.BarToX(line.fromBar, plot)));
    if (x0 >= plot.right) continue;
    const TColor color = PaletteColor(line.paletteIndex);
    // A colour as light as the background (the palette's white, yellow, aqua)
    // gets a grey edge, as its bar has a frame in the main chart.
    if (299 * RedOf(color) + 587 * GreenOf(color) + 114 * BlueOf(color) > 200000) {
      canvas.SetPen({clGray, 1, TPenStyle::psSolid});
      canvas.StrokeLine(x0, y - 1, plot.right, y - 1);
      canvas.StrokeLine(x0, y + 1, plot.right, y + 1);
    }
    canvas.SetPen({color, 1, TPenStyle::psSolid});
    canvas.StrokeLine(x0, y, plot.right, y);
    // A label that would overlap one already kept is left out (the list's
    // earlier ratio wins); its line stays.
    if (std::none_of(labels.begin(), labels.end(), [&](const Label& other) { return std::abs(other.y - y) < lineHeight; }))
      labels.push_back({y, &line.label});
  }
  // On the chart's background, so candles and lines under a label do not blur it.
  canvas.SetBackgroundMode(TBackgroundMode::bmOpaque);
  canvas.SetBackgroundColor(background);
  canvas.SetTextAnchor(kTextAlignRight | kTextAlignBottom);
  for (const Label& label : labels) canvas.PutText(plot.right - 2, label.y - 1, *label.text);
  canvas.SetBackgroundMode(TBackgroundMode::bmTransparent);
  canvas.SetTextAnchor(kTextAlignLeftTop);
}

int LevelLabelSpace(TCanvas& canvas, const std::vector<TChartLevelLine>& lines, const TFont& font) {
  if (lines.empty()) return 0;
  canvas.SetFont(font);
  int widest = 0;
  for (const TChartLevelLine& line : lines) widest = std::max(widest, canvas.MeasureWidth(line.label));
  return widest + 6;  // the 2 pixels right of a label, and a gap before the bars
}

TZigzag::TZigzag(std::vector<TChartPivot> pivots, TPivotLabeler labeler)
    : pivots_(std::move(pivots)), labeler_(labeler) {
  const std::size_t n = pivots_.size();
  sideGap_.resize(n, HUGE_VAL);
  bars_.reserve(n);
  priceValues_.reserve(n);
  for (const TChartPivot& p : pivots_) {
    bars_.push_back(p.bar);
    priceValues_.push_back(p.price);
  }
  std::optional<int> before[2];
  for (std::size_t i = 0; i < n; ++i) {
    const TChartPivot& p = pivots_[i];
    if (i > 0 && p.bar < pivots_[i - 1].bar) inBarOrder_ = false;
    std::optional<int>& last = before[p.high ? 1 : 0];
    if (last) sideGap_[i] = static_cast<double>(p.bar) - *last;
    last = p.bar;
  }
  const auto price = [&](std::size_t i) { return priceValues_[i]; };
  prices_.Build(n, price, price);
  for (const bool high : {false, true}) {
    const auto gap = [&](std::size_t i) { return SideGap(i, high); };
    (high ? highGaps_ : lowGaps_).Build(n, gap, gap);
  }
}

std::string TZigzag::Label(std::size_t i) const {
  const TChartPivot& p = pivots_[i];
  return p.label.empty() && labeler_ != nullptr ? labeler_(p.price) : p.label;
}

double TZigzag::SideGap(std::size_t i, bool high) const { return pivots_[i].high == high ? sideGap_[i] : -HUGE_VAL; }

void DrawZigzag(TCanvas& canvas, const Rect& plot, const TPriceView& view, const TZigzag& zigzag, bool openLast,
                const std::vector<int>& selected, const TFont& font) {
  const std::vector<TChartPivot>& pivots = zigzag.Pivots();
  if (pivots.size() < 2) return;
  const std::size_t segments = pivots.size() - 1;
  const auto x = [&](std::size_t i) { return Round(view.BarToX(zigzag.Bars()[i], plot)); };
  const auto y = [&](std::size_t i) { return Round(view.PriceToY(zigzag.PriceValues()[i], plot)); };
  const auto isSelected = [&](std::size_t s) {
    return std::find(selected.begin(), selected.end(), static_cast<int>(s)) != selected.end();
  };
  // The vertical lines of crowded columns, written together; all in the
  // zigzag's colour, so only a dashed or wide segment (whose pixels may
  // differ in order) waits for them.
  std::vector<TColumnLine> columns;
  const auto flushColumns = [&] {
    if (columns.empty()) return;
    canvas.StrokeColumnLines(columns);
    columns.clear();
  };
  const auto segment = [&](std::size_t s) {
    const bool open = openLast && s + 1 == segments;
    const bool wide = isSelected(s);
    if (open || wide) flushColumns();
    canvas.SetPen({kZigzagColor, wide ? 3 : 1, open ? TPenStyle::psDash : TPenStyle::psSolid});
    canvas.StrokeLine(x(s), y(s), x(s + 1), y(s + 1));
  };
  // The pivots of one pixel column, first..last, when every segment between
  // them is vertical and plain: one line over the rows they cover.
  const auto column = [&](std::size_t first, std::size_t last) {
    double low = 0, high = 0;
    const std::vector<double>& prices = zigzag.PriceValues();
    const auto price = [&](std::size_t i) { return prices[i]; };
    zigzag.Prices().Read(first, last, price, price, low, high);
    const int top = Round(view.PriceToY(high, plot)), bottom = Round(view.PriceToY(low, plot));
    columns.push_back({x(first), std::min(top, bottom), std::max(top, bottom) + 1, kZigzagColor});
  };
  const auto plain = [&](std::size_t first, std::size_t last) {
    if (openLast && last == segments) return false;
    return std::none_of(selected.begin(), selected.end(),
                        [&](int s) { return s >= 0 && static_cast<std::size_t>(s) >= first && static_cast<std::size_t>(s) < last; });
  };
  // In bar order, only the segments that reach into the bars in view.
  std::size_t begin = 0, end = segments;
  if (zigzag.InBarOrder()) {
    const std::vector<int>& bars = zigzag.Bars();
    const auto firstIn = std::lower_bound(bars.begin(), bars.end(), view.FirstVisibleBar());
    const auto pastLast = std::lower_bound(firstIn, bars.end(), view.LastVisibleBar() + 1);
    begin = static_cast<std::size_t>(std::max<std::ptrdiff_t>(firstIn - bars.begin() - 1, 0));
    end = std::min(segments, static_cast<std::size_t>(pastLast - bars.begin()));
  }
  for (std::size_t i = begin; i < end;) {
    // The last pivot in i's column: pivots in bar order are found by
    // bisection, so a zoomed-out chart reads a column, not every pivot in it.
    std::size_t j = i;
    if (zigzag.InBarOrder()) {
      // The last bar whose x rounds to the column: estimated, then settled by
      // the rounding itself; the pivots up to it are found by their bars.
      const int at = x(i);
      const auto xOfBar = [&](double bar) { return Round(view.BarToX(bar, plot)); };
      const std::vector<int>& bars = zigzag.Bars();
      double limit = std::max<double>(bars[i], std::floor(view.XToBar(at + 0.5, plot)));
      while (limit > bars[i] && xOfBar(limit) > at) --limit;
      while (xOfBar(limit + 1) <= at) ++limit;
      j = FirstBeyond(i, end + 1, [&](std::size_t k) { return bars[k] > limit; }) - 1;
    }
    if (j > i && plain(i, j)) {
      column(i, j);
    } else {
      for (std::size_t s = i; s < j; ++s) segment(s);
    }
    if (j < end) segment(j);
    i = j + 1;
  }
  flushColumns();

  TFont labelFont = font;
  labelFont.color = kZigzagColor;
  canvas.SetFont(labelFont);
  const int first = view.FirstVisibleBar();
  const int last = view.LastVisibleBar();
  // Each side's labels keep clear of the one before on that side. A pivot
  // less than 2 pixels after the one before on its side is not labelled (it
  // is one of a crowd no label could name); nor is one whose centre lies
  // under the label before. Neither is measured, and in bar order both are
  // skipped by the summaries, so a zoomed-out chart of many thousands of
  // pivots stays quick.
  const double minimumGap = 2 / view.PixelsPerBar(plot);
  for (const bool high : {false, true}) {
    int right = INT_MIN;
    canvas.SetTextAnchor(kTextAlignCenter | (high ? kTextAlignBottom : 0));
    for (std::size_t i = begin; i < pivots.size(); ++i) {
      if (zigzag.InBarOrder()) {
        // The first pivot whose centre is past the label before...
        if (right != INT_MIN && x(i) <= right + 2)
          i = FirstBeyond(i, pivots.size(), [&](std::size_t k) { return x(k) > right + 2; });
        // ...and then the first of this side far enough from its side's one before.
        i = zigzag.SideGaps(high).FindFirstAtLeast(i, minimumGap, [&](std::size_t k) { return zigzag.SideGap(k, high); });
        if (i >= pivots.size() || pivots[i].bar > last) break;
      }
      const TChartPivot& p = pivots[i];
      if (p.high != high || p.bar < first || p.bar > last || zigzag.SideGap(i, high) < minimumGap) continue;
      const int at = x(i);
      if (at <= right + 2) continue;
      const std::string label = zigzag.Label(i);
      const int half = canvas.MeasureWidth(label) / 2;
      if (at - half <= right + 2) continue;
      right = at + half;
      const int top = y(i);
      canvas.PutText(at, high ? top - 3 : top + 3, label);
    }
  }
  canvas.SetTextAnchor(kTextAlignLeftTop);
}

}  // namespace tavimo::chart
