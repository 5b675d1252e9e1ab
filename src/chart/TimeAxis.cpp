#include "chart/TimeAxis.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "chart/Canvas.h"
#include "chart/FirstBeyond.h"

namespace tavimo::chart {

namespace {

constexpr std::int64_t kMinute = 60;
constexpr std::int64_t kHour = 3600;
constexpr std::int64_t kDay = 86400;
// 1970-01-05, the first Monday after the epoch, in days.
constexpr std::int64_t kFirstMonday = 4;

constexpr TTimeStep kSteps[] = {
    {TTimeUnit::Minute, 1}, {TTimeUnit::Minute, 2},  {TTimeUnit::Minute, 5},  {TTimeUnit::Minute, 10},
    {TTimeUnit::Minute, 15}, {TTimeUnit::Minute, 30}, {TTimeUnit::Hour, 1},    {TTimeUnit::Hour, 2},
    {TTimeUnit::Hour, 3},   {TTimeUnit::Hour, 6},    {TTimeUnit::Hour, 12},   {TTimeUnit::Day, 1},
    {TTimeUnit::Day, 2},    {TTimeUnit::Day, 7},     {TTimeUnit::Month, 1},   {TTimeUnit::Month, 3},
    {TTimeUnit::Month, 6},  {TTimeUnit::Year, 1},    {TTimeUnit::Year, 2},    {TTimeUnit::Year, 5},
    {TTimeUnit::Year, 10},  {TTimeUnit::Year, 20},   {TTimeUnit::Year, 50},   {TTimeUnit::Year, 100},
    {TTimeUnit::Year, 200}, {TTimeUnit::Year, 500},  {TTimeUnit::Year, 1000},
};

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  const std::int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}
std::int64_t FloorMod(std::int64_t a, std::int64_t b) { return a - FloorDiv(a, b) * b; }

// The shortest a step can be, to leave out steps finer than the bars.
std::int64_t ShortestDuration(const TTimeStep& s) {
  switch (s.unit) {
    case TTimeUnit::Minute: return s.count * kMinute;
    case TTimeUnit::Hour: return s.count * kHour;
    case TTimeUnit::Day: return s.count * kDay;
    case TTimeUnit::Month: return s.count * 28 * kDay;
    case TTimeUnit::Year: return s.count * 365 * kDay;
  }
  return kDay;
}

// A bar time split into its calendar parts, the date converted once per day
// however many bars the day has.
class CalendarTime {
 public:
  void Set(std::int64_t time) {
    const std::int64_t days = FloorDiv(time, kDay);
    if (!valid_ || days != days_) {
      days_ = days;
      date_ = CivilFromDays(days);
      valid_ = true;
    }
    secondOfDay_ = time - days * kDay;
  }
  std::int64_t Days() const { return days_; }
  std::int64_t SecondOfDay() const { return secondOfDay_; }
  const TCivilDate& Date() const { return date_; }
  std::int64_t MonthIndex() const { return date_.year * 12 + (date_.month - 1); }

