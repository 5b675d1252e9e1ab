#pragma once
// The main window's chart without a window: painted on the raster canvas at a
// given size, written as a PNG with the vertical caption over it, or
// described as a JSON layout report. A build without the raster canvas links
// NoChartOutput.cpp instead, which reports that it has no chart.

#include <climits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "chart/DepthHistogram.h"
#include "chart/PriceColumns.h"
#include "chart/PriceOverlays.h"
#include "chart/MainChart.h"

namespace tavimo::cli {

// The --png name that stands for standard output.
inline constexpr std::string_view kStandardOutput = "-";

struct ChartRequest {
  int width = chart::kMainChartWidth;
  int height = chart::kMainChartHeight;
  // Device pixels per pixel of the size: the picture is the size times the
  // scale, laid out and drawn as the window does on a screen of that ratio.
  double scale = 1.0;
  std::optional<std::string> pngPath;  // write the picture here (kStandardOutput: return it)
  bool layout = false;                 // return the layout report
};

struct ChartOutcome {
  std::optional<std::string> error;  // the picture could not be written, or this build has no chart
  std::string layoutJson;            // when asked for, with a final line break
  std::string png;                   // the picture, when asked for on standard output
};

// One bar per ratio as start-up appends them; `levels` (as long as `ratios`)
// then set as a compute command sets them, or none: every level stays 0.
// markTexts, when not empty, are the marks' texts (levels on a price tick).
ChartOutcome RenderChart(const ChartRequest& request, const std::vector<std::string>& ratios,
                         const std::vector<double>* levels, const std::vector<std::string>& markTexts = {});

// chart: a price file's candles with its zigzag and level lines, bars
// firstBar to lastBar in view (fitted as the window fits all), rising and
// falling candles in the colours given.
struct PriceChartPicture {
  chart::TPriceColumns bars;
  int firstBar = 0;
  int lastBar = INT_MAX;  // clamped to the last bar
  chart::TZigzag zigzag;
  bool openLast = true;
  std::vector<chart::TChartLevelLine> levels;
  chart::TColor rising = 0;
  chart::TColor falling = 0;
};
ChartOutcome RenderPriceChart(const ChartRequest& request, const PriceChartPicture& picture);

// stats --png: the histogram of the depths at the request's size and scale.
ChartOutcome RenderHistogram(const ChartRequest& request, const chart::DepthHistogramInput& input);

}  // namespace tavimo::cli
