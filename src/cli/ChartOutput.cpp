#include "cli/ChartOutput.h"

#include <QGuiApplication>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <QImageWriter>
#include <QString>

#include "chart/LayoutReport.h"
#include "chart/LayoutReportJson.h"
#include "chart/MainChart.h"
#include "chart/RasterCanvas.h"

namespace tavimo::cli {

namespace {

// Fonts need a GUI application; without a display the offscreen platform does.
void EnsureGuiApplication() {
  if (QCoreApplication::instance() != nullptr) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Outside a desktop session there is no runtime directory; give Qt the private
  // one it would fall back to, so a command-line run prints no warning about it.
  if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
    const std::string runtimeDirectory = "/tmp/runtime-" + std::to_string(getuid());
    struct stat info {};
    if (mkdir(runtimeDirectory.c_str(), 0700) == 0 ||
        (lstat(runtimeDirectory.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == getuid() &&
         (info.st_mode & 0077) == 0)) {
      qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(runtimeDirectory));
    }
  }
  static int argc = 1;
  static char name[] = "tavimo-cli";
  static char* argv[] = {name, nullptr};
  // Lives to the end of the process, as an application object does.
  static QGuiApplication* application = new QGuiApplication(argc, argv);
  (void)application;
}

std::vector<std::string> CaptionLines(const std::string& caption) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start <= caption.size()) {
    const std::size_t end = caption.find("\r\n", start);
    if (end == std::string::npos) {
      if (start < caption.size()) lines.push_back(caption.substr(start));
      break;
    }
    lines.push_back(caption.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

// The window paints its caption label over the chart image: the lines from
// the label's top-left corner down, one line height apart, no background.
// The label sizes itself to its caption (its stored 28 x 243 is nine lines of
// the design-time font), so a face with taller lines makes it longer rather
// than cutting off the last character.
void DrawCaptionLabel(chart::TCanvas& canvas, const chart::TCaptionLabel& label) {
  using namespace tavimo::chart;
  canvas.SetFont(label.font);
  canvas.SetBackgroundMode(label.transparent ? TBackgroundMode::bmTransparent : TBackgroundMode::bmOpaque);
  canvas.SetBackgroundColor(clBtnFace);
  canvas.SetTextAnchor(kTextAlignLeftTop);
  const int lineHeight = canvas.TextLineHeight();
  int y = label.top;
  for (const std::string& line : CaptionLines(label.caption)) {
    canvas.PutText(label.left, y, line);
    y += lineHeight;
  }
  canvas.ShowImage();
}

}  // namespace

ChartOutcome RenderChart(const ChartRequest& request, const std::vector<std::string>& ratios,
                         const std::vector<double>* levels) {
  EnsureGuiApplication();
  auto owned = std::make_unique<chart::TRasterCanvas>();
  chart::TRasterCanvas& canvas = *owned;
  std::unique_ptr<chart::TChart> chart = chart::BuildMainChart(std::move(owned));
  chart::THorizBarSeries& series = chart::MainSeries(*chart);
  chart::AppendRatioBars(series, ratios);
  if (levels != nullptr) chart::SetRatioBarLevels(series, *levels);
  chart->SetClientSize(request.width, request.height);
  chart->PaintRequest();

  ChartOutcome outcome;
  if (request.layout) outcome.layoutJson = chart::LayoutReportToJson(chart::DescribeLayout(*chart)) + "\n";
  if (request.pngPath) {
    DrawCaptionLabel(canvas, chart::MainCaptionLabel());
    QImageWriter writer(QString::fromStdString(*request.pngPath), "png");
    if (!writer.write(canvas.Image()))
      outcome.error = "tavimo-cli: cannot write the chart to '" + *request.pngPath +
                      "': " + writer.errorString().toStdString();
  }
  return outcome;
}

}  // namespace tavimo::cli
