#pragma once
// Charts over the recording canvas for the engine's tests.

#include <memory>
#include <string>
#include <vector>

#include "chart/Chart.h"
#include "chart/MainChart.h"
#include "chart/RecordingCanvas.h"

namespace tavimo::chart::testing {

inline const std::vector<std::string> kSixteenRatios = {"0.191", "0.236", "0.333", "0.382", "0.5",   "0.618",
                                                        "0.666", "0.809", "1",     "1.191", "1.236", "1.382",
                                                        "1.5",   "1.618", "1.809", "2"};

struct TestChart {
  std::unique_ptr<TChart> chart;
  RecordingCanvas* canvas = nullptr;

  TChart& operator*() { return *chart; }
  TChart* operator->() { return chart.get(); }
  THorizBarSeries& series() { return MainSeries(*chart); }
  void Paint() {
    canvas->ClearRecords();
    chart->PaintChart();
  }
};

// The main window's chart at its stored size, one bar per ratio, all levels 0.
inline TestChart MainChartWith(const std::vector<std::string>& ratios, int width = 597, int height = 504) {
  auto canvas = std::make_unique<RecordingCanvas>();
  TestChart t;
  t.canvas = canvas.get();
  t.chart = BuildMainChart(std::move(canvas));
  t.chart->SetClientSize(width, height);
  AppendRatioBars(MainSeries(*t.chart), ratios);
  return t;
}

// A bare chart (default settings) with a recording canvas.
inline TestChart BareChart(int width, int height) {
  auto canvas = std::make_unique<RecordingCanvas>();
  TestChart t;
  t.canvas = canvas.get();
  t.chart = std::make_unique<TChart>(std::move(canvas));
  t.chart->SetClientSize(width, height);
  return t;
}

}  // namespace tavimo::chart::testing
