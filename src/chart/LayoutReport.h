#pragma once
// A description of the chart's last paint (plot rectangle, axes, labels,
// bars and marks) for tools and tests that compare layouts without pixels.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "chart/Chart.h"

namespace tavimo::chart {

struct MarkReport {
  std::string text;
  Rect box;                    // right and bottom exclusive
  std::array<Point, 2> arrow;  // start on the bar, end at the box
};

struct BarReport {
  int index = 0;
  std::string label;
  double value = 0.0;
  TColor color = clBlack;
  int top = 0;
  std::vector<Point> polygon;  // the seven arrow points; empty when nothing is drawn
  std::optional<MarkReport> mark;  // absent when the point got no mark
};

struct ChartLayoutReport {
  int width = 0;
  int height = 0;
  Rect plotRect;
  int titleLineHeight = 0;
  int barThickness = 0;
  TAxisLayoutRecord leftAxis;
  TAxisLayoutRecord bottomAxis;
  std::vector<TAxisLabelRecord> axisLabels;  // the left axis' labels, in drawing order
  std::vector<BarReport> bars;
  int markLineHeight = 0;
  int markWWidth = 0;
};

// Valid after a paint; reads the main (first) series when there is one.
// Positions and sizes are device pixels of the chart's image: the layout's
// design pixels at the chart's scale, each through ScaleLength (Canvas.h).
ChartLayoutReport DescribeLayout(TChart& chart);

// "#rrggbb"
std::string ColorToHex(TColor color);

}  // namespace tavimo::chart