 private:
  bool valid_ = false;
  std::int64_t days_ = 0;
  std::int64_t secondOfDay_ = 0;
  TCivilDate date_;
};

std::int64_t Bucket(const TTimeStep& s, std::int64_t time, const CalendarTime& c) {
  switch (s.unit) {
    case TTimeUnit::Minute: return FloorDiv(time, s.count * kMinute);
    case TTimeUnit::Hour: return FloorDiv(time, s.count * kHour);
    case TTimeUnit::Day:
      return s.count == 7 ? FloorDiv(c.Days() - kFirstMonday, 7) : FloorDiv(c.Days(), s.count);
    case TTimeUnit::Month: return FloorDiv(c.MonthIndex(), s.count);
    case TTimeUnit::Year: return FloorDiv(c.Date().year, s.count);
  }
  return 0;
}

// Whether a time is exactly where a step's period begins (the first bar has
// no bar before it to tell that it is the first at or after a boundary).
bool StartsPeriod(const TTimeStep& s, std::int64_t time, const CalendarTime& c) {
  switch (s.unit) {
    case TTimeUnit::Minute: return FloorMod(time, s.count * kMinute) == 0;
    case TTimeUnit::Hour: return FloorMod(time, s.count * kHour) == 0;
    default: break;
  }
  if (c.SecondOfDay() != 0) return false;
  switch (s.unit) {
    case TTimeUnit::Day:
      return s.count == 7 ? FloorMod(c.Days() - kFirstMonday, 7) == 0 : FloorMod(c.Days(), s.count) == 0;
    case TTimeUnit::Month: return c.Date().day == 1 && FloorMod(c.MonthIndex(), s.count) == 0;
    case TTimeUnit::Year:
      return c.Date().month == 1 && c.Date().day == 1 && FloorMod(c.Date().year, s.count) == 0;
    default: return false;
  }
}

// Where the period of a minute or hour bucket begins, as a time of that day;
// for longer steps the bar's own time of day.
std::int64_t BoundarySecondOfDay(const TTimeStep& s, std::int64_t bucket, const CalendarTime& c) {
  const std::int64_t seconds = s.unit == TTimeUnit::Minute ? s.count * kMinute
                               : s.unit == TTimeUnit::Hour ? s.count * kHour
                                                           : 0;
  if (seconds == 0) return c.SecondOfDay();
  return FloorMod(bucket * seconds, kDay);
}

// The largest part of the time that changed since the bar before.
TTimeLabelKind ChangedKind(const CalendarTime& previous, const CalendarTime& now) {
  if (previous.Date().year != now.Date().year) return TTimeLabelKind::Year;
  if (previous.Date().month != now.Date().month) return TTimeLabelKind::Month;
  if (previous.Days() != now.Days()) return TTimeLabelKind::Day;
  return TTimeLabelKind::TimeOfDay;
}

// The same for a first bar: the largest period it begins.
TTimeLabelKind BeginningKind(const CalendarTime& now) {
  if (now.SecondOfDay() != 0) return TTimeLabelKind::TimeOfDay;
  if (now.Date().day != 1) return TTimeLabelKind::Day;
  return now.Date().month == 1 ? TTimeLabelKind::Year : TTimeLabelKind::Month;
}

// A time of day names the boundary (10:00 at a first bar of 10:01, when
// the bar of 10:00 is missing); the other kinds name the bar's own date.
std::string LabelText(TTimeLabelKind kind, const CalendarTime& c, std::int64_t boundarySecondOfDay,
                      const TTimeLabelStyle& style) {
  const TCivilDate& d = c.Date();
  char buffer[32];
  switch (kind) {
    case TTimeLabelKind::Year: return std::to_string(d.year);
    case TTimeLabelKind::Month: return style.monthNames[static_cast<std::size_t>(d.month - 1)];
    case TTimeLabelKind::Day:
      if (!style.numericDays) return style.monthNames[static_cast<std::size_t>(d.month - 1)] + " " + std::to_string(d.day);
      std::snprintf(buffer, sizeof buffer, "%02d-%02d", d.month, d.day);
      return buffer;
    case TTimeLabelKind::TimeOfDay: break;
  }
  const int minutes = static_cast<int>(boundarySecondOfDay / kMinute);
  std::snprintf(buffer, sizeof buffer, "%02d:%02d", minutes / 60, minutes % 60);
  return buffer;
}

// A pixel position within a range no layout leaves, rounded.
int PixelPosition(double x) {
  constexpr double kLimit = 1 << 28;
  if (!(x > -kLimit)) return static_cast<int>(-kLimit);  // NaN too
  if (x > kLimit) return static_cast<int>(kLimit);
  return RoundHalfEven(x);
}

struct PlacedLabel {
  TTimeLabel label;
  int left = 0;
  int right = 0;
};

// Places the labels of one step; false when two of one kind would overlap
// (unless thinning, which then leaves the later one out).
bool PlaceLabels(std::span<const std::int64_t> times, int first, int last, int pixelWidth,
                 const TTextMeasure& measure, const TBarPlacement& placement, const TTimeLabelStyle& style,
                 const TTimeStep& step, bool thinning, std::vector<PlacedLabel>& placed) {
  placed.clear();
  CalendarTime previous, now;
  std::int64_t previousBucket = 0;
  if (first > 0) {
    previous.Set(times[static_cast<std::size_t>(first - 1)]);
    previousBucket = Bucket(step, times[static_cast<std::size_t>(first - 1)], previous);
  }
  const auto bucketAt = [&](int j) {
    CalendarTime c;
    const std::int64_t t = times[static_cast<std::size_t>(j)];
    c.Set(t);
    return Bucket(step, t, c);
  };
  for (int i = first; i <= last;) {
    const std::int64_t t = times[static_cast<std::size_t>(i)];
    now.Set(t);
    const std::int64_t bucket = Bucket(step, t, now);
    const bool boundary = i == 0 ? StartsPeriod(step, t, now) : bucket != previousBucket;
    if (boundary) {
      PlacedLabel p;
      p.label.bar = i;
      p.label.kind = i == 0 ? BeginningKind(now) : ChangedKind(previous, now);
      p.label.text = LabelText(p.label.kind, now, BoundarySecondOfDay(step, bucket, now), style);
      p.label.x = PixelPosition(placement.origin + i * placement.spacing);
      const int width = std::max(measure(p.label.text), 0);
      p.left = p.label.x - width / 2;
      p.right = p.left + width;
      const bool inside = p.left >= 0 && p.right <= pixelWidth;
      while (inside) {
        if (placed.empty() || p.left - placed.back().right >= style.minimumGap) {
          placed.push_back(std::move(p));
          break;
        }
        if (p.label.kind > placed.back().label.kind) {
          placed.pop_back();  // gives way to the larger kind, then compare with the one before
          continue;
        }
        if (p.label.kind == placed.back().label.kind && !thinning) return false;
        break;  // left out
      }
    }
    previous = now;
    previousBucket = bucket;
    if (!placement.timesAscending) {
      ++i;
      continue;
    }
    // Buckets never fall along rising times: the next period's first bar is
    // found by galloping, then bisecting; its bar before is the one compared.
    const int next = static_cast<int>(FirstBeyond(static_cast<std::size_t>(i) + 1, static_cast<std::size_t>(last) + 1,
                                                  [&](std::size_t k) { return bucketAt(static_cast<int>(k)) != bucket; }));
    if (next - 1 > i && next <= last) previous.Set(times[static_cast<std::size_t>(next - 1)]);
    i = next;
  }
  return true;
}

}  // namespace

