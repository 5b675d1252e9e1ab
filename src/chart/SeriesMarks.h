#pragma once
// The value marks of a series: the framed text box beside each point, its
// connecting line, the settings they are drawn with and the positions they
// were last drawn at.

#include <string>
#include <string_view>
#include <vector>

#include "chart/Canvas.h"
#include "chart/Property.h"
#include "chart/TextLines.h"

namespace tavimo::chart {

class TChartSeries;

enum class TSeriesMarksStyle {
  smsValue, smsPercent, smsLabel, smsLabelPercent, smsLabelValue,
  smsLegend, smsPercentTotal, smsLabelPercentTotal, smsXValue
};

struct TSeriesMarkPosition {
  Point ArrowStart;
  Point ArrowEnd;
  bool UserPlaced = false;
  int BoxHeight = 0;
  Point BoxTopLeft;
  int BoxWidth = 0;
  // The box the mark is drawn in, right and bottom exclusive.
  Rect Box() const { return Rect{0, 0, BoxWidth, BoxHeight}.Translated(BoxTopLeft.x, BoxTopLeft.y); }
  friend bool operator==(const TSeriesMarkPosition&, const TSeriesMarkPosition&) = default;
};

// The connecting line is drawn in black (white on a black chart) when its
// colour would vanish against the point or the chart colour.
inline constexpr bool kArrowContrastCheck = true;

class TSeriesMarks {
 public:
  explicit TSeriesMarks(TChartSeries& series);

  // Settings; each change asks the chart to repaint.
  TAVIMO_CHART_SETTING(bool, Visible, visible_)
  TAVIMO_CHART_SETTING_DECLARED(TSeriesMarksStyle, Style, style_)
  TAVIMO_CHART_SETTING(TFont, Font, font_)
  TAVIMO_CHART_SETTING(TColor, BackColor, backColor_)
  TAVIMO_CHART_SETTING(bool, Transparent, transparent_)
  TAVIMO_CHART_SETTING(TChartPen, Frame, frame_)
  TAVIMO_CHART_SETTING(TChartPen, Arrow, arrow_)
  TAVIMO_CHART_SETTING(int, ArrowLength, arrowLength_)
  TAVIMO_CHART_SETTING(bool, Clip, clip_)

  // The text of the mark of point index. Value texts are kept per point and
  // formatted again only when the value (or the number format) changes.
  const std::string& MarkCaption(int index);
  // Texts the caller formats itself (levels rounded to a price tick): point
  // i shows texts[i] instead of its formatted value. Empty: every mark shows
  // its value. Cleared with the points.
  void SetPointTexts(std::vector<std::string> texts);
  const std::vector<std::string>& PointTexts() const { return pointTexts_; }

  // Draws the marks of the series' visible points in ascending order.
  void DrawMarks(TCanvas& canvas);
  // Draws one mark whose position the series has already adjusted.
  void DrawMark(TCanvas& canvas, int index, TColor pointColor, TSeriesMarkPosition& position,
                std::string_view text);

  // The last drawn (or user-placed) position of point index; null when none was stored.
  const TSeriesMarkPosition* StoredPosition(int index) const;
  // The stored entry of point index, created when missing.
  TSeriesMarkPosition& PositionEntry(int index);
  void ClearPositions();
  // Forgets the cached texts (the series' value format or the points changed).
  void ForgetCaptions();

 private:
  struct StoredEntry {
    bool present = false;
    TSeriesMarkPosition position;
  };
  struct CachedCaption {
    bool valid = false;
    double value = 0.0;
    std::string text;
  };

  void Changed();
  const std::string& ValueCaption(int index, double value);

  TChartSeries& series_;
  bool visible_ = false;
  TSeriesMarksStyle style_ = TSeriesMarksStyle::smsLabel;
  TFont font_{"Arial", 8, clBlack};
  TColor backColor_ = clLightYellow;
  bool transparent_ = false;
  TChartPen frame_{true, clBlack, 1, TPenStyle::psSolid, false};
  TChartPen arrow_{true, clWhite, 1, TPenStyle::psSolid, false};
  int arrowLength_ = 8;
  bool clip_ = false;

  std::vector<StoredEntry> positions_;
  std::vector<CachedCaption> captions_;
  std::vector<std::string> pointTexts_;
  std::string cachedDecimalSeparator_;
  std::string cachedThousandsSeparator_;
  std::string scratch_;
};

}  // namespace tavimo::chart
