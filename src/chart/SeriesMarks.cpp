#include "chart/SeriesMarks.h"

#include <bit>
#include <cstdint>

#include "chart/Chart.h"
#include "chart/Series.h"
#include "runtime/NumberFormat.h"

namespace tavimo::chart {

TSeriesMarks::TSeriesMarks(TChartSeries& series) : series_(series) {}

void TSeriesMarks::Changed() { series_.RequestRepaint(); }

void TSeriesMarks::SetStyle(TSeriesMarksStyle s) {
  if (!AssignIfChanged(style_, s)) return;
  ForgetCaptions();
  Changed();
}

void TSeriesMarks::ForgetCaptions() {
  for (CachedCaption& c : captions_) c.valid = false;
}

void TSeriesMarks::SetPointTexts(std::vector<std::string> texts) {
  if (texts == pointTexts_) return;
  pointTexts_ = std::move(texts);
  Changed();
}

const std::string& TSeriesMarks::MarkCaption(int index) {
  if (index >= 0 && static_cast<std::size_t>(index) < pointTexts_.size())
    return pointTexts_[static_cast<std::size_t>(index)];
  switch (style_) {
    case TSeriesMarksStyle::smsLabel: {
      const std::string& label = series_.PointLabel(index);
      if (!label.empty()) return label;
      return ValueCaption(index, series_.MainValues().ValueAt(index));
    }
    case TSeriesMarksStyle::smsXValue:
      return ValueCaption(index, series_.XValues().ValueAt(index));
    default:
      // The value; the percent and legend styles are not offered by this chart.
      return ValueCaption(index, series_.MainValues().ValueAt(index));
  }
}

const std::string& TSeriesMarks::ValueCaption(int index, double value) {
  const NumberFormatSettings& settings = GlobalNumberFormatSettings();
  if (settings.decimalSeparator != cachedDecimalSeparator_ ||
      settings.thousandsSeparator != cachedThousandsSeparator_) {
    cachedDecimalSeparator_ = settings.decimalSeparator;
    cachedThousandsSeparator_ = settings.thousandsSeparator;
    ForgetCaptions();
  }
  if (index < 0) {
    scratch_ = FormatFloatPattern(series_.ValueFormat(), value, settings);
    return scratch_;
  }
  if (static_cast<std::size_t>(index) >= captions_.size()) captions_.resize(static_cast<std::size_t>(index) + 1);
  CachedCaption& c = captions_[static_cast<std::size_t>(index)];
  // Compared bit for bit, so that -0 and 0 (which may format differently) stay apart.
  if (!c.valid || std::bit_cast<std::uint64_t>(c.value) != std::bit_cast<std::uint64_t>(value)) {
    c.text = FormatFloatPattern(series_.ValueFormat(), value, settings);
    c.value = value;
    c.valid = true;
  }
  return c.text;
}

void TSeriesMarks::DrawMarks(TCanvas& canvas) {
  const int first = series_.FirstVisible();
  const int last = series_.LastVisible();
  if (first < 0) return;
  for (int i = first; i <= last; ++i) {
    const TColor pointColor = series_.PointColor(i);
    if (pointColor == clNone) continue;
    const std::string& text = MarkCaption(i);
    if (text.empty()) continue;
    canvas.SetFont(font_);
    int width = MultiLineWidth(canvas, text) + canvas.MeasureWidth("W");
    int height = CountTextLines(text) * canvas.TextLineHeight();
    canvas.SelectChartPen(frame_);
    if (frame_.visible) {
      width += 2 * frame_.width;
      height += 2 * frame_.width;
    }
    TSeriesMarkPosition position;
    const int x = series_.PointPixelX(i);
    const int y = series_.PointPixelY(i);
    position.ArrowStart = position.ArrowEnd = Point{x, y};
    position.BoxTopLeft = Point{x - width / 2, y - height + 1};
    position.BoxWidth = width;
    position.BoxHeight = height;
    series_.AdjustMarkPosition(i, position);
    DrawMark(canvas, i, pointColor, position, text);
  }
}

void TSeriesMarks::DrawMark(TCanvas& canvas, int index, TColor pointColor, TSeriesMarkPosition& position,
                            std::string_view text) {
  TSeriesMarkPosition& stored = PositionEntry(index);
  if (stored.UserPlaced) position = stored;
  else stored = position;

  const TChart* chart = series_.ParentChart();
  const TColor chartColor = chart != nullptr ? chart->Color() : clBtnFace;
  if (arrow_.visible) {
    TChartPen pen = arrow_;
    if (kArrowContrastCheck && (pen.color == pointColor || pen.color == chartColor))
      pen.color = chartColor == clBlack ? clWhite : clBlack;
    canvas.SelectChartPen(pen);
    canvas.ClearBrush();
    canvas.StrokeLine(position.ArrowStart.x, position.ArrowStart.y, position.ArrowEnd.x, position.ArrowEnd.y);
  }

  const Rect box = position.Box();
  if (frame_.visible || !transparent_) {
    canvas.SetBrush(TBrush{backColor_, transparent_ ? TBrushStyle::bsClear : TBrushStyle::bsSolid});
    canvas.SelectChartPen(frame_);
    canvas.DrawBox(box);
  }

  canvas.ClearBrush();
  canvas.SetTextAnchor(kTextAlignCenter);
  canvas.SetBackgroundMode(TBackgroundMode::bmTransparent);
  const int lineHeight = canvas.TextLineHeight();
  const int x = box.left + position.BoxWidth / 2;
  int y = frame_.visible ? box.top + frame_.width : box.top;
  ForEachTextLine(text, [&](std::string_view line) {
    canvas.PutText(x, y, line);
    y += lineHeight;
  });
  canvas.SetTextAnchor(kTextAlignLeftTop);
}

const TSeriesMarkPosition* TSeriesMarks::StoredPosition(int index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= positions_.size()) return nullptr;
  const StoredEntry& e = positions_[static_cast<std::size_t>(index)];
  return e.present ? &e.position : nullptr;
}

TSeriesMarkPosition& TSeriesMarks::PositionEntry(int index) {
  if (static_cast<std::size_t>(index) >= positions_.size()) positions_.resize(static_cast<std::size_t>(index) + 1);
  StoredEntry& e = positions_[static_cast<std::size_t>(index)];
  e.present = true;
  return e.position;
}

void TSeriesMarks::ClearPositions() { positions_.clear(); }

}  // namespace tavimo::chart
