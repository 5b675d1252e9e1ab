#include "chart/CandleSeries.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace tavimo::chart {

namespace {

// The pixel a position falls in, within a range no plot leaves.
int PixelOf(double v) {
  constexpr double kLimit = 1 << 28;
  if (!(v > -kLimit)) return static_cast<int>(-kLimit);  // NaN too
  if (v > kLimit) return static_cast<int>(kLimit);
  return static_cast<int>(std::floor(v));
}

TPen SolidPen(TColor color) { return TPen{color, 1, TPenStyle::psSolid, false}; }

// The bars of one pixel column, as one bar.
struct ColumnBar {
  int x = 0;
  double open = 0, high = 0, low = 0, close = 0;
  double closeLow = 0, closeHigh = 0;  // for the line
  int bars = 0;

  void Start(int column, double o, double h, double l, double c) {
    x = column;
    open = o;
    high = std::max({h, l, o, c});
    low = std::min({h, l, o, c});
    close = closeLow = closeHigh = c;
    bars = 1;
  }
  void Add(double o, double h, double l, double c) {
    high = std::max({high, h, l, o, c});
    low = std::min({low, h, l, o, c});
    close = c;
    closeLow = std::min(closeLow, c);
    closeHigh = std::max(closeHigh, c);
    ++bars;
  }
};

// A column of this many bars or more is read from the view's summaries
// rather than bar by bar (the same columns, the same values).
constexpr double kSummaryBarsPerColumn = 8;

// The columns of bars first..last from the summaries: per pixel column the
// bars whose x falls in it, exactly as the walk below groups them.
template <class F>
void ForEachSummarisedColumn(const Rect& plot, const TPriceView& view, int first, int last, F&& column) {
  const TPriceColumns& bars = view.Bars();
  const TRangeExtremes& extremes = *view.BarExtremes();
  const TRangeExtremes& closes = *view.CloseExtremes();
  const auto low = [&](std::size_t k) { return std::min({bars.open[k], bars.high[k], bars.low[k], bars.close[k]}); };
  const auto high = [&](std::size_t k) { return std::max({bars.open[k], bars.high[k], bars.low[k], bars.close[k]}); };
  const auto close = [&](std::size_t k) { return bars.close[k]; };
  const auto xOf = [&](int i) { return PixelOf(view.BarToX(i, plot)); };
  ColumnBar c;
  for (int i = first; i <= last;) {
    const int x = xOf(i);
    // The last bar of column x: estimated, then settled by the walk's own test.
    const double estimate = std::ceil(view.XToBar(x + 1, plot)) - 1;
    int j = estimate >= last ? last : estimate <= i ? i : static_cast<int>(estimate);
    while (j > i && xOf(j) > x) --j;
    while (j < last && xOf(j + 1) == x) ++j;
    const std::size_t a = static_cast<std::size_t>(i), b = static_cast<std::size_t>(j);
    c.x = x;
    c.open = bars.open[a];
    c.close = bars.close[b];
    c.bars = j - i + 1;
    extremes.Read(a, b, low, high, c.low, c.high);
    closes.Read(a, b, close, close, c.closeLow, c.closeHigh);
    column(c);
    i = j + 1;
  }
}

// Walks the visible bars with usable prices, one call of `column` per pixel column.
template <class F>
void ForEachColumn(const Rect& plot, const TPriceView& view, F&& column) {
  if (view.BarExtremes() != nullptr && view.PixelsPerBar(plot) * kSummaryBarsPerColumn <= 1) {
    ForEachSummarisedColumn(plot, view, view.FirstVisibleBar(), view.LastVisibleBar(), column);
    return;
  }
  const TPriceColumns& bars = view.Bars();
  const bool log = view.Scale() == TPriceScale::Log;
  const auto usable = [log](double v) { return std::isfinite(v) && (!log || v > 0); };
  ColumnBar current;
  const int last = view.LastVisibleBar();
  for (int i = view.FirstVisibleBar(); i <= last; ++i) {
    const std::size_t k = static_cast<std::size_t>(i);
    const double o = bars.open[k], h = bars.high[k], l = bars.low[k], c = bars.close[k];
    if (!usable(o) || !usable(h) || !usable(l) || !usable(c)) continue;
    const int x = PixelOf(view.BarToX(i, plot));
    if (current.bars > 0 && x == current.x) {
      current.Add(o, h, l, c);
      continue;
    }
    if (current.bars > 0) column(current);
    current.Start(x, o, h, l, c);
  }
  if (current.bars > 0) column(current);
}

}  // namespace

