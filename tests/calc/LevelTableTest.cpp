// The four table builders: their formulas, order of operations and faults.

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <functional>
#include <string>

#include "CalcTestSupport.h"
#include "ParamText.h"
#include "calc/LevelTable.h"
#include "runtime/Exceptions.h"

namespace tavimo {
namespace {

using testing::Raises;

const RatioList& DefaultList() {
  static const RatioList list = SplitRatioText(DefaultRatioText);
  return list;
}

struct DefaultListCase {
  const char* name;
  std::function<LevelTable(const RatioList&, double low, double high)> build;
  std::vector<double> levels;  // to four decimals
};

void PrintTo(const DefaultListCase& c, std::ostream* out) { *out << c.name; }

class DefaultListLevelsTest : public ::testing::TestWithParam<DefaultListCase> {};

TEST_P(DefaultListLevelsTest, LowTenHighTwentyToFourDecimals) {
  const LevelTable table = GetParam().build(DefaultList(), 10.0, 20.0);
  ASSERT_EQ(table.size(), GetParam().levels.size());
  for (std::size_t i = 0; i < table.size(); ++i)
    EXPECT_EQ(std::llround(table[i] * 1e4), std::llround(GetParam().levels[i] * 1e4))
        << "entry " << i << " (" << DefaultList()[i] << ")";
}

INSTANTIATE_TEST_SUITE_P(
    Builders, DefaultListLevelsTest,
    ::testing::Values(
        DefaultListCase{"Rise", [](const RatioList& l, double low, double) { return BuildRiseTable(l, low); },
                        {11.91, 12.36, 13.3333, 13.82, 15, 16.18, 16.6667, 18.09, 0, 0, 0, 0, 0, 0, 0, 0}},
        DefaultListCase{"Decline",
                        [](const RatioList& l, double, double high) { return BuildDeclineTable(l, high); },
                        {16.18, 15.28, 13.3333, 12.36, 10, 7.64, 6.6667, 3.82, 0, 0, 0, 0, 0, 0, 0, 0}},
        DefaultListCase{"Resistance", BuildResistanceTable,
                        {11.91, 12.36, 13.3333, 13.82, 15, 16.18, 16.6667, 18.09, 20, 21.91, 22.36, 23.82, 25, 26.18,
                         28.09, 30}},
        DefaultListCase{"Support", BuildSupportTable,
                        {18.09, 17.64, 16.6667, 16.18, 15, 13.82, 13.3333, 11.91, 10, 8.09, 7.64, 6.18, 5, 3.82, 1.91,
                         0}}),
    param_text::NameField());

TEST(LevelTable, IntermediatesAreExtendedPrecision) {
  // Evaluated in doubles these give 0x1.eb851eb851eb8p-6 and 0x1.47ae147ae147ap-5.
  EXPECT_EQ(BuildResistanceTable({"1/3"}, 0.01, 0.07)[0], 0x1.eb851eb851eb9p-6);
  EXPECT_EQ(BuildRiseTable({"1/3"}, 0.03)[0], 0x1.47ae147ae147bp-5);
}

TEST(LevelTable, RiseAndDeclineSkipRatiosFromOneUp) {
  const RatioList list = {"0.999", "1", "1/1", "3/2", "0", "-0.5"};
  const LevelTable rise = BuildRiseTable(list, 10.0);
  const LevelTable decline = BuildDeclineTable(list, 10.0);
  EXPECT_NEAR(rise[0], 19.99, 1e-12);
  EXPECT_NEAR(decline[0], 0.01, 1e-12);
  EXPECT_EQ(LevelTable(rise.begin() + 1, rise.end()), (LevelTable{0, 0, 0, 10, 5}));
  EXPECT_EQ(LevelTable(decline.begin() + 1, decline.end()), (LevelTable{0, 0, 0, 10, 15}));
}

TEST(LevelTable, SkippedEntryIsStillConverted) {
  EXPECT_TRUE(Raises<EConvertError>([] { BuildRiseTable({"0.5", "1.5x"}, 10.0); },
                                    "'1.5x' is not a valid floating point value"));
  EXPECT_TRUE(Raises<EZeroDivide>([] { BuildDeclineTable({"2/0"}, 10.0); }, "Floating point division by zero"));
}

TEST(LevelTable, FirstBadEntryEndsTheBuild) {
  EXPECT_TRUE(Raises<EConvertError>([] { BuildResistanceTable({"0.5", "abc", "1/0"}, 10.0, 20.0); },
                                    "'abc' is not a valid floating point value"));
  EXPECT_TRUE(Raises<EInvalidOp>([] { BuildSupportTable({"0/0", "abc"}, 10.0, 20.0); },
                                 "Invalid floating point operation"));
}

TEST(LevelTable, LowAboveHighRunsTheOtherWay) {
  EXPECT_EQ(BuildResistanceTable({"0", "0.5", "1", "2"}, 20.0, 10.0), (LevelTable{20, 15, 10, 0}));
  EXPECT_EQ(BuildSupportTable({"0", "0.5", "1", "2"}, 20.0, 10.0), (LevelTable{10, 15, 20, 30}));
}

TEST(LevelTable, EmptyListGivesEmptyTable) {
  EXPECT_TRUE(BuildRiseTable({}, 10.0).empty());
  EXPECT_TRUE(BuildResistanceTable({}, 10.0, 20.0).empty());
}

TEST(LevelTable, ListLongerThanTwentyOneIsServedWhole) {
  RatioList list;
  for (int i = 0; i < 30; ++i) list.push_back(std::to_string(i) + "/10");
  const LevelTable table = BuildResistanceTable(list, 0.0, 10.0);
  ASSERT_EQ(table.size(), 30u);
  for (int i = 0; i < 30; ++i) EXPECT_DOUBLE_EQ(table[i], i);
}

TEST(LevelTable, LevelBeyondDoubleRangeOverflows) {
  EXPECT_TRUE(Raises<EOverflow>([] { BuildRiseTable({"0.9"}, DBL_MAX); }, "Floating point overflow"));
  EXPECT_TRUE(Raises<EOverflow>([] { BuildDeclineTable({"-1"}, -DBL_MAX); }, "Floating point overflow"));
  // high - low itself is beyond the double range, but only the levels are stored.
  EXPECT_EQ(BuildResistanceTable({"0.5"}, -DBL_MAX, DBL_MAX)[0], 0.0);
  EXPECT_TRUE(Raises<EOverflow>([] { BuildResistanceTable({"2"}, -DBL_MAX, DBL_MAX); }, "Floating point overflow"));
  EXPECT_TRUE(Raises<EOverflow>([] { BuildSupportTable({"2"}, DBL_MAX, -DBL_MAX); }, "Floating point overflow"));
}

TEST(LevelTable, UnderflowIsSilent) {
  const LevelTable denormal = BuildRiseTable({"-0.999"}, DBL_MIN);
  EXPECT_GT(denormal[0], 0.0);
  EXPECT_LT(denormal[0], DBL_MIN);
  // Half the smallest denormal is a tie, which rounds to even: zero.
  EXPECT_EQ(BuildRiseTable({"-0.5"}, DBL_TRUE_MIN)[0], 0.0);
  EXPECT_EQ(BuildSupportTable({"1e-4999"}, 0.0, 1.0)[0], 1.0);
}

}  // namespace
}  // namespace tavimo
