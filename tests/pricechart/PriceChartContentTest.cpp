#include "pricechart/PriceChartContent.h"

#include <gtest/gtest.h>

namespace tavimo::pricechart {
namespace {

TEST(CandleConvention, OnlyEnglishLocaleNamesAreEnglish) {
  for (const char* name : {"en", "en_US.UTF-8", "en_GB", "en@quot", "en.UTF-8"}) EXPECT_TRUE(IsEnglishLocaleName(name)) << name;
  for (const char* name : {"", "C", "POSIX", "C.UTF-8", "zh_CN.UTF-8", "de_DE", "eng", "english"})
    EXPECT_FALSE(IsEnglishLocaleName(name)) << name;
}

TEST(BarsBetween, KeepsTheBarsOfTheSpanInclusive) {
  const std::vector<std::int64_t> times = {10, 20, 30, 40};
  struct Case {
    std::optional<std::int64_t> from, to;
    std::optional<int> first, last;
  };
  for (const Case& c : std::vector<Case>{{{}, {}, 0, 3},
                                        {20, 30, 1, 2},
                                        {15, 35, 1, 2},
                                        {40, {}, 3, 3},
                                        {{}, 10, 0, 0},
                                        {41, {}, {}, {}},
                                        {31, 39, {}, {}},
                                        {30, 20, {}, {}}}) {
    const std::optional<BarSpan> span = BarsBetween(times, c.from, c.to);
    ASSERT_EQ(span.has_value(), c.first.has_value());
    if (span) {
      EXPECT_EQ(span->first, *c.first);
      EXPECT_EQ(span->last, *c.last);
    }
  }
  EXPECT_FALSE(BarsBetween({}, {}, {}));
}

}  // namespace
}  // namespace tavimo::pricechart
