// Values written with a number of significant digits, the fallback of the
// pattern formatter.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "ParamText.h"
#include "runtime/NumberFormat.h"

namespace tavimo {
namespace {

struct GeneralRow {
  long double value;
  int precision;
  std::string text;
};

void PrintTo(const GeneralRow& row, std::ostream* os) {
  *os << "{" << param_text::Number(row.value) << ", precision " << row.precision << " -> "
      << param_text::Quoted(row.text) << "}";
}

class GeneralFormat : public ::testing::TestWithParam<GeneralRow> {};

TEST_P(GeneralFormat, WritesTheExpectedText) {
  const GeneralRow& row = GetParam();
  EXPECT_EQ(FormatFloatGeneral(row.value, row.precision, NumberFormatSettings{".", ","}), row.text)
      << static_cast<double>(row.value) << " precision " << row.precision;
}

constexpr long double kInf = std::numeric_limits<long double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Values, GeneralFormat,
    ::testing::Values(GeneralRow{1e20, 15, "1E20"}, GeneralRow{0.00001234, 15, "1.234E-5"},
                      GeneralRow{1.0L / 3, 15, "0.333333333333333"},
                      GeneralRow{123456789012345.0L, 15, "123456789012345"},
                      GeneralRow{0.0001234, 15, "0.0001234"}, GeneralRow{kInf, 15, "INF"},
                      GeneralRow{-kInf, 15, "-INF"}, GeneralRow{std::numeric_limits<long double>::quiet_NaN(), 15, "NAN"},
                      GeneralRow{0.0L, 15, "0"}, GeneralRow{-0.0L, 15, "0"}, GeneralRow{100.0L, 15, "100"},
                      GeneralRow{-2.5L, 15, "-2.5"}, GeneralRow{1e15, 15, "1E15"},
                      GeneralRow{999999999999999.0L, 15, "999999999999999"},
                      GeneralRow{9999999999999999.0L, 15, "1E16"}, GeneralRow{0.001, 15, "0.001"},
                      GeneralRow{0.0001, 15, "0.0001"}, GeneralRow{0.00001, 15, "1E-5"},
                      GeneralRow{-1.5e-10, 15, "-1.5E-10"}, GeneralRow{1.5e300, 15, "1.5E300"},
                      GeneralRow{1e18, 15, "1E18"}, GeneralRow{2.5e20, 15, "2.5E20"}, GeneralRow{-3e19, 15, "-3E19"},
                      GeneralRow{123.456, 2, "1.2E2"}, GeneralRow{1.25L, 1, "1.3"},
                      GeneralRow{1.0L / 3, 30, "0.333333333333333333"}, GeneralRow{0.1, 18, "0.100000000000000006"},
                      GeneralRow{0.1, 17, "0.10000000000000001"}, GeneralRow{1e4000L, 15, "1E4000"},
                      GeneralRow{12.5L, 15, "12.5"}, GeneralRow{99.95L, 3, "100"}),
    [](const ::testing::TestParamInfo<GeneralRow>& info) {
      return param_text::Join({param_text::Name(info.param.value), "p" + std::to_string(info.param.precision)});
    });

TEST(GeneralFormat, WritesTheLocaleDecimalSeparator) {
  EXPECT_EQ(FormatFloatGeneral(1.5L, 15, NumberFormatSettings{",", "."}), "1,5");
  EXPECT_EQ(FormatFloatGeneral(1.5e-7L, 15, NumberFormatSettings{",", "."}), "1,5E-7");
  EXPECT_EQ(FormatFloatGeneral(0.25L, 15, NumberFormatSettings{"\xd9\xab", ""}), "0\xd9\xab" "25");
  EXPECT_EQ(FormatFloatGeneral(1234567.0L, 15, NumberFormatSettings{".", ","}), "1234567") << "never grouped";
}

}  // namespace
}  // namespace tavimo
