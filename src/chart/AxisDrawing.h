#pragma once
// Drawing one shown axis: its point or value labels (point labels that would
// overlap the previous drawn one are skipped), the axis line, the major and
// minor ticks and the grid lines across the plot rectangle.

#include "chart/Axis.h"

namespace tavimo::chart {

void DrawAxis(TChartAxis& axis, TCanvas& canvas);

// The text alignment flags of a label with angle 0 on this axis' side.
int AxisLabelAlignment(const TChartAxis& axis);

}  // namespace tavimo::chart
