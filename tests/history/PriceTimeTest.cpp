#include <gtest/gtest.h>

#include "history/PriceTime.h"

namespace tavimo {
namespace {

struct TimeCase {
  const char* text;
  std::optional<std::int64_t> seconds;
};

TEST(PriceTimeTest, ReadsEveryTimeFormAndRejectsDatesThatDoNotExist) {
  const TimeCase cases[] = {
      {"2024-03-01", 1709251200},
      {"2024/03/01", 1709251200},
      {"2024.03.01", 1709251200},
      {"20240301", 1709251200},
      {"2024-02-29T13:45", 1709214300},
      {"2024-02-29 13:45:07.250Z", 1709214307},
      {"1709251200", 1709251200},         // epoch seconds
      {"1709251200123", 1709251200},      // milliseconds
      {"1709251200123456", 1709251200},   // microseconds
      {"1969-12-31 23:59:59", -1},
      {"2023-02-29", std::nullopt},
      {"2023-02-30", std::nullopt},
      {"2024-13-01", std::nullopt},
      {"2024-03-01 24:00", std::nullopt},
      {"123456789012345678", std::nullopt},
      {"1.5", std::nullopt},
  };
  for (const TimeCase& c : cases) EXPECT_EQ(ParsePriceTime(c.text), c.seconds) << c.text;
}

TEST(PriceTimeTest, WritesDatesAloneOnlyWhenEveryBarIsAtMidnight) {
  const std::int64_t days[] = {1709251200, 1709337600};
  const std::int64_t mixed[] = {1709251200, 1709214307};
  EXPECT_EQ(TimeTextFormFor(days, 2), TimeTextForm::Date);
  ASSERT_EQ(TimeTextFormFor(mixed, 2), TimeTextForm::DateTime);
  EXPECT_EQ(TimeText(mixed[1], TimeTextForm::DateTime), "2024-02-29 13:45:07");
  EXPECT_EQ(TimeText(-1, TimeTextForm::DateTime), "1969-12-31 23:59:59");
  EXPECT_EQ(TimeText(days[0], TimeTextForm::Date), "2024-03-01");
}

}  // namespace
}  // namespace tavimo
