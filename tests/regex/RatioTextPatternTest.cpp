// Which typed ratio lists the settings check refuses.

#include <gtest/gtest.h>

#include "ParamText.h"
#include "regex/RatioTextPattern.h"

namespace tavimo {
namespace {

struct RatioTextCase {
  const char* name;
  std::string text;
  bool refused;
};

void PrintTo(const RatioTextCase& row, std::ostream* os) {
  *os << row.name << ": " << param_text::Quoted(row.text) << (row.refused ? " refused" : " accepted");
}

class RatioTextCheck : public ::testing::TestWithParam<RatioTextCase> {};

TEST_P(RatioTextCheck, RefusesExactlyForeignBytes) {
  EXPECT_EQ(RatioTextHasForbiddenCharacter(GetParam().text), GetParam().refused) << GetParam().text;
}

using namespace std::string_literals;

const RatioTextCase kRatioTextCases[] = {
    {"Empty", "", false},
    {"DefaultList", "0.191,0.236,1/3,0.382,0.5,0.618,2/3,0.809,1,1.191,1.236,1.382,1.5,1.618,1.809,2", false},
    {"DecimalsAndFractions", "0.5,2/3,1", false},
    {"Caret", "1^2", false},
    {"OnlySeparators", ",./^", false},
    {"Semicolon", "0.5;2", true},
    {"Exponent", "1e3", true},
    {"Blank", "0.5, 1", true},
    {"Tab", "0.5,\t1", true},
    {"Minus", "-1/4", true},
    {"Plus", "+1", true},
    {"Backslash", "1\\2", true},
    {"Quote", "\"1,2\",3", true},
    {"FullWidthComma", "0.5\xEF\xBC\x8C" "1", true},
    {"ChineseDigit", "\xE4\xB8\x80", true},
    {"HighByte", "1\xE9", true},
    {"NulByte", "1\0"s "2", true},
    {"Newline", "1\n2", true},
    {"Letters", "abc", true},
};

INSTANTIATE_TEST_SUITE_P(Rows, RatioTextCheck, ::testing::ValuesIn(kRatioTextCases),
                         [](const ::testing::TestParamInfo<RatioTextCase>& info) { return info.param.name; });

TEST(RatioTextCheck, EveryByteOutsideTheClassIsRefused) {
  const std::string allowed = "0123456789^.,/";
  for (int byte = 0; byte < 256; ++byte) {
    std::string text = "1" + std::string(1, static_cast<char>(byte)) + "2";
    bool expected = allowed.find(static_cast<char>(byte)) == std::string::npos;
    EXPECT_EQ(RatioTextHasForbiddenCharacter(text), expected) << "byte " << byte;
  }
}

TEST(RatioTextCheck, LongAllowedTextIsAccepted) {
  std::string text;
  for (int i = 0; i < 20000; ++i) text += "0.618,1/3,";
  EXPECT_FALSE(RatioTextHasForbiddenCharacter(text));
  EXPECT_TRUE(RatioTextHasForbiddenCharacter(text + "x"));
}

}  // namespace
}  // namespace tavimo
