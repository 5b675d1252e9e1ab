#include "chart/DepthHistogram.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "chart/Palette.h"

namespace tavimo::chart {

namespace {

constexpr int kMargin = 8;
constexpr int kAxisHeight = 20;
constexpr int kCountWidth = 40;
constexpr int kMaxBins = 2000;

std::size_t BinCount(const DepthHistogramInput& input) {
  double upper = 0.0;
  for (const HistogramRatio& ratio : input.ratios) upper = std::max(upper, ratio.value);
  if (!input.depths.empty()) {
    std::vector<double> sorted = input.depths;
    const std::size_t at = static_cast<std::size_t>(0.98 * static_cast<double>(sorted.size() - 1));
    std::nth_element(sorted.begin(), sorted.begin() + static_cast<std::ptrdiff_t>(at), sorted.end());
    if (std::isfinite(sorted[at])) upper = std::max(upper, sorted[at]);
  }
  const double bins = std::floor(upper / input.binWidth) + 1;
  return static_cast<std::size_t>(std::clamp(bins, 1.0, static_cast<double>(kMaxBins)));
}

std::string AxisText(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

}  // namespace

std::vector<int> DepthBins(const DepthHistogramInput& input) {
  std::vector<int> bins(BinCount(input), 0);
  for (double depth : input.depths) {
    if (!(depth >= 0)) continue;
    const double at = std::floor(depth / input.binWidth);
    ++bins[at < static_cast<double>(bins.size()) ? static_cast<std::size_t>(at) : bins.size() - 1];
  }
  return bins;
}

void DrawDepthHistogram(TCanvas& canvas, const Rect& area, const DepthHistogramInput& input) {
  canvas.SetBrush({clWhite, TBrushStyle::bsSolid});
  canvas.FillRect(area);
  const std::vector<int> bins = DepthBins(input);
  const int largest = std::max(1, *std::max_element(bins.begin(), bins.end()));
  const Rect plot{area.left + kMargin + kCountWidth, area.top + kMargin, area.right - kMargin,
                  area.bottom - kMargin - kAxisHeight};
  if (plot.right <= plot.left || plot.bottom <= plot.top) return;
  const double span = static_cast<double>(bins.size()) * input.binWidth;
  const auto xOf = [&](double depth) {
    return plot.left + static_cast<int>(std::lround(depth / span * (plot.right - plot.left)));
  };

  canvas.SetBrush({TColor(0xB48246), TBrushStyle::bsSolid});  // steel blue
  for (std::size_t k = 0; k < bins.size(); ++k) {
    if (bins[k] == 0) continue;
    const int height = static_cast<int>(std::lround(static_cast<double>(bins[k]) / largest * (plot.bottom - plot.top)));
    canvas.FillRect({xOf(static_cast<double>(k) * input.binWidth), plot.bottom - std::max(1, height),
                     std::max(xOf(static_cast<double>(k + 1) * input.binWidth) - 1,
                              xOf(static_cast<double>(k) * input.binWidth) + 1),
                     plot.bottom});
  }

  TFont font = canvas.Font();
  font.face = "Arial";
  font.height = -11;
  for (std::size_t i = 0; i < input.ratios.size(); ++i) {
    const HistogramRatio& ratio = input.ratios[i];
    if (!(ratio.value >= 0 && ratio.value <= span)) continue;
    const TColor color = PaletteColor(static_cast<int>(i));
    const int x = xOf(ratio.value);
    canvas.SetPen({color == clWhite ? clSilver : color, 1, TPenStyle::psSolid});
    canvas.StrokeLine(x, plot.top, x, plot.bottom);
    font.color = canvas.Pen().color;
    canvas.SetFont(font);
    canvas.SetTextAnchor(kTextAlignLeftTop);
    canvas.PutText(x + 2, plot.top + static_cast<int>(i % 4) * 12, ratio.text);
  }

  canvas.SetPen({clBlack, 1, TPenStyle::psSolid});
  canvas.StrokeLine(plot.left, plot.bottom, plot.right, plot.bottom);
  canvas.StrokeLine(plot.left, plot.top, plot.left, plot.bottom);
  font.color = clBlack;
  canvas.SetFont(font);
  // Depth labels every half, or every whole for a wide span.
  const double step = span > 4 ? 1.0 : 0.5;
  canvas.SetTextAnchor(kTextAlignCenter);
  for (double depth = 0; depth <= span + 1e-9; depth += step) canvas.PutText(xOf(depth), plot.bottom + 4, AxisText(depth));
  canvas.SetTextAnchor(kTextAlignRight);
  canvas.PutText(plot.left - 4, plot.top, std::to_string(largest));
  canvas.PutText(plot.left - 4, plot.bottom - 12, "0");
}

}  // namespace tavimo::chart
