// The value of one ratio entry, and the errors of a bad one.

#include <gtest/gtest.h>

#include "CalcTestSupport.h"
#include "ParamText.h"
#include "calc/ComputeCommand.h"
#include "calc/RatioList.h"
#include "runtime/Exceptions.h"

namespace tavimo {
namespace {

using testing::Raises;

TEST(ParseRatio, FractionsAreTheNearestDoubles) {
  EXPECT_EQ(ParseRatio("1/3"), 1.0 / 3.0);
  EXPECT_EQ(ParseRatio("2/3"), 2.0 / 3.0);
  EXPECT_EQ(ParseRatio("1/4"), 0.25);
  EXPECT_EQ(ParseRatio("-1/4"), -0.25);
  EXPECT_EQ(ParseRatio("1/-4"), -0.25);
  EXPECT_EQ(ParseRatio(" 3/2"), 1.5);  // leading spaces are part of an integer text
  EXPECT_EQ(ParseRatio("$10/4"), 4.0);  // so is the hexadecimal form
}

TEST(ParseRatio, FractionOfLargeIntegersIsRoundedOnce) {
  // 2147483647 / 3 = 715827882.333..., exactly representable only in extended
  // precision; the double is the nearest one.
  EXPECT_EQ(ParseRatio("2147483647/3"), 2147483647.0 / 3.0);
  EXPECT_EQ(ParseRatio("-2147483648/-1"), 2147483648.0);
}

TEST(ParseRatio, DecimalsAreTheNearestDoubles) {
  EXPECT_EQ(ParseRatio("0.618"), 0.618);
  EXPECT_EQ(ParseRatio("1"), 1.0);
  EXPECT_EQ(ParseRatio("1.5e1"), 15.0);
  EXPECT_EQ(ParseRatio(" 0.5 "), 0.5);
  EXPECT_EQ(ParseRatio("1e-4999"), 0.0);  // underflow is no error
}

struct RatioError {
  const char* entry;
  const char* message;
};

void PrintTo(const RatioError& row, std::ostream* os) {
  *os << "{" << param_text::Quoted(row.entry) << " -> " << param_text::Quoted(row.message) << "}";
}

class ParseRatioConvertErrorTest : public ::testing::TestWithParam<RatioError> {};

TEST_P(ParseRatioConvertErrorTest, NamesTheOffendingText) {
  EXPECT_TRUE(Raises<EConvertError>([] { ParseRatio(GetParam().entry); }, GetParam().message));
}

INSTANTIATE_TEST_SUITE_P(
    Entries, ParseRatioConvertErrorTest,
    ::testing::Values(
        RatioError{"1/2/3", "'2/3' is not a valid integer value"},
        RatioError{"0.5/2", "'0.5' is not a valid integer value"},
        RatioError{"/3", "'' is not a valid integer value"},
        RatioError{"3/", "'' is not a valid integer value"},
        RatioError{"x/y", "'x' is not a valid integer value"},  // the numerator is converted first
        RatioError{"1/x", "'x' is not a valid integer value"},
        RatioError{"1 /3", "'1 ' is not a valid integer value"},
        RatioError{"2147483648/1", "'2147483648' is not a valid integer value"},
        RatioError{"", "'' is not a valid floating point value"},
        RatioError{"abc", "'abc' is not a valid floating point value"},
        RatioError{"0,618", "'0,618' is not a valid floating point value"},
        RatioError{"1e5000", "'1e5000' is not a valid floating point value"}),
    [](const ::testing::TestParamInfo<RatioError>& info) { return param_text::Name(info.param.entry); });

TEST(ParseRatio, NonZeroOverZeroIsDivisionByZero) {
  EXPECT_TRUE(Raises<EZeroDivide>([] { ParseRatio("1/0"); }, "Floating point division by zero"));
  EXPECT_TRUE(Raises<EZeroDivide>([] { ParseRatio("-7/0"); }, "Floating point division by zero"));
}

TEST(ParseRatio, ZeroOverZeroIsInvalidOperation) {
  EXPECT_TRUE(Raises<EInvalidOp>([] { ParseRatio("0/0"); }, "Invalid floating point operation"));
}

TEST(ParseRatio, DecimalBeyondDoubleRangeOverflows) {
  EXPECT_TRUE(Raises<EOverflow>([] { ParseRatio("1e400"); }, "Floating point overflow"));
}

TEST(ParseRatio, EntriesUseThePointDecimalInEveryLocale) {
  const testing::ScopedNumberFormat commaDecimals(",", ".");
  EXPECT_EQ(ParseRatio("0.618"), 0.618);
  EXPECT_EQ(ParseRatio("1/3"), 1.0 / 3.0);
  EXPECT_TRUE(Raises<EConvertError>([] { ParseRatio("0,618"); }, "'0,618' is not a valid floating point value"));
}

TEST(ParseRatio, CommaDecimalLocaleComputesTheDefaultListOnItsOwnPriceTexts) {
  const testing::ScopedNumberFormat commaDecimals(",", ".");
  const LevelTable levels = RunCompute(ComputeMode::Resistance, "10", "20,5", RatioListFromStoredText("")).levels;
  ASSERT_EQ(levels.size(), SplitRatioText(DefaultRatioText).size());
  EXPECT_EQ(levels[4], 15.25);  // 0.5
}

}  // namespace
}  // namespace tavimo
