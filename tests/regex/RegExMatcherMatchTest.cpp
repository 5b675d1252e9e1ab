// Searching: options, positions, the match event and bounded searches.

#include <gtest/gtest.h>

#include <string>

#include "ParamText.h"
#include "regex/RegExMatcher.h"

namespace tavimo {
namespace {

bool Matches(std::string_view regEx, std::string_view subject, TRegExMatcherOptions options = {}) {
  TRegExMatcher matcher;
  matcher.SetOptions(options);
  matcher.SetRegEx(regEx);
  matcher.SetSubject(subject);
  return matcher.Match();
}

struct OptionCase {
  const char* name;
  TRegExMatcherOption option;
  const char* regEx;
  const char* subject;
  bool withoutOption;
  bool withOption;
};

void PrintTo(const OptionCase& row, std::ostream* os) {
  *os << row.name << ": " << param_text::Quoted(row.regEx) << " in " << param_text::Quoted(row.subject)
      << (row.withoutOption ? ": a match" : ": no match") << " without the option,"
      << (row.withOption ? " a match" : " no match") << " with it";
}

class RegExMatcherOptionEffect : public ::testing::TestWithParam<OptionCase> {};

TEST_P(RegExMatcherOptionEffect, ChangesTheAnswer) {
  const OptionCase& row = GetParam();
  EXPECT_EQ(Matches(row.regEx, row.subject), row.withoutOption);
  EXPECT_EQ(Matches(row.regEx, row.subject, {row.option}), row.withOption);
}

const OptionCase kOptionCases[] = {
    {"CaseLess", preCaseLess, "abc", "xABCx", false, true},
    {"MultiLine", preMultiLine, "^b$", "a\nb\nc", false, true},
    {"MultiLineWithCrLf", preMultiLine, "^b$", "a\r\nb\r\nc", false, true},
    {"SingleLine", preSingleLine, "a.b", "a\nb", false, true},
    {"Extended", preExtended, "a b # comment", "ab", false, true},
    {"Anchored", preAnchored, "b", "ab", true, false},
};

INSTANTIATE_TEST_SUITE_P(Rows, RegExMatcherOptionEffect, ::testing::ValuesIn(kOptionCases),
                         [](const ::testing::TestParamInfo<OptionCase>& info) { return info.param.name; });

TEST(RegExMatcherMatch, UnGreedyMakesQuantifiersLazy) {
  TRegExMatcher matcher;
  matcher.SetRegEx("a+");
  matcher.SetSubject("aaa");
  ASSERT_TRUE(matcher.Match());
  EXPECT_EQ(matcher.Offset(1), 4);
  matcher.SetOptions({preUnGreedy});
  ASSERT_TRUE(matcher.Match());
  EXPECT_EQ(matcher.Offset(1), 2);
}

TEST(RegExMatcherMatch, NoAutoCaptureLeavesPlainGroupsUncaptured) {
  TRegExMatcher matcher;
  matcher.SetRegEx("(a)(b)");
  matcher.SetSubject("ab");
  ASSERT_TRUE(matcher.Match());
  EXPECT_EQ(matcher.OffsetCount(), 3);
  matcher.SetOptions({preNoAutoCapture});
  ASSERT_TRUE(matcher.Match());
  EXPECT_EQ(matcher.OffsetCount(), 1);
}

TEST(RegExMatcherMatch, OptionsCombine) {
  EXPECT_TRUE(Matches("^B . C$", "a\nb\nc\nd", {preCaseLess, preMultiLine, preExtended, preSingleLine}));
  TRegExMatcherOptions options{preCaseLess, preAnchored};
  EXPECT_TRUE(options.Contains(preAnchored));
  options.Exclude(preAnchored);
  EXPECT_EQ(options, TRegExMatcherOptions{preCaseLess});
}

TEST(RegExMatcherMatch, EmptySubjectNeverMatches) {
  EXPECT_FALSE(Matches("x*", ""));
  EXPECT_FALSE(Matches("^", ""));
  EXPECT_FALSE(Matches("[^0-9]+", ""));
}

TEST(RegExMatcherMatch, EmptyMatchesAreExcluded) {
  // "x*" matches empty everywhere; only a non-empty match counts.
  EXPECT_FALSE(Matches("x*", "abc"));
  EXPECT_TRUE(Matches("x*", "abxc"));
}

TEST(RegExMatcherMatch, OffsetsAreOneBasedAfterMatch) {
  TRegExMatcher matcher;
  matcher.SetRegEx("(b+)(x)?(c)");
  matcher.SetSubject("aabbc");
  ASSERT_TRUE(matcher.Match());
  EXPECT_EQ(matcher.OffsetCount(), 4);
  EXPECT_EQ(matcher.Offset(0), 3);  // "bbc" begins at position 3
  EXPECT_EQ(matcher.Offset(1), 6);  // and ends before position 6
  EXPECT_EQ(matcher.Offset(2), 3);
  EXPECT_EQ(matcher.Offset(3), 5);
  EXPECT_EQ(matcher.Offset(4), 0);  // group 2 took no part
  EXPECT_EQ(matcher.Offset(5), 0);
  EXPECT_EQ(matcher.Offset(6), 5);
  EXPECT_EQ(matcher.Offset(7), 6);
  EXPECT_EQ(matcher.Start(), 6);
  EXPECT_EQ(matcher.Stop(), 5);
}

TEST(RegExMatcherMatch, NewSubjectIsSearchedFromItsFirstByte) {
  TRegExMatcher matcher;
  matcher.SetRegEx("a");
  matcher.SetSubject("xxxxa");
  ASSERT_TRUE(matcher.Match());
  EXPECT_EQ(matcher.Start(), 6);
  matcher.SetSubject("ab");
  ASSERT_TRUE(matcher.Match());
  EXPECT_EQ(matcher.Offset(0), 1);
  // Matching again does not continue after the last match either.
  ASSERT_TRUE(matcher.Match());
  EXPECT_EQ(matcher.Offset(0), 1);
}

TEST(RegExMatcherMatch, NoMatchGivesNegativeCountAndFalse) {
  TRegExMatcher matcher;
  matcher.SetRegEx("z");
  matcher.SetSubject("abc");
  EXPECT_FALSE(matcher.Match());
  EXPECT_LT(matcher.OffsetCount(), 0);
}

TEST(RegExMatcherMatch, TooManyGroupsForTheVectorGivesFalse) {
  std::string regEx;
  for (int i = 0; i < 120; ++i) regEx += "(a)";
  TRegExMatcher matcher;
  matcher.SetRegEx(regEx);
  matcher.SetSubject(std::string(120, 'a'));
  EXPECT_FALSE(matcher.Match());
  EXPECT_EQ(matcher.OffsetCount(), 0);
}

TEST(RegExMatcherMatch, OnMatchCalledAfterEachSuccessOnly) {
  TRegExMatcher matcher;
  int calls = 0;
  int startSeen = 0;
  matcher.SetOnMatch([&](TRegExMatcher& sender) {
    ++calls;
    startSeen = sender.Start();
    EXPECT_EQ(&sender, &matcher);
  });
  matcher.SetRegEx("b");
  matcher.SetSubject("abc");
  EXPECT_TRUE(matcher.Match());
  EXPECT_TRUE(matcher.Match());
  matcher.SetSubject("xyz");
  EXPECT_FALSE(matcher.Match());
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(startSeen, 3);
}

TEST(RegExMatcherMatch, ReplacementAndOnReplaceAreKeptNotUsed) {
  TRegExMatcher matcher;
  bool replaced = false;
  matcher.SetReplacement("x");
  matcher.SetOnReplace([&](TRegExMatcher&, std::string&) { replaced = true; });
  matcher.SetRegEx("b");
  matcher.SetSubject("abc");
  EXPECT_TRUE(matcher.Match());
  EXPECT_FALSE(replaced);
  EXPECT_EQ(matcher.Replacement(), "x");
  EXPECT_EQ(matcher.Subject(), "abc");
}

TEST(RegExMatcherMatch, SubjectIsMatchedByteByByte) {
  // A full-width comma is three bytes, none of them a comma.
  EXPECT_FALSE(Matches(",", "0.5\xEF\xBC\x8C" "1"));
  EXPECT_TRUE(Matches("^...$", "\xEF\xBC\x8C"));
  EXPECT_TRUE(Matches("\\x00", std::string_view("a\0b", 3)));
}

TEST(RegExMatcherMatch, CharacterClassesAreAscii) {
  EXPECT_FALSE(Matches("\\w", "\xE9\xC9"));
  EXPECT_FALSE(Matches("\xE9", "\xC9", {preCaseLess}));
  EXPECT_TRUE(Matches("^\\W\\W$", "\xE9\xC9"));
}

TEST(RegExMatcherMatch, AnyLineEndEndsALine) {
  EXPECT_TRUE(Matches("^b$", "a\rb\rc", {preMultiLine}));
  EXPECT_TRUE(Matches("^b$", "a\x85" "b", {preMultiLine}));
  EXPECT_FALSE(Matches("a.b", "a\rb"));
}

TEST(RegExMatcherMatch, OrdinaryRepetitionOverLongSubjectsFinishes) {
  for (const std::size_t length : {5000u, 50000u}) {
    EXPECT_TRUE(Matches("(?:a|b)*c", std::string(length, 'a') + "c")) << length;
    EXPECT_TRUE(Matches("^(?:a|b)*$", std::string(length, 'b'))) << length;
  }
}

TEST(RegExMatcherMatch, CatastrophicBacktrackingStopsAtTheLimit) {
  TRegExMatcher matcher;
  matcher.SetRegEx("(a+)+$");
  matcher.SetSubject(std::string(64, 'a') + "!");
  EXPECT_FALSE(matcher.Match());
  EXPECT_LT(matcher.OffsetCount(), -1) << "a plain no-match would mean the search ran to its end";
  // The matcher is still usable afterwards.
  matcher.SetSubject("aaa");
  EXPECT_TRUE(matcher.Match());
}

TEST(RegExMatcherMatch, DeepBacktrackingStopsAtTheLimit) {
  TRegExMatcher matcher;
  matcher.SetRegEx("^(?:(a)|b)*$");
  matcher.SetSubject(std::string(200000, 'a'));
  EXPECT_FALSE(matcher.Match());
  EXPECT_LT(matcher.OffsetCount(), -1);
}

}  // namespace
}  // namespace tavimo
