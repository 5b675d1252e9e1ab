#include "chart/PriceOverlays.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

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

void DrawZigzag(TCanvas& canvas, const Rect& plot, const TPriceView& view, const std::vector<TChartPivot>& pivots,
                bool openLast, const std::vector<int>& selected, const TFont& font) {
  if (pivots.size() < 2) return;
  const std::size_t segments = pivots.size() - 1;
  const auto x = [&](std::size_t i) { return Round(view.BarToX(pivots[i].bar, plot)); };
  const auto y = [&](std::size_t i) { return Round(view.PriceToY(pivots[i].price, plot)); };
  const auto special = [&](std::size_t s) {
    return (openLast && s + 1 == segments) || std::find(selected.begin(), selected.end(), static_cast<int>(s)) != selected.end();
  };
  for (std::size_t i = 0; i < segments;) {
    if (special(i)) {
      const bool open = openLast && i + 1 == segments;
      const bool thick = std::find(selected.begin(), selected.end(), static_cast<int>(i)) != selected.end();
      canvas.SetPen({kZigzagColor, thick ? 3 : 1, open ? TPenStyle::psDash : TPenStyle::psSolid});
      canvas.StrokeLine(x(i), y(i), x(i + 1), y(i + 1));
      ++i;
      continue;
    }
    canvas.SetPen({kZigzagColor, 1, TPenStyle::psSolid});
    const int column = x(i);
    if (x(i + 1) != column) {
      canvas.StrokeLine(column, y(i), x(i + 1), y(i + 1));
      ++i;
      continue;
    }
    // Segments within one pixel column are vertical: a run of them is drawn
    // as one line over the rows they cover, so a zoomed-out chart of many
    // thousands of pivots draws a line per column.
    int top = std::min(y(i), y(i + 1)), bottom = std::max(y(i), y(i + 1));
    std::size_t k = i + 1;
    for (; k < segments && !special(k) && x(k + 1) == column; ++k) {
      top = std::min(top, y(k + 1));
      bottom = std::max(bottom, y(k + 1));
    }
    canvas.StrokeLine(column, top, column, bottom + 1);
    i = k;
  }
  TFont labelFont = font;
  labelFont.color = kZigzagColor;
  canvas.SetFont(labelFont);
  const int first = view.FirstVisibleBar();
  const int last = view.LastVisibleBar();
  // The labels of highs and of lows each keep clear of the one before on
  // their side. A pivot within 2 pixels of the one before on its side is
  // not labelled (it is one of a crowd no label could name), and a centre
  // already under the label before cannot clear it: neither is measured,
  // which keeps a zoomed-out chart of many thousands of pivots quick.
  int lastRight[2] = {INT_MIN, INT_MIN};
  double lastX[2] = {-1e300, -1e300};
  for (const TChartPivot& p : pivots) {
    if (p.bar < first || p.bar > last) continue;
    const double at = view.BarToX(p.bar, plot);
    const bool crowded = at - lastX[p.high ? 1 : 0] < 2;
    lastX[p.high ? 1 : 0] = at;
    if (crowded) continue;
    const int x = Round(at);
    int& right = lastRight[p.high ? 1 : 0];
    if (x <= right + 2) continue;
    const int half = canvas.MeasureWidth(p.label) / 2;
    if (x - half <= right + 2) continue;
    right = x + half;
    canvas.SetTextAnchor(kTextAlignCenter | (p.high ? kTextAlignBottom : 0));
    const int y = Round(view.PriceToY(p.price, plot));
    canvas.PutText(x, p.high ? y - 3 : y + 3, p.label);
  }
  canvas.SetTextAnchor(kTextAlignLeftTop);
}

}  // namespace tavimo::chart
