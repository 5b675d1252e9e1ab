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
  for (std::size_t i = 0; i + 1 < pivots.size(); ++i) {
    const TChartPivot& a = pivots[i];
    const TChartPivot& b = pivots[i + 1];
    const bool open = openLast && i + 2 == pivots.size();
    const bool thick = std::find(selected.begin(), selected.end(), static_cast<int>(i)) != selected.end();
    canvas.SetPen({kZigzagColor, thick ? 3 : 1, open ? TPenStyle::psDash : TPenStyle::psSolid});
    canvas.StrokeLine(Round(view.BarToX(a.bar, plot)), Round(view.PriceToY(a.price, plot)),
                      Round(view.BarToX(b.bar, plot)), Round(view.PriceToY(b.price, plot)));
  }
  TFont labelFont = font;
  labelFont.color = kZigzagColor;
  canvas.SetFont(labelFont);
  const int first = view.FirstVisibleBar();
  const int last = view.LastVisibleBar();
  // The labels of highs and of lows each keep clear of the one before on their side.
  int lastRight[2] = {INT_MIN, INT_MIN};
  for (const TChartPivot& p : pivots) {
    if (p.bar < first || p.bar > last) continue;
    const int x = Round(view.BarToX(p.bar, plot));
    const int half = canvas.MeasureWidth(p.label) / 2;
    int& right = lastRight[p.high ? 1 : 0];
    if (x - half <= right + 2) continue;
    right = x + half;
    canvas.SetTextAnchor(kTextAlignCenter | (p.high ? kTextAlignBottom : 0));
    const int y = Round(view.PriceToY(p.price, plot));
    canvas.PutText(x, p.high ? y - 3 : y + 3, p.label);
  }
  canvas.SetTextAnchor(kTextAlignLeftTop);
}

}  // namespace tavimo::chart
