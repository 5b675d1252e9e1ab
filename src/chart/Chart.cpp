#include "chart/Chart.h"

#include <algorithm>

#include "chart/AxisDrawing.h"

namespace tavimo::chart {

TChart::TChart(std::unique_ptr<TCanvas> canvas) : canvas_(std::move(canvas)) {
  axes_[0] = std::make_unique<TChartAxis>(*this, TAxisKind::akBottom);
  axes_[1] = std::make_unique<TChartAxis>(*this, TAxisKind::akTop);
  axes_[2] = std::make_unique<TChartAxis>(*this, TAxisKind::akLeft);
  axes_[3] = std::make_unique<TChartAxis>(*this, TAxisKind::akRight);
  axes_[4] = std::make_unique<TChartAxis>(*this, TAxisKind::akDepth);
  autoRepaint_ = true;  // invalidation is quiet while the chart is being built
}

TChart::~TChart() {
  autoRepaint_ = false;
  for (auto& s : series_) s->AttachTo(nullptr);
}

// ---- series -----------------------------------------------------------------------

THorizBarSeries& TChart::AddHorizBarSeries() {
  auto series = std::make_unique<THorizBarSeries>();
  THorizBarSeries& added = *series;
  series_.push_back(std::move(series));
  added.AttachTo(this);
  Invalidate();
  return added;
}

int TChart::ActiveSeriesCount() const {
  return static_cast<int>(std::count_if(series_.begin(), series_.end(), [](const auto& s) { return s->Active(); }));
}

// ---- settings -----------------------------------------------------------------------

void TChart::SetMargins(int left, int top, int right, int bottom) {
  if (left == marginLeft_ && top == marginTop_ && right == marginRight_ && bottom == marginBottom_) return;
  marginLeft_ = left;
  marginTop_ = top;
  marginRight_ = right;
  marginBottom_ = bottom;
  Invalidate();
}

void TChart::SetBackColor(TColor c) {
  TChartWall wall = backWall_;
  wall.Color = c;
  // Outside loading a new back colour is meant to be seen.
  if (!loading_) wall.Brush.Style = TBrushStyle::bsSolid;
  SetBackWall(wall);
}

void TChart::SetFrameVisible(bool v) {
  TChartWall wall = backWall_;
  wall.Pen.visible = v;
  SetBackWall(wall);
}

// ---- invalidation and painting ----------------------------------------------------------

void TChart::SetClientSize(int width, int height) {
  if (width < 0) width = 0;
  if (height < 0) height = 0;
  if (width == clientWidth_ && height == clientHeight_) return;
  clientWidth_ = width;
  clientHeight_ = height;
  Invalidate();
}

void TChart::SetScale(double scale) {
  const double before = canvas_->Scale();
  canvas_->SetScale(scale);
  if (canvas_->Scale() != before) Invalidate();
}

void TChart::Invalidate() {
  if (!autoRepaint_) return;
  dirty_ = true;
  if (invalidateHandler_) invalidateHandler_();
}

bool TChart::PaintRequest() {
  if (!dirty_) return false;
  PaintChart();
  return true;
}

void TChart::PaintChart() {
  paintBounds_ = canvas_->SetupWindow(clientWidth_, clientHeight_);
  try {
    // Inside the border, less the margins (percentages of the whole size).
    const int w = paintBounds_.Width();
    const int h = paintBounds_.Height();
    plotRect_ = paintBounds_.Inflated(-borderWidth_);
    plotRect_.TakeFromLeft(MulDiv(marginLeft_, w, 100));
    plotRect_.TakeFromTop(MulDiv(marginTop_, h, 100));
    plotRect_.TakeFromRight(MulDiv(marginRight_, w, 100));
    plotRect_.TakeFromBottom(MulDiv(marginBottom_, h, 100));
    RecalcPlotSize();
    InternalDraw();
  } catch (...) {
    // The image stays dirty so the next paint tries again; the canvas is handed back complete.
    canvas_->ClearClip();
    canvas_->ShowImage();
    throw;
  }
  canvas_->ShowImage();
  dirty_ = false;
}

void TChart::RecalcPlotSize() {
  Rect& r = plotRect_;
  if (r.left < paintBounds_.left) r.left = paintBounds_.left;
  if (r.top < paintBounds_.top) r.top = paintBounds_.top;
  if (r.right < r.left) r.right = r.left + 1;
  else if (r.right == r.left) r.right = r.left + clientWidth_;
  if (r.bottom < r.top) r.bottom = r.top + 1;
  else if (r.bottom == r.top) r.bottom = r.top + clientHeight_;
  plotWidth_ = r.right - r.left;
  plotHeight_ = r.bottom - r.top;
  plotXCenter_ = (r.left + r.right) / 2;
  plotYCenter_ = (r.top + r.bottom) / 2;
}

void TChart::InternalDraw() {
  PanelPaint();
  // The bar series has no before-chart step.
  titleRect_ = footRect_ = Rect{};
  DrawTitlesAndLegend();
  LayoutAxes();
  ApplySeriesMargins();
  DrawBackWall();
  if (axisVisible_ && kAxesUnderSeries) {
    for (auto& axis : axes_)
      if (axis->ShownInLastLayout()) DrawAxis(*axis, *canvas_);
  }
  for (auto& s : series_)
    if (s->Active()) DrawOneSeries(*s);
  canvas_->ResetDrawingState();
}

void TChart::PanelPaint() {
  if (gradient_.Visible) {
    canvas_->BandedGradient(paintBounds_, gradient_.StartColor, gradient_.EndColor, gradient_.Direction);
  } else {
    canvas_->SetBrush(TBrush{color_, TBrushStyle::bsSolid});
    canvas_->FillRect(paintBounds_);
  }
  Rect r = paintBounds_;
  canvas_->ClearBrush();
  const auto bevel = [&](TPanelBevel kind) {
    if (kind == TPanelBevel::bvNone) return;
    const bool raised = kind == TPanelBevel::bvRaised;
    for (int i = 0; i < bevelWidth_; ++i)
      DrawBevelRing(r, raised ? clBtnHighlight : clBtnShadow, raised ? clBtnShadow : clBtnHighlight);
  };
  bevel(bevelOuter_);
  for (int i = 0; i < borderWidth_; ++i) DrawBevelRing(r, color_, color_);
  bevel(bevelInner_);
}

void TChart::DrawBevelRing(Rect& r, TColor topLeft, TColor bottomRight) {
  const int right = r.right - 1;
  const int bottom = r.bottom - 1;
  canvas_->SetPen(TPen{topLeft, 1, TPenStyle::psSolid, false});
  canvas_->StrokeLine(r.left, bottom, r.left, r.top);
  canvas_->StrokeLine(r.left, r.top, right, r.top);
  canvas_->SetPen(TPen{bottomRight, 1, TPenStyle::psSolid, false});
  canvas_->StrokeLine(right, r.top, right, bottom);
  canvas_->StrokeLine(right, bottom, r.left - 1, bottom);
  r = r.Inflated(-1);
}

void TChart::DrawTitlesAndLegend() {
  if (title_.Visible) DrawTitle(title_, false);
  if (foot_.Visible) DrawTitle(foot_, true);
  // The legend is not drawn by this chart.
}

void TChart::DrawTitle(const TChartTitle& title, bool foot) {
  const int lines = static_cast<int>(title.Text.size());
  if (lines == 0) return;
  canvas_->SetFont(title.Font);
  const int f = canvas_->TextLineHeight();
  if (!foot) titleLineHeight_ = f;

  const bool autoBackground = title.Color == clAutoColor && title.Brush.Style == TBrushStyle::bsSolid &&
                              title.Brush.Color == clAutoColor;
  if (autoBackground) {
    canvas_->ClearBrush();
  } else {
    const TColor fill = title.Color != clAutoColor ? title.Color : title.Brush.Color;
    canvas_->SelectChartBrush(fill, title.Brush.Style, color_);
  }
  const int fw = title.Frame.visible ? title.Frame.width : 0;
  canvas_->SelectChartPen(title.Frame);

  // The lines' box, inside the frame at the top (title) or bottom (foot) of the plot rectangle.
  Rect inside = plotRect_.Inflated(-fw);
  const Rect box = foot ? inside.TakeFromBottom(lines * f) : inside.TakeFromTop(lines * f);
  const Rect outer = box.Inflated(fw);
  (foot ? footRect_ : titleRect_) = outer;
  if (title.Frame.visible || !autoBackground) canvas_->DrawBox(outer);

  canvas_->SetBackgroundMode(TBackgroundMode::bmTransparent);
  canvas_->SetTextAnchor(kTextAlignLeftTop);
  const int wWidth = canvas_->MeasureWidth("W");
  for (int k = 0; k < lines; ++k) {
    const std::string& line = title.Text[static_cast<std::size_t>(k)];
    int x;
    switch (title.Alignment) {
      case TTitleAlignment::taLeftJustify: x = box.left + wWidth / 2; break;
      case TTitleAlignment::taRightJustify: x = box.right - canvas_->MeasureWidth(line) - wWidth / 2; break;
      default: x = (box.left + box.right) / 2 - canvas_->MeasureWidth(line) / 2; break;
    }
    canvas_->PutText(x, box.top + k * f, line);
  }
  if (!foot) plotRect_.top = box.bottom + kTitleGap;
  else plotRect_.bottom = box.top - kTitleGap;
  RecalcPlotSize();
}

void TChart::LayoutAxes() {
  for (auto& axis : axes_) axis->AdjustRange();
  RecalcPlotSize();  // no wall thickness to take off in two dimensions
  Rect r = plotRect_;
  for (auto& axis : axes_) {
    const bool shown = axis->IsShown();
    axis->SetShownInLastLayout(shown);
    if (!shown) continue;
    Rect trimmed = r;
    axis->ReserveAxisSpace(trimmed);
    const Rect overlap = trimmed.Intersected(r);
    if (!overlap.IsEmpty()) r = overlap;
  }
  plotRect_ = r;
  RecalcPlotSize();
  for (auto& axis : axes_) axis->SetPixelSpan();
}

void TChart::ApplySeriesMargins() {
  TChartAxis* const order[] = {&TopAxis(), &LeftAxis(), &RightAxis(), &BottomAxis()};
  for (TChartAxis* axis : order) {
    int m1 = 0, m2 = 0;
    for (auto& s : series_) {
      if (!s->Active() || !s->UsesAxis(*axis)) continue;
      int a = 0, b = 0;
      if (axis->Horizontal()) {
        s->HorizAxisMargins(a, b);
        if (axis->AutomaticMinimum()) m1 = std::max(m1, a);
        if (axis->AutomaticMaximum()) m2 = std::max(m2, b);
      } else {
        s->VertAxisMargins(a, b);
        if (axis->AutomaticMaximum()) m1 = std::max(m1, a);
        if (axis->AutomaticMinimum()) m2 = std::max(m2, b);
      }
    }
    axis->WidenRange(m1, m2);
  }
}

void TChart::DrawBackWall() {
  canvas_->SelectChartPen(backWall_.Pen);
  if (backWall_.Color == clAutoColor && backWall_.Brush.Style == TBrushStyle::bsSolid) {
    canvas_->ClearBrush();
  } else {
    canvas_->SelectChartBrush(backWall_.Color, backWall_.Brush.Style, backWall_.Brush.Color);
  }
  canvas_->DrawBox(WallRect());
}

Rect TChart::WallRect() const {
  return Rect{plotRect_.left, plotRect_.top, plotRect_.right + 1, plotRect_.bottom + 1};
}

void TChart::DrawOneSeries(TChartSeries& series) {
  series.ComputeVisibleRange();
  if (series.FirstVisible() < 0 || series.LastVisible() < series.FirstVisible()) return;
  // Inside the wall's frame, less the row above its bottom line.
  Rect clip = WallRect().Inflated(-1);
  clip.TakeFromBottom(1);
  if (clipPoints_) canvas_->ClipTo(clip);
  series.DrawAllValues(*canvas_);
  if (clipPoints_) canvas_->ClearClip();
  if (series.Marks().Visible()) {
    const bool clipMarks = series.Marks().Clip() && clipPoints_;
    if (clipMarks) canvas_->ClipTo(clip);
    series.Marks().DrawMarks(*canvas_);
    if (clipMarks) canvas_->ClearClip();
  }
}

}  // namespace tavimo::chart
