#pragma once
// The histogram of retracement depths: how often each depth occurred, in
// bins from 0, with a vertical line at each ratio in the colour its bar has
// in the main chart, so the ratios that held stand out where the bins pile
// up against their lines.

#include <string>
#include <vector>

#include "chart/Canvas.h"
#include "chart/Geometry.h"

namespace tavimo::chart {

struct HistogramRatio {
  std::string text;  // as the ratio list writes it
  double value = 0.0;
};

struct DepthHistogramInput {
  std::vector<double> depths;
  double binWidth = 0.02;  // > 0
  std::vector<HistogramRatio> ratios;
};

// The counts of the bins [k w, (k + 1) w) from 0 up to the bin of the
// largest ratio or of the 98th-percentile depth, whichever is higher; deeper
// depths count in the last bin.
std::vector<int> DepthBins(const DepthHistogramInput& input);

// Paints the whole area: background, bins, ratio lines with their texts,
// the depth axis below and the largest count at the left.
void DrawDepthHistogram(TCanvas& canvas, const Rect& area, const DepthHistogramInput& input);

}  // namespace tavimo::chart
