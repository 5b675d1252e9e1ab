#pragma once
// The labels of a price chart's time axis: the step chosen from the visible
// span (minutes up to years) so that neighbouring labels never overlap, each
// label at the first bar at or after a step boundary. Bar times are seconds
// since 1970 without a zone and may have gaps (nights, weekends); the bars
// themselves stand evenly along the axis.

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tavimo::chart {

class TCanvas;

enum class TTimeUnit { Minute, Hour, Day, Month, Year };

struct TTimeStep {
  TTimeUnit unit = TTimeUnit::Day;
  int count = 1;  // 15 minutes, 3 months, ...
  friend bool operator==(const TTimeStep&, const TTimeStep&) = default;
};

// The steps tried, finest first. Seven days start on Mondays; months and
// years count from the calendar's year 0, so 3 months are the quarters.
std::span<const TTimeStep> TimeAxisSteps();

// What a label says, from the largest part of the time that changed since
// the bar before it: a year "2024", a month "Mar", a day "Mar 5" (or "03-05"),
// a time of day "14:30".
enum class TTimeLabelKind { TimeOfDay, Day, Month, Year };

struct TTimeLabelStyle {
  std::array<std::string, 12> monthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  bool numericDays = false;  // "03-05" rather than "Mar 5"
  int minimumGap = 8;        // pixels between neighbouring labels
};

struct TTimeLabel {
  int bar = 0;
  int x = 0;  // the label's centre, pixels from the axis' start
  std::string text;
  TTimeLabelKind kind = TTimeLabelKind::TimeOfDay;
};

struct TTimeAxisLabels {
  TTimeStep step;
  std::vector<TTimeLabel> labels;  // left to right, none overlapping, all within the axis
};

// A label's width in pixels.
using TTextMeasure = std::function<int(std::string_view)>;
// The canvas' width of a text in its current font.
TTextMeasure MeasureWith(TCanvas& canvas);

// Where the bars stand: bar i's centre at origin + i * spacing pixels from the axis' start.
struct TBarPlacement {
  double origin = 0;
  double spacing = 1;
  // The times rise from bar to bar: the labels then skip from one period's
  // first bar to the next by bisection rather than reading every bar.
  bool timesAscending = false;
  // The shortest rise of time between two neighbouring bars of first..last
  // when the caller knows it (a zoomed-out chart has it summarised); 0: the
  // labels find it from the times.
  std::int64_t shortestGap = 0;
};

// Labels for bars first ... last (clamped to the times there are) on an axis
// pixelWidth pixels long. The finest step wins whose labels keep the
// minimum gap, where a label may give way only to one of a larger kind (the
// day's first hour to the day). When no step fits, or the first that fits
// has no boundary in view, the coarsest step that did not fit is used with
// the labels that would overlap the one before left out.
TTimeAxisLabels ChooseTimeLabels(std::span<const std::int64_t> times, int firstBar, int lastBar, int pixelWidth,
                                 const TTextMeasure& measure, const TBarPlacement& placement,
                                 const TTimeLabelStyle& style = {});
// The bars first ... last spread evenly over the axis, each in the middle of its share.
TTimeAxisLabels ChooseTimeLabels(std::span<const std::int64_t> times, int firstBar, int lastBar, int pixelWidth,
                                 const TTextMeasure& measure, const TTimeLabelStyle& style = {});

// Year, month (1-12) and day of a day count since 1970-01-01 (proleptic Gregorian).
struct TCivilDate {
  std::int64_t year = 1970;
  int month = 1;
  int day = 1;
};
TCivilDate CivilFromDays(std::int64_t days);

}  // namespace tavimo::chart
