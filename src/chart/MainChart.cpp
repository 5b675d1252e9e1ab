#include "chart/MainChart.h"

#include <algorithm>
#include <string_view>

namespace tavimo::chart {

namespace {
const TFont kArial16{"Arial", -16, clBlack, false};

// The caption's lines, split at "\r\n"; a trailing empty part is not a line.
std::vector<std::string_view> CaptionLines(std::string_view caption) {
  std::vector<std::string_view> lines;
  while (!caption.empty()) {
    const std::size_t end = caption.find("\r\n");
    lines.push_back(caption.substr(0, end));
    if (end == std::string_view::npos) break;
    caption.remove_prefix(end + 2);
  }
  return lines;
}
}  // namespace

std::unique_ptr<TChart> BuildMainChart(std::unique_ptr<TCanvas> canvas) {
  auto chart = std::make_unique<TChart>(std::move(canvas));
  TChart& c = *chart;
  c.BeginLoading();

  c.SetColor(clMoneyGreen);
  c.SetBackColor(clSilver);
  TChartGradient gradient = c.Gradient();
  gradient.Visible = true;
  c.SetGradient(gradient);
  c.SetFrameVisible(false);
  c.SetView3D(false);
  c.SetView3DOptions(TView3DOptions{340, -19, 705});
  c.SetMargins(10, 10, 5, 15);
  c.SetAllowZoom(false);
  c.SetAnimatedZoom(true);

  TChartTitle title = c.Title();
  title.Text = {""};
  title.Font = TFont{"宋体", -19, clBlue, true};
  c.SetTitle(title);

  TChartTitle foot = c.Foot();
  foot.Visible = false;
  foot.AdjustFrame = false;
  foot.Text = {""};
  foot.Font = TFont{"Arial", -16, clRed, true};
  c.SetFoot(foot);

  TChartLegend legend = c.Legend();
  legend.Visible = false;
  legend.Alignment = TLegendAlignment::laBottom;
  legend.ShadowColor = clLime;
  c.SetLegend(legend);

  TChartWall back = c.BackWall();
  back.Color = clSilver;
  back.Brush = TChartBrush{clWhite, TBrushStyle::bsClear};
  back.Pen.visible = false;
  c.SetBackWall(back);

  TChartWall left = c.LeftWall();
  left.Color = clRed;
  left.Brush.Color = clWhite;
  left.Pen.visible = false;
  c.SetLeftWall(left);

  TChartAxis& bottomAxis = c.BottomAxis();
  bottomAxis.SetVisible(false);
  bottomAxis.SetLabelsFont(kArial16);
  TChartAxisTitle bottomTitle = bottomAxis.Title();
  bottomTitle.Font = kArial16;
  bottomAxis.SetTitle(bottomTitle);

  TChartAxis& leftAxis = c.LeftAxis();
  leftAxis.SetInverted(true);  // the first bar at the top
  leftAxis.SetExactDateTime(false);
  leftAxis.SetTickLength(6);
  leftAxis.SetLabelsFont(kArial16);
  TChartAxisTitle leftTitle = leftAxis.Title();
  leftTitle.Angle = 270;
  leftTitle.Font = TFont{"@Fixedsys", -19, clRed, true};
  leftTitle.Charset = TFontCharset::GB2312Charset;
  leftAxis.SetTitle(leftTitle);

  THorizBarSeries& series = c.AddHorizBarSeries();
  series.SetColorEachPoint(true);
  series.SetSeriesColor(clRed);
  series.SetBarStyle(TBarStyle::bsArrow);
  series.SetBarWidthPercent(50);
  TSeriesMarks& marks = series.Marks();
  marks.SetVisible(true);
  marks.SetStyle(TSeriesMarksStyle::smsValue);
  marks.SetBackColor(clAqua);
  TChartPen arrow = marks.Arrow();
  arrow.color = clLightYellow;
  marks.SetArrow(arrow);
  marks.SetArrowLength(10);
  marks.SetFont(kArial16);
  series.XValues().SetName("Bar");
  series.XValues().SetOrder(TChartListOrder::loNone);
  series.XValues().SetMultiplier(1.0);
  series.XValues().SetDateTime(false);
  series.YValues().SetName("Y");
  series.YValues().SetOrder(TChartListOrder::loAscending);
  series.YValues().SetMultiplier(1.0);
  series.YValues().SetDateTime(false);

  c.EndLoading();
  return chart;
}

THorizBarSeries& MainSeries(TChart& chart) { return static_cast<THorizBarSeries&>(chart.Series(0)); }

const TCaptionLabel& MainCaptionLabel() {
  static const TCaptionLabel label{16,
                                   128,
                                   28,
                                   243,
                                   "黄\r\n金\r\n分\r\n割\r\n点\r\n计\r\n算\r\n结\r\n果",
                                   TFont{"宋体", -27, clRed, true},
                                   true};
  return label;
}

// The label sizes itself to its caption (its stored 28 x 243 is nine lines of
// the design-time font), so a face with taller lines makes it longer rather
// than cutting off the last character.
void DrawCaptionLabel(TCanvas& canvas, const TCaptionLabel& label) {
  canvas.SetFont(label.font);
  canvas.SetBackgroundMode(label.transparent ? TBackgroundMode::bmTransparent : TBackgroundMode::bmOpaque);
  canvas.SetBackgroundColor(clBtnFace);
  canvas.SetTextAnchor(kTextAlignLeftTop);
  const int lineHeight = canvas.TextLineHeight();
  int y = label.top;
  for (const std::string_view line : CaptionLines(label.caption)) {
    canvas.PutText(label.left, y, line);
    y += lineHeight;
  }
  canvas.ShowImage();
}

void AppendRatioBars(THorizBarSeries& series, const std::vector<std::string>& ratios) {
  for (const std::string& ratio : ratios) series.AppendPoint(0.0, ratio, clAutoColor);
}

void ReplaceRatioBars(THorizBarSeries& series, const std::vector<std::string>& ratios) {
  series.ClearPoints();
  AppendRatioBars(series, ratios);
}

void SetRatioBarLevels(THorizBarSeries& series, const std::vector<double>& levels,
                       std::vector<std::string> markTexts) {
  const int count = std::min(series.PointCount(), static_cast<int>(levels.size()));
  for (int i = 0; i < count; ++i) series.SetPointX(i, levels[static_cast<std::size_t>(i)]);
  series.Marks().SetPointTexts(std::move(markTexts));
}

void ClearRatioBarLevels(THorizBarSeries& series) {
  for (int i = 0; i < series.PointCount(); ++i) series.SetPointX(i, 0.0);
  series.Marks().SetPointTexts({});
}

void RestoreAutomaticAxes(TChart& chart) {
  for (int i = 0; i < 5; ++i) chart.Axis(i).SetAutomatic(true);
}

}  // namespace tavimo::chart