int TCandleSeries::BodyWidth(double spacing) {
  const double share = spacing * kBodyShare;
  if (!(share >= 1)) return 1;  // NaN too
  const int width = share > 999 ? 999 : static_cast<int>(share);
  return width >= 3 && width % 2 == 0 ? width - 1 : width;
}

void TCandleSeries::Draw(TCanvas& canvas, const Rect& plot, const TPriceView& view) const {
  if (plot.IsEmpty() || view.BarCount() == 0) return;
  const TCanvasStateSaver saver(canvas);
  canvas.ClipTo(plot);
  if (kind_ == TPriceSeriesKind::Candles) {
    DrawCandles(canvas, plot, view);
  } else {
    DrawLine(canvas, plot, view);
  }
  canvas.ClearClip();
}

void TCandleSeries::DrawCandles(TCanvas& canvas, const Rect& plot, const TPriceView& view) const {
  const int width = BodyWidth(view.PixelsPerBar(plot));
  const auto y = [&](double price) { return PixelOf(view.PriceToY(price, plot)); };
  const auto colorOf = [&](const ColumnBar& bar) { return bar.close >= bar.open ? rising_ : falling_; };
  if (width == 1) {
    // Wicks alone, one a column, none over another: written together.
    std::vector<TColumnLine> wicks;
    wicks.reserve(static_cast<std::size_t>(std::max(plot.Width(), 0)) + 1);
    ForEachColumn(plot, view, [&](const ColumnBar& bar) {
      wicks.push_back({bar.x, y(bar.high), y(bar.low) + 1, colorOf(bar)});
    });
    canvas.StrokeColumnLines(wicks);
    return;
  }
  ForEachColumn(plot, view, [&](const ColumnBar& bar) {
    const TColor color = colorOf(bar);
    canvas.SetPen(SolidPen(color));
    // Lines leave out their end pixel, so the wick ends one past the low.
    canvas.StrokeLine(bar.x, y(bar.high), bar.x, y(bar.low) + 1);
    // A body one pixel wide lies within its wick: nothing more to draw.
    if (width == 1) return;
    const int left = bar.x - width / 2;
    const int yOpen = y(bar.open), yClose = y(bar.close);
    if (bar.open == bar.close) {
      canvas.StrokeLine(left, yOpen, left + width, yOpen);  // a doji is a line
    } else {
      canvas.SetBrush(TBrush{color, TBrushStyle::bsSolid});
      canvas.FillRect(Rect{left, std::min(yOpen, yClose), left + width, std::max(yOpen, yClose) + 1});
    }
  });
}

void TCandleSeries::DrawLine(TCanvas& canvas, const Rect& plot, const TPriceView& view) const {
  const auto y = [&](double price) { return PixelOf(view.PriceToY(price, plot)); };
  canvas.SetPen(SolidPen(lineColor_));
  bool started = false;
  Point previous;
  ForEachColumn(plot, view, [&](const ColumnBar& bar) {
    const Point first{bar.x, y(bar.bars == 1 ? bar.close : bar.open)};
    if (started) canvas.StrokeLine(previous.x, previous.y, first.x, first.y);
    // The closes of a shared column span it from the lowest to the highest.
    if (bar.bars > 1) canvas.StrokeLine(bar.x, y(bar.closeHigh), bar.x, y(bar.closeLow) + 1);
    previous = Point{bar.x, y(bar.close)};
    started = true;
  });
  if (started) canvas.StrokeLine(previous.x, previous.y, previous.x + 1, previous.y);  // the last end pixel
}

