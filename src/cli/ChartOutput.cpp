#include "cli/ChartOutput.h"

#include <optional>

#include "runtime/Messages.h"
#include "chart/LayoutReport.h"
#include "chart/LayoutReportJson.h"
#include "chart/RasterOutput.h"
#include "platform/AtomicFile.h"

namespace tavimo::cli {

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
    std::string png = chart::EncodePng(chart->Canvas());
    // A picture replaces its file whole or not at all, as the settings file does.
    if (*request.pngPath == kStandardOutput) outcome.png = std::move(png);
    else if (std::optional<std::string> reason = platform::WriteFileAtomically(*request.pngPath, png))
      outcome.error = "tavimo-cli: cannot write the chart to " + messages::QuotedText(*request.pngPath) + ": " + *reason;
  }
  return outcome;
}

}  // namespace tavimo::cli
