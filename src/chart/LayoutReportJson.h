#pragma once
// The layout report as JSON text.

#include <string>

#include "chart/LayoutReport.h"

namespace tavimo::chart {

// Keys: size, plotRect, titleLineHeight, barThickness, axes {left, bottom},
// axisLabels, bars (with polygon and mark, or "mark": null), markFont.
std::string LayoutReportToJson(const ChartLayoutReport& report);

}  // namespace tavimo::chart
