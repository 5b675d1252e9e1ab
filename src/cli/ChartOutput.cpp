#include "cli/ChartOutput.h"

#include <cerrno>
#include <cstdio>
#include <optional>
#include <system_error>

#include "chart/LayoutReport.h"
#include "chart/LayoutReportJson.h"
#include "chart/RasterOutput.h"

namespace tavimo::cli {

namespace {

// The whole of `bytes` as the file at `path`; the reason when that fails.
std::optional<std::string> WriteFile(const std::string& path, const std::string& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return std::generic_category().message(errno);
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const int writeError = errno;
  const bool closed = std::fclose(file) == 0;
  if (!written) return std::generic_category().message(writeError);
  if (!closed) return std::generic_category().message(errno);
  return std::nullopt;
}

}  // namespace

ChartOutcome RenderChart(const ChartRequest& request, const std::vector<std::string>& ratios,
                         const std::vector<double>* levels) {
  chart::EnsureRasterFonts();
  std::unique_ptr<chart::TChart> chart = chart::BuildMainChart(chart::MakeRasterCanvas());
  chart::THorizBarSeries& series = chart::MainSeries(*chart);
  chart::AppendRatioBars(series, ratios);
  if (levels != nullptr) chart::SetRatioBarLevels(series, *levels);
  chart->SetScale(request.scale);
  chart->SetClientSize(request.width, request.height);
  chart->PaintRequest();

  ChartOutcome outcome;
  if (request.layout) outcome.layoutJson = chart::LayoutReportToJson(chart::DescribeLayout(*chart)) + "\n";
  if (request.pngPath) {
    chart::DrawCaptionLabel(chart->Canvas(), chart::MainCaptionLabel());
    if (std::optional<std::string> reason = WriteFile(*request.pngPath, chart::EncodePng(chart->Canvas())))
      outcome.error = "tavimo-cli: cannot write the chart to '" + *request.pngPath + "': " + *reason;
  }
  return outcome;
}

}  // namespace tavimo::cli