std::span<const TTimeStep> TimeAxisSteps() { return kSteps; }

TTextMeasure MeasureWith(TCanvas& canvas) {
  return [&canvas](std::string_view text) { return canvas.MeasureWidth(text); };
}

TCivilDate CivilFromDays(std::int64_t days) {
  // Days counted from 0000-03-01 in 400-year eras, so leap days end each year.
  const std::int64_t z = days + 719468;
  const std::int64_t era = FloorDiv(z, 146097);
  const std::int64_t dayOfEra = z - era * 146097;
  const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;  // 0 is March
  TCivilDate date;
  date.day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
  date.month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
  date.year = yearOfEra + era * 400 + (date.month <= 2 ? 1 : 0);
  return date;
}

TTimeAxisLabels ChooseTimeLabels(std::span<const std::int64_t> times, int firstBar, int lastBar, int pixelWidth,
                                 const TTextMeasure& measure, const TBarPlacement& placement,
                                 const TTimeLabelStyle& style) {
  TTimeAxisLabels result;
  result.step = kSteps[0];
  const int count = times.size() > static_cast<std::size_t>(INT32_MAX) ? INT32_MAX : static_cast<int>(times.size());
  const int first = std::max(firstBar, 0);
  const int last = std::min(lastBar, count - 1);
  if (first > last || pixelWidth <= 0 || !measure) return result;

  // A step finer than the bars would label every bar, as the bars' own step does.
  std::int64_t shortestGap = placement.shortestGap;
  for (int i = std::max(first, 1); i <= last && placement.shortestGap == 0; ++i) {
    const std::int64_t gap = times[static_cast<std::size_t>(i)] - times[static_cast<std::size_t>(i - 1)];
    if (gap > 0 && (shortestGap == 0 || gap < shortestGap)) shortestGap = gap;
  }

  std::vector<PlacedLabel> placed;
  const std::size_t coarsest = std::size(kSteps) - 1;
  std::size_t lastFailed = coarsest;
  bool anyFailed = false, chosen = false;
  for (std::size_t k = 0; k <= coarsest && !chosen; ++k) {
    if (k < coarsest && ShortestDuration(kSteps[k]) < shortestGap) continue;
    if (!PlaceLabels(times, first, last, pixelWidth, measure, placement, style, kSteps[k], false, placed)) {
      anyFailed = true;
      lastFailed = k;
      continue;
    }
    // A step with no boundary in view does not win over a finer one that had
    // labels too many: that one is thinned instead.
    if (!placed.empty() || !anyFailed) {
      result.step = kSteps[k];
      chosen = true;
    } else {
      break;
    }
  }
  if (!chosen) {
    result.step = kSteps[lastFailed];
    PlaceLabels(times, first, last, pixelWidth, measure, placement, style, result.step, true, placed);
  }
  result.labels.reserve(placed.size());
  for (PlacedLabel& p : placed) result.labels.push_back(std::move(p.label));
  return result;
}

TTimeAxisLabels ChooseTimeLabels(std::span<const std::int64_t> times, int firstBar, int lastBar, int pixelWidth,
                                 const TTextMeasure& measure, const TTimeLabelStyle& style) {
  const int bars = std::max(lastBar - std::max(firstBar, 0) + 1, 1);
  const double spacing = static_cast<double>(pixelWidth) / bars;
  const TBarPlacement placement{(0.5 - std::max(firstBar, 0)) * spacing, spacing};
  return ChooseTimeLabels(times, firstBar, lastBar, pixelWidth, measure, placement, style);
}

}  // namespace tavimo::chart
