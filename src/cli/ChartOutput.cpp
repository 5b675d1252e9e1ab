#include "cli/ChartOutput.h"

#include <optional>

#include "runtime/Messages.h"
#include "chart/CandleSeries.h"
#include "chart/LayoutReport.h"
#include "chart/LayoutReportJson.h"
#include "chart/RasterOutput.h"
#include "platform/AtomicFile.h"

namespace tavimo::cli {

namespace {

// A picture replaces its file whole or not at all, as the settings file does.
void WritePicture(const ChartRequest& request, std::string png, ChartOutcome& outcome) {
  if (*request.pngPath == kStandardOutput) outcome.png = std::move(png);
  else if (std::optional<std::string> reason = platform::WriteFileAtomically(*request.pngPath, png))
    outcome.error = "tavimo-cli: cannot write the chart to " + messages::QuotedText(*request.pngPath) + ": " + *reason;
}

}  // namespace

ChartOutcome RenderPriceChart(const ChartRequest& request, const PriceChartPicture& picture) {
  chart::EnsureRasterFonts();
  std::unique_ptr<chart::TCanvas> canvas = chart::MakeRasterCanvas();
  canvas->SetScale(request.scale);
  const chart::Rect bounds = canvas->SetupWindow(request.width, request.height);
  chart::TPriceView view;
  view.SetBars(picture.bars);
  view.FitBars(picture.firstBar, picture.lastBar);
  chart::TCandleSeries series;
  series.SetColors(picture.rising, picture.falling);
  const chart::TPriceChartStyle style;
  view.KeepRightFree(chart::LevelLabelSpace(*canvas, picture.levels, style.labelFont),
                     chart::LayoutPriceChart(*canvas, bounds, view, style).plot);
  const chart::TPriceChartLayout layout = chart::DrawPriceChart(*canvas, bounds, series, view, style);
  canvas->ClipTo(layout.plot);
  chart::DrawLevelLines(*canvas, layout.plot, view, picture.levels, style.labelFont, style.background);
  chart::DrawZigzag(*canvas, layout.plot, view, picture.zigzag, picture.openLast, {}, style.labelFont);
  canvas->ClearClip();
  canvas->ShowImage();
  ChartOutcome outcome;
  WritePicture(request, chart::EncodePng(*canvas), outcome);
  return outcome;
}

ChartOutcome RenderHistogram(const ChartRequest& request, const chart::DepthHistogramInput& input) {
  chart::EnsureRasterFonts();
  std::unique_ptr<chart::TCanvas> canvas = chart::MakeRasterCanvas();
  canvas->SetScale(request.scale);
  const chart::Rect area = canvas->SetupWindow(request.width, request.height);
  chart::DrawDepthHistogram(*canvas, area, input);
  canvas->ShowImage();
  ChartOutcome outcome;
  WritePicture(request, chart::EncodePng(*canvas), outcome);
  return outcome;
}

ChartOutcome RenderChart(const ChartRequest& request, const std::vector<std::string>& ratios,
                         const std::vector<double>* levels, const std::vector<std::string>& markTexts) {
  chart::EnsureRasterFonts();
  std::unique_ptr<chart::TChart> chart = chart::BuildMainChart(chart::MakeRasterCanvas());
  chart::THorizBarSeries& series = chart::MainSeries(*chart);
  chart::AppendRatioBars(series, ratios);
  if (levels != nullptr) chart::SetRatioBarLevels(series, *levels, markTexts);
  chart->SetScale(request.scale);
  chart->SetClientSize(request.width, request.height);
  chart->PaintRequest();

  ChartOutcome outcome;
  if (request.layout) outcome.layoutJson = chart::LayoutReportToJson(chart::DescribeLayout(*chart)) + "\n";
  if (request.pngPath) {
    chart::DrawCaptionLabel(chart->Canvas(), chart::MainCaptionLabel());
    WritePicture(request, chart::EncodePng(chart->Canvas()), outcome);
  }
  return outcome;
}

}  // namespace tavimo::cli
