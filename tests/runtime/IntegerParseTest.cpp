// Text to 32-bit integers: decimal and hexadecimal forms and their limits.
#include <gtest/gtest.h>

#include <string>

#include "ParamText.h"
#include "runtime/Exceptions.h"
#include "runtime/NumberParse.h"

namespace tavimo {
namespace {

struct IntegerRow {
  std::string text;
  std::int32_t value;
};

void PrintTo(const IntegerRow& row, std::ostream* os) {
  *os << "{" << param_text::Quoted(row.text) << ", " << row.value << "}";
}

class AcceptedIntegerText : public ::testing::TestWithParam<IntegerRow> {};

TEST_P(AcceptedIntegerText, GivesItsValue) {
  EXPECT_EQ(ParseIntegerText(GetParam().text), GetParam().value) << "'" << GetParam().text << "'";
}

INSTANTIATE_TEST_SUITE_P(
    Texts, AcceptedIntegerText,
    ::testing::Values(IntegerRow{"0", 0}, IntegerRow{"007", 7}, IntegerRow{" 12", 12}, IntegerRow{"+5", 5},
                      IntegerRow{"-5", -5}, IntegerRow{"2147483647", 2147483647},
                      IntegerRow{"-2147483648", INT32_MIN}, IntegerRow{"0002147483647", 2147483647},
                      IntegerRow{"$FFFFFFFF", -1}, IntegerRow{"$7fffffff", 2147483647},
                      IntegerRow{"$80000000", INT32_MIN}, IntegerRow{"-$80000000", INT32_MIN},
                      IntegerRow{"-0x10", -16}, IntegerRow{"0X1f", 31}, IntegerRow{"x10", 16},
                      IntegerRow{"X10", 16}, IntegerRow{"  -$1", -1}, IntegerRow{"-$FFFFFFFF", 1},
                      IntegerRow{"$00000000FF", 255}, IntegerRow{"$0FFFFFFF", 0x0FFFFFFF}),
    [](const ::testing::TestParamInfo<IntegerRow>& info) { return param_text::Name(info.param.text); });

class RejectedIntegerText : public ::testing::TestWithParam<std::string> {};

TEST_P(RejectedIntegerText, IsNotAnInteger) {
  EXPECT_THROW(ParseIntegerText(GetParam()), EConvertError) << "'" << GetParam() << "'";
}

INSTANTIATE_TEST_SUITE_P(Texts, RejectedIntegerText,
                         ::testing::Values("", " ", "-", "+", "12 ", "\t12", "1.0", "1e3", "2147483648",
                                           "-2147483649", "4294967296", "99999999999", "$", "0x", "-x", "$G",
                                           "$100000000", "0x123456789", "$FFFFFFFFF", "- 1", "+-1", "00x10",
                                           "1x", "x", "12a", std::string("1\0", 2)),
                         param_text::TextName());

TEST(IntegerParse, MessageQuotesTheUnchangedText) {
  const struct {
    std::string text;
    std::string message;
  } rows[] = {{"x", "'x' is not a valid integer value"},
              {"", "'' is not a valid integer value"},
              {"12 ", "'12 ' is not a valid integer value"}};
  for (const auto& row : rows) {
    try {
      ParseIntegerText(row.text);
      ADD_FAILURE() << "accepted '" << row.text << "'";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), row.message);
    }
  }
}

}  // namespace
}  // namespace tavimo

namespace tavimo {
namespace {

TEST(ScanDigits, TakesPlainDigitsUpToTheLimitAndNothingElse) {
  std::uint64_t value = 7;
  EXPECT_TRUE(ScanDigits("18446744073709551615", UINT64_MAX, value));
  EXPECT_EQ(value, UINT64_MAX);
  EXPECT_TRUE(ScanDigits("0010000", 10000, value));
  EXPECT_EQ(value, 10000u);
  for (const char* refused : {"", "10001", "18446744073709551616", "+1", " 1", "1 ", "1.0", "1,000", "x1"})
    EXPECT_FALSE(ScanDigits(refused, refused[0] == '1' && refused[1] == '8' ? UINT64_MAX : 10000, value)) << refused;
  EXPECT_EQ(value, 10000u);
}

}  // namespace
}  // namespace tavimo
