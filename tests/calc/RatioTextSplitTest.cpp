// Cutting a ratio list text into entries.

#include <gtest/gtest.h>

#include "ParamText.h"
#include "calc/RatioList.h"

namespace tavimo {
namespace {

struct SplitCase {
  const char* name;
  std::string text;
  RatioList entries;
};

void PrintTo(const SplitCase& c, std::ostream* out) { *out << c.name << ": " << param_text::Quoted(c.text); }

class SplitRatioTextTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitRatioTextTest, CutsEntries) {
  EXPECT_EQ(SplitRatioText(GetParam().text), GetParam().entries);
}

INSTANTIATE_TEST_SUITE_P(
    Consequences, SplitRatioTextTest,
    ::testing::Values(
        SplitCase{"Empty", "", {}},
        SplitCase{"BlanksOnly", " \t \n", {}},
        SplitCase{"TwoEntries", "0.5,0.618", {"0.5", "0.618"}},
        SplitCase{"BlanksAroundEntriesAndComma", " 0.5 , 0.618 ", {"0.5", "0.618"}},
        SplitCase{"BlankWithoutComma", "0.5 0.618", {"0.5", "0.618"}},
        SplitCase{"DoubleComma", "0.5,,0.618", {"0.5", "", "0.618"}},
        SplitCase{"LeadingComma", ",0.5", {"", "0.5"}},
        SplitCase{"TrailingComma", "0.5,", {"0.5", ""}},
        SplitCase{"TrailingCommaThenBlank", "0.5, ", {"0.5"}},
        SplitCase{"QuotedItemWithComma", "\"1,2\",3", {"1,2", "3"}}),
    param_text::NameField());

INSTANTIATE_TEST_SUITE_P(
    Quoting, SplitRatioTextTest,
    ::testing::Values(
        SplitCase{"EmptyQuotes", "\"\"", {""}},
        SplitCase{"EmptyQuotesThenEntry", "\"\",1", {"", "1"}},
        SplitCase{"DoubledQuoteStandsForOne", "\"a\"\"b\",c", {"a\"b", "c"}},
        SplitCase{"QuotedBlanksKept", "\" 0.5 \"", {" 0.5 "}},
        SplitCase{"UnclosedQuoteTakesTheRest", "1,\"2, 3", {"1", "2, 3"}},
        SplitCase{"TextRightAfterClosingQuote", "\"a\"b,c", {"a", "b", "c"}},
        SplitCase{"QuoteInsideRunIsOrdinary", "1\"2,3", {"1\"2", "3"}},
        SplitCase{"QuotedItemThenTrailingComma", "\"1\",", {"1", ""}}),
    param_text::NameField());

INSTANTIATE_TEST_SUITE_P(
    Characters, SplitRatioTextTest,
    ::testing::Values(
        SplitCase{"ControlCharactersAreBlanks", "1\x01" "2\x1f" "3", {"1", "2", "3"}},
        SplitCase{"MultiByteCharactersStayWhole", "０.５,中文 二", {"０.５", "中文", "二"}},
        SplitCase{"StrayLeadByteDoesNotSwallowComma", "\xE4,1", {"\xE4", "1"}},
        SplitCase{"TruncatedSequenceAtEnd", "1,\xE4\xB8", {"1", "\xE4\xB8"}},
        SplitCase{"MultiByteInsideQuotes", "\"中,文\"", {"中,文"}},
        SplitCase{"TextEndsAtNul", std::string("1,2\0,3", 6), {"1", "2"}},
        SplitCase{"NoLimitOnCount", "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23",
                  {"1",  "2",  "3",  "4",  "5",  "6",  "7",  "8",  "9",  "10", "11", "12",
                   "13", "14", "15", "16", "17", "18", "19", "20", "21", "22", "23"}}),
    param_text::NameField());

TEST(DefaultRatioText, HoldsTheSixteenRatiosInSeventyNineCharacters) {
  EXPECT_EQ(DefaultRatioText.size(), 79u);
  const RatioList expected = {"0.191", "0.236", "1/3",   "0.382", "0.5",   "0.618", "2/3",   "0.809",
                              "1",     "1.191", "1.236", "1.382", "1.5",   "1.618", "1.809", "2"};
  EXPECT_EQ(SplitRatioText(DefaultRatioText), expected);
}

}  // namespace
}  // namespace tavimo
