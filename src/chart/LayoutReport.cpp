#include "chart/LayoutReport.h"

#include <cstdio>

namespace tavimo::chart {

std::string ColorToHex(TColor color) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", static_cast<unsigned>(RedOf(color)),
                static_cast<unsigned>(GreenOf(color)), static_cast<unsigned>(BlueOf(color)));
  return text;
}

namespace {

// The report's design pixels as device pixels at `scale`.
void ScaleReport(ChartLayoutReport& r, double scale) {
  const auto px = [scale](int& v) { v = ScaleLength(v, scale); };
  const auto point = [&](Point& p) {
    px(p.x);
    px(p.y);
  };
  const auto rect = [&](Rect& q) {
    px(q.left);
    px(q.top);
    px(q.right);
    px(q.bottom);
  };
  const auto axis = [&](TAxisLayoutRecord& a) {
    for (int* v : {&a.startPixel, &a.endPixel, &a.labelsPos, &a.axisLinePos, &a.pixelSpan, &a.centerPixel, &a.titlePos})
      px(*v);
  };
  for (int* v : {&r.width, &r.height, &r.titleLineHeight, &r.barThickness, &r.markLineHeight, &r.markWWidth}) px(*v);
  rect(r.plotRect);
  axis(r.leftAxis);
  axis(r.bottomAxis);
  for (TAxisLabelRecord& label : r.axisLabels) {
    px(label.pixel);
    px(label.width);
    px(label.height);
  }
  for (BarReport& bar : r.bars) {
    px(bar.top);
    for (Point& p : bar.polygon) point(p);
    if (bar.mark) {
      rect(bar.mark->box);
      for (Point& p : bar.mark->arrow) point(p);
    }
  }
}

}  // namespace

ChartLayoutReport DescribeLayout(TChart& chart) {
  ChartLayoutReport report;
  report.width = chart.ClientWidth();
  report.height = chart.ClientHeight();
  report.plotRect = chart.PlotRect();
  report.titleLineHeight = chart.TitleLineHeight();
  report.leftAxis = chart.LeftAxis().LastLayout();
  report.bottomAxis = chart.BottomAxis().LastLayout();
  report.axisLabels = chart.LeftAxis().LabelRecords();

  auto* series = chart.SeriesCount() > 0 ? dynamic_cast<THorizBarSeries*>(&chart.Series(0)) : nullptr;
  if (series == nullptr) return report;
  report.barThickness = series->BarThickness();
  TSeriesMarks& marks = series->Marks();
  for (int i = 0; i < series->PointCount(); ++i) {
    BarReport bar;
    bar.index = i;
    bar.label = series->PointLabel(i);
    bar.value = series->PointX(i);
    bar.color = series->PointColor(i);
    bar.top = series->BarTop(i);
    std::array<Point, 7> polygon;
    if (series->BarPolygon(i, polygon)) bar.polygon.assign(polygon.begin(), polygon.end());
    // Only marks of the last paint: visible points with a colour and a text.
    const bool markDrawn = series->Active() && marks.Visible() && series->FirstVisible() >= 0 &&
                           i >= series->FirstVisible() && i <= series->LastVisible() &&
                           bar.color != clNone && !marks.MarkCaption(i).empty();
    if (const TSeriesMarkPosition* p = marks.StoredPosition(i); markDrawn && p != nullptr) {
      bar.mark = MarkReport{marks.MarkCaption(i), p->Box(), {p->ArrowStart, p->ArrowEnd}};
    }
    report.bars.push_back(std::move(bar));
  }
  TCanvas& canvas = chart.Canvas();
  canvas.SetFont(marks.Font());
  report.markLineHeight = canvas.TextLineHeight();
  report.markWWidth = canvas.MeasureWidth("W");
  if (chart.Scale() != 1.0) ScaleReport(report, chart.Scale());
  return report;
}

}  // namespace tavimo::chart