TPriceChartLayout LayoutPriceChart(TCanvas& canvas, const Rect& bounds, const TPriceView& view,
                                   const TPriceChartStyle& style) {
  TPriceChartLayout layout;
  canvas.SetFont(style.labelFont);
  const int lineHeight = canvas.TextLineHeight();
  const int tickSpace = 1 + style.tickLength + style.labelPadding;  // the axis line, a tick, the padding

  Rect rest = bounds;
  rest.TakeFromTop(style.margin);
  rest.TakeFromLeft(style.margin);
  layout.timeAxis = rest.TakeFromBottom(tickSpace + lineHeight + style.labelPadding);
  // The price labels depend only on the plot's height, so they are known
  // before the axis' width is.
  layout.priceLabels = ChoosePriceLabels(view, rest, lineHeight, style.priceLabelGap);
  int widest = 0;
  for (const TPriceLabel& label : layout.priceLabels) widest = std::max(widest, canvas.MeasureWidth(label.text));
  layout.priceAxis = rest.TakeFromRight(tickSpace + widest + style.labelPadding);
  layout.timeAxis.right = rest.right;
  layout.plot = rest;
  if (rest.IsEmpty()) {
    layout.priceLabels.clear();
    return layout;
  }
  const TBarPlacement placement{view.BarToX(0, rest) - rest.left, view.PixelsPerBar(rest), view.TimesAscending(),
                                view.ShortestTimeGap(view.FirstVisibleBar(), view.LastVisibleBar())};
  layout.timeLabels = ChooseTimeLabels(view.Bars().time, view.FirstVisibleBar(), view.LastVisibleBar(),
                                       rest.Width(), MeasureWith(canvas), placement, style.timeLabels);
  return layout;
}

TPriceChartLayout DrawPriceChart(TCanvas& canvas, const Rect& bounds, const TCandleSeries& series,
                                 const TPriceView& view, const TPriceChartStyle& style) {
  const TCanvasStateSaver saver(canvas);
  canvas.SetPen(TPen{style.background, 1, TPenStyle::psClear, false});
  canvas.SetBrush(TBrush{style.background, TBrushStyle::bsSolid});
  canvas.FillRect(bounds);

  TPriceChartLayout layout = LayoutPriceChart(canvas, bounds, view, style);
  const Rect& plot = layout.plot;
  if (plot.IsEmpty()) return layout;

  if (style.grid) {
    canvas.SetPen(SolidPen(style.gridColor));
    for (const TPriceLabel& label : layout.priceLabels) canvas.StrokeLine(plot.left, label.y, plot.right, label.y);
    for (const TTimeLabel& label : layout.timeLabels.labels)
      canvas.StrokeLine(plot.left + label.x, plot.top, plot.left + label.x, plot.bottom);
  }

  series.Draw(canvas, plot, view);

  canvas.SetPen(SolidPen(style.axisColor));
  canvas.StrokeLine(plot.right, plot.top, plot.right, plot.bottom + 1);
  canvas.StrokeLine(plot.left, plot.bottom, plot.right + 1, plot.bottom);

  canvas.SetFont(style.labelFont);
  canvas.SetBackgroundMode(TBackgroundMode::bmTransparent);
  const int lineHeight = canvas.TextLineHeight();
  const int tickStart = 1;  // beside the axis line
  const int labelOffset = tickStart + style.tickLength + style.labelPadding;

  canvas.SetTextAnchor(kTextAlignLeftTop);
  for (const TPriceLabel& label : layout.priceLabels) {
    canvas.StrokeLine(plot.right + tickStart, label.y, plot.right + tickStart + style.tickLength, label.y);
    canvas.PutText(plot.right + labelOffset, label.y - lineHeight / 2, label.text);
  }
  canvas.SetTextAnchor(kTextAlignCenter);
  for (const TTimeLabel& label : layout.timeLabels.labels) {
    const int x = plot.left + label.x;
    canvas.StrokeLine(x, plot.bottom + tickStart, x, plot.bottom + tickStart + style.tickLength);
    canvas.PutText(x, plot.bottom + labelOffset, label.text);
  }
  canvas.SetTextAnchor(kTextAlignLeftTop);
  return layout;
}

}  // namespace tavimo::chart
