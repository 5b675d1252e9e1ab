// Time axis labels: the step follows the visible span, labels sit at the
// first bar of each period, name what changed, and never overlap.

#include <gtest/gtest.h>

#include "PriceChartTestSupport.h"
#include "chart/RecordingCanvas.h"
#include "chart/TimeAxis.h"

namespace tavimo::chart {
namespace {

using testing::kDay;
using testing::kJanuary1st2024;
using testing::SessionMinutes;
using testing::WeekdayTimes;

const TFont kLabelFont{"Arial", -12, clBlack};  // 6 pixels an ASCII character on the recording canvas

int Width(std::string_view text) { return RecordingCanvas::TextWidth(kLabelFont, text); }

std::vector<std::string> Texts(const TTimeAxisLabels& axis) {
  std::vector<std::string> texts;
  for (const TTimeLabel& l : axis.labels) texts.push_back(l.text);
  return texts;
}

constexpr std::int64_t kMarch1st2024 = kJanuary1st2024 + 60 * kDay;  // a Friday

std::vector<std::int64_t> MarchWeekdays() { return WeekdayTimes(kMarch1st2024, 31); }

int Last(const std::vector<std::int64_t>& times) { return static_cast<int>(times.size()) - 1; }

TEST(TimeAxisStep, AMonthOfDailyBarsIsLabelledByDays) {
  const std::vector<std::int64_t> times = MarchWeekdays();
  ASSERT_EQ(times.size(), 21u);
  // 28.6 pixels a bar: "Mar 12" and the gap need 44, and two days meet
  // across weekends, so a week, from Mondays.
  const TTimeAxisLabels narrow = ChooseTimeLabels(times, 0, Last(times), 600, Width);
  EXPECT_EQ(narrow.step, (TTimeStep{TTimeUnit::Day, 7}));
  EXPECT_EQ(Texts(narrow), (std::vector<std::string>{"Mar 4", "Mar 11", "Mar 18", "Mar 25"}));
  // 57 pixels a bar: every day.
  const TTimeAxisLabels wide = ChooseTimeLabels(times, 0, Last(times), 1200, Width);
  EXPECT_EQ(wide.step, (TTimeStep{TTimeUnit::Day, 1}));
  ASSERT_EQ(wide.labels.size(), 21u);
  EXPECT_EQ(wide.labels[0].text, "Mar") << "the first bar begins the month";
  EXPECT_EQ(wide.labels[1].text, "Mar 4") << "Monday after the weekend";
  EXPECT_EQ(wide.labels[1].bar, 1);
  EXPECT_EQ(wide.labels[1].x, 86) << "the middle of the second of 21 shares of 1200 pixels";

  TTimeLabelStyle numeric;
  numeric.numericDays = true;
  EXPECT_EQ(ChooseTimeLabels(times, 0, Last(times), 1200, Width, numeric).labels[1].text, "03-04");
}

TEST(TimeAxisStep, TwoYearsOfDailyBarsAreLabelledByMonthsWithTheYearAtJanuary) {
  const std::vector<std::int64_t> times = WeekdayTimes(kJanuary1st2024 - 365 * kDay, 731);
  const TTimeAxisLabels axis = ChooseTimeLabels(times, 0, Last(times), 1000, Width);
  EXPECT_EQ(axis.step, (TTimeStep{TTimeUnit::Month, 1}));
  const std::vector<std::string> texts = Texts(axis);
  ASSERT_GE(texts.size(), 23u);
  EXPECT_EQ(texts[0], "Feb") << "2023-01-02 does not begin its month: no label";
  EXPECT_EQ(std::count(texts.begin(), texts.end(), "2024"), 1);
  EXPECT_EQ(std::count(texts.begin(), texts.end(), "Jan"), 0);
  // In half the width only every third month fits.
  EXPECT_EQ(ChooseTimeLabels(times, 0, Last(times), 500, Width).step, (TTimeStep{TTimeUnit::Month, 3}));
}

TEST(TimeAxisStep, ADayOfMinuteBarsIsLabelledByMinutesAtTheBoundariesTheyPass) {
  std::vector<std::int64_t> times = SessionMinutes({kMarch1st2024}, 9 * 3600 + 1800, 15 * 3600);
  ASSERT_EQ(times.size(), 330u);
  // 3 pixels a bar: "10:00" and the gap need 38, so 15 minutes (45 pixels).
  const TTimeAxisLabels axis = ChooseTimeLabels(times, 0, Last(times), 1000, Width);
  EXPECT_EQ(axis.step, (TTimeStep{TTimeUnit::Minute, 15}));
  ASSERT_GE(axis.labels.size(), 3u);
  EXPECT_EQ(axis.labels[0].text, "09:45") << "09:30 at the first bar would stick out of the axis";
  EXPECT_EQ(axis.labels[0].bar, 15);
  EXPECT_EQ(axis.labels[1].text, "10:00");
  EXPECT_EQ(axis.labels.back().text, "14:45");
  // With room on the left the first bar, which begins a quarter, has its label.
  const TBarPlacement shifted{20, 3};
  EXPECT_EQ(ChooseTimeLabels(times, 0, Last(times), 1010, Width, shifted).labels[0].text, "09:30");

  // Without the bar of 10:00 the label names 10:00 at the bar of 10:01.
  times.erase(times.begin() + 30);
  const TTimeAxisLabels gap = ChooseTimeLabels(times, 0, Last(times), 1000, Width);
  ASSERT_EQ(gap.step, (TTimeStep{TTimeUnit::Minute, 15}));
  EXPECT_EQ(gap.labels[1].text, "10:00");
  EXPECT_EQ(gap.labels[1].bar, 30);
}

TEST(TimeAxisStep, ANewDayOfMinuteBarsIsLabelledWithItsDate) {
  const std::vector<std::int64_t> times =
      SessionMinutes({kMarch1st2024, kMarch1st2024 + 3 * kDay}, 9 * 3600 + 1800, 16 * 3600);
  const TTimeAxisLabels axis = ChooseTimeLabels(times, 0, Last(times), 800, Width);
  EXPECT_EQ(axis.step.unit, TTimeUnit::Hour);
  const std::vector<std::string> texts = Texts(axis);
  EXPECT_NE(std::find(texts.begin(), texts.end(), "Mar 4"), texts.end()) << ::testing::PrintToString(texts);
}

struct History {
  const char* name;
  std::vector<std::int64_t> times;
};

// At every width the labels lie inside the axis, in order, at least the gap
// apart, each on a bar inside the visible ones.
TEST(TimeAxisOverlap, NoTwoLabelsOverlapAtAnyWidth) {
  const std::vector<History> histories = {
      {"daily, 5 years", WeekdayTimes(kJanuary1st2024 - 1826 * kDay, 1826)},
      {"minutes, 10 days", SessionMinutes(WeekdayTimes(kMarch1st2024, 14), 9 * 3600 + 1800, 16 * 3600)},
      {"hourly, around the clock", [] {
         std::vector<std::int64_t> t;
         for (int h = 0; h < 24 * 90; ++h) t.push_back(kJanuary1st2024 + h * 3600);
         return t;
       }()},
  };
  const TTimeLabelStyle style;
  for (const History& history : histories) {
    const int last = Last(history.times);
    for (int width = 100; width <= 2000; ++width) {
      // The whole span, and a window in its middle shifted by the width.
      for (const auto& [first, end] : {std::pair{0, last}, std::pair{width % 97, last / 3 + width % 89}}) {
        const TTimeAxisLabels axis = ChooseTimeLabels(history.times, first, end, width, Width);
        int previousRight = -style.minimumGap;
        for (const TTimeLabel& label : axis.labels) {
          const int w = Width(label.text);
          const int left = label.x - w / 2;
          ASSERT_GE(left - previousRight, style.minimumGap)
              << history.name << " at " << width << " px: " << label.text << " bar " << label.bar;
          ASSERT_LE(left + w, width) << history.name << " at " << width;
          ASSERT_GE(label.bar, first);
          ASSERT_LE(label.bar, end);
          previousRight = left + w;
        }
        ASSERT_FALSE(axis.labels.empty()) << history.name << " at " << width;
        // Skipping between the periods' first bars of rising times gives the same labels.
        const double spacing = static_cast<double>(width) / (end - first + 1);
        const TTimeAxisLabels skipped = ChooseTimeLabels(history.times, first, end, width, Width,
                                                         TBarPlacement{(0.5 - first) * spacing, spacing, true}, style);
        ASSERT_EQ(skipped.step, axis.step) << history.name << " at " << width;
        ASSERT_EQ(skipped.labels.size(), axis.labels.size()) << history.name << " at " << width;
        for (std::size_t i = 0; i < axis.labels.size(); ++i)
          ASSERT_TRUE(skipped.labels[i].bar == axis.labels[i].bar && skipped.labels[i].x == axis.labels[i].x &&
                      skipped.labels[i].text == axis.labels[i].text && skipped.labels[i].kind == axis.labels[i].kind)
              << history.name << " at " << width << ", label " << i;
      }
    }
  }
}

TEST(TimeAxisCalendar, DaysConvertToTheirDates) {
  struct Row {
    std::int64_t days;
    TCivilDate date;
  };
  for (const Row& row : {Row{0, {1970, 1, 1}}, Row{-1, {1969, 12, 31}}, Row{11016, {2000, 2, 29}},
                         Row{19783, {2024, 3, 1}}, Row{-719468, {0, 3, 1}}, Row{2932896, {9999, 12, 31}}}) {
    const TCivilDate d = CivilFromDays(row.days);
    EXPECT_EQ(d.year, row.date.year) << row.days;
    EXPECT_EQ(d.month, row.date.month) << row.days;
    EXPECT_EQ(d.day, row.date.day) << row.days;
  }
}

}  // namespace
}  // namespace tavimo::chart
