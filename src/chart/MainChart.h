#pragma once
// The main window's chart as its stored settings configure it, its one
// horizontal bar series, the vertical caption label laid over it, and filling
// the series from the ratio list and the levels the way the window does.

#include <memory>
#include <string>
#include <vector>

#include "chart/Chart.h"

namespace tavimo::chart {

// The chart's size in the stored window, whose client area it fills.
inline constexpr int kMainChartWidth = 597;
inline constexpr int kMainChartHeight = 504;

// A label drawn by the window on top of the chart image (not part of it).
struct TCaptionLabel {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  std::string caption;  // lines separated by "\r\n"
  TFont font;
  bool transparent = true;
};

// The chart with every stored setting applied and Series1 holding no points.
std::unique_ptr<TChart> BuildMainChart(std::unique_ptr<TCanvas> canvas);
THorizBarSeries& MainSeries(TChart& chart);
// The caption "黄金分割点计算结果" read top to bottom, one character per line.
const TCaptionLabel& MainCaptionLabel();
// The label as the window shows it over the chart image, for a picture made
// without the window: the lines from the label's top-left corner down, one
// line height apart; then the image is presented.
void DrawCaptionLabel(TCanvas& canvas, const TCaptionLabel& label);

// One bar per ratio, in order: value 0, the ratio text as label, automatic colour.
void AppendRatioBars(THorizBarSeries& series, const std::vector<std::string>& ratios);
// The ratio list changed: clear the bars and append the new ones.
void ReplaceRatioBars(THorizBarSeries& series, const std::vector<std::string>& ratios);
// A compute command's outcome: bar i takes level i, for the bars and levels
// there are. markTexts, when not empty, are the marks' texts (levels rounded
// to a price tick); otherwise the marks show the levels formatted.
void SetRatioBarLevels(THorizBarSeries& series, const std::vector<double>& levels,
                       std::vector<std::string> markTexts = {});
// The clear command: every bar back to level 0.
void ClearRatioBarLevels(THorizBarSeries& series);
// Every axis back to automatic ranges, as the chart is built; panning and
// wheel scrolling leave the axes they move manual.
void RestoreAutomaticAxes(TChart& chart);

}  // namespace tavimo::chart
