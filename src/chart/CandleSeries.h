#pragma once
// Price bars drawn through a TPriceView: candles (a wick from low to high, a
// body from open to close in the rising or falling colour) or a line joining
// the closes; and the price chart's frame around them, the price axis on
// the right and the time axis at the bottom. All in design pixels, so the
// canvas' scale renders it for any screen as the main chart is.

#include <span>
#include <vector>

#include "chart/Canvas.h"
#include "chart/PriceAxis.h"
#include "chart/PriceView.h"
#include "chart/TimeAxis.h"

namespace tavimo::chart {

enum class TPriceSeriesKind { Candles, Line };

// The red and the green of the candles, in both windows and tavimo-cli.
inline constexpr TColor kCandleRed = RGBColor(0xE0, 0x20, 0x20);
inline constexpr TColor kCandleGreen = RGBColor(0x10, 0xA0, 0x40);

class TCandleSeries {
 public:
  // A body takes this share of the space between bar centres.
  static constexpr double kBodyShare = 0.7;

  TPriceSeriesKind Kind() const { return kind_; }
  void SetKind(TPriceSeriesKind kind) { kind_ = kind; }
  // A candle rises when its close is at or above its open.
  TColor RisingColor() const { return rising_; }
  TColor FallingColor() const { return falling_; }
  void SetColors(TColor rising, TColor falling) {
    rising_ = rising;
    falling_ = falling;
  }
  TColor LineColor() const { return lineColor_; }
  void SetLineColor(TColor color) { lineColor_ = color; }

  // The view's bars inside the plot, clipped to it (the clipping is cleared
  // after). Bars that share a pixel column are drawn as one, from the first
  // one's open to the last one's close, so a zoomed-out chart draws a line
  // per column rather than per bar.
  void Draw(TCanvas& canvas, const Rect& plot, const TPriceView& view) const;

  // Design pixels of one candle of bar spacing `spacing`: its body's width
  // (at least 1, odd from 3 on so the wick is in its middle).
  static int BodyWidth(double spacing);

 private:
  void DrawCandles(TCanvas& canvas, const Rect& plot, const TPriceView& view) const;
  void DrawLine(TCanvas& canvas, const Rect& plot, const TPriceView& view) const;

  TPriceSeriesKind kind_ = TPriceSeriesKind::Candles;
  TColor rising_ = clRed;
  TColor falling_ = clGreen;
  TColor lineColor_ = clNavy;
};

struct TPriceChartStyle {
  TColor background = clWhite;
  TColor axisColor = clBlack;
  TColor gridColor = RGBColor(0xE4, 0xE4, 0xE4);
  bool grid = true;
  TFont labelFont{"Arial", -12, clBlack};
  int tickLength = 4;
  int labelPadding = 3;  // between a tick and its label
  int margin = 8;        // empty space at the top and left
  int priceLabelGap = 6; // at least between two price labels
  TTimeLabelStyle timeLabels;
};

// Where a frame puts its parts, and the labels it drew.
struct TPriceChartLayout {
  Rect plot;
  Rect priceAxis;  // right of the plot
  Rect timeAxis;   // below the plot
  std::vector<TPriceLabel> priceLabels;
  TTimeAxisLabels timeLabels;
};

// The parts of a frame in bounds: the time axis takes a line of labels at
// the bottom, the price axis the widest of its labels on the right. The
// labels depend on the view's ranges, so lay out again after they change.
TPriceChartLayout LayoutPriceChart(TCanvas& canvas, const Rect& bounds, const TPriceView& view,
                                   const TPriceChartStyle& style);

// The whole frame: background, grid, the series, the axis lines, ticks and labels.
TPriceChartLayout DrawPriceChart(TCanvas& canvas, const Rect& bounds, const TCandleSeries& series,
                                 const TPriceView& view, const TPriceChartStyle& style);

}  // namespace tavimo::chart
