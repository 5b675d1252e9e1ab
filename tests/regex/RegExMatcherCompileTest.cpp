// When the matcher compiles, when it keeps its compiled expression, and the
// errors of compiling.

#include <gtest/gtest.h>

#include "ParamText.h"
#include "regex/RegExMatcher.h"
#include "runtime/Exceptions.h"

namespace tavimo {
namespace {

std::string CompileMessage(TRegExMatcher& matcher) {
  try {
    matcher.Compile();
  } catch (const Exception& error) {
    return error.Message();
  }
  return "no exception";
}

TEST(RegExMatcherCompile, NewMatcherHoldsNoPattern) {
  TRegExMatcher matcher;
  EXPECT_FALSE(matcher.Compiled());
  EXPECT_FALSE(matcher.Studied());
  EXPECT_TRUE(matcher.Options().Empty());
  EXPECT_EQ(matcher.CompileCount(), 0);
}

TEST(RegExMatcherCompile, EmptyRegExIsRefusedByMatchAndCompile) {
  TRegExMatcher matcher;
  matcher.SetSubject("abc");
  EXPECT_EQ(CompileMessage(matcher), "TRegExMatcher.Compile() - Please specify a regular expression in RegEx first");
  try {
    matcher.Match();
    ADD_FAILURE() << "Match compiled an empty expression";
  } catch (const Exception& error) {
    EXPECT_STREQ(error.ClassName(), "Exception");
    EXPECT_EQ(error.Message(), "TRegExMatcher.Compile() - Please specify a regular expression in RegEx first");
  }
  EXPECT_EQ(matcher.CompileCount(), 0);
}

struct BadPattern {
  const char* pattern;
  const char* message;
};

void PrintTo(const BadPattern& row, std::ostream* os) {
  *os << "{" << param_text::Quoted(row.pattern) << " -> " << param_text::Quoted(row.message) << "}";
}

class RegExMatcherBadPattern : public ::testing::TestWithParam<BadPattern> {};

TEST_P(RegExMatcherBadPattern, ReportsOffsetAndEngineText) {
  TRegExMatcher matcher;
  matcher.SetRegEx(GetParam().pattern);
  EXPECT_EQ(CompileMessage(matcher), GetParam().message);
  EXPECT_FALSE(matcher.Compiled());
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, RegExMatcherBadPattern,
    ::testing::Values(
        BadPattern{"(", "TRegExMatcher.Compile() - Error in regex at offset 1: missing closing parenthesis"},
        BadPattern{"ab[c", "TRegExMatcher.Compile() - Error in regex at offset 4: missing terminating ] for "
                           "character class"},
        BadPattern{"*a", "TRegExMatcher.Compile() - Error in regex at offset 0: quantifier does not follow a "
                         "repeatable item"},
        BadPattern{"a{2,1}", "TRegExMatcher.Compile() - Error in regex at offset 5: numbers out of order in {} "
                             "quantifier"}),
    [](const ::testing::TestParamInfo<BadPattern>& info) { return param_text::Name(info.param.pattern); });

TEST(RegExMatcherCompile, FailedCompileLeavesMatcherUsable) {
  TRegExMatcher matcher;
  matcher.SetSubject("a;b");
  matcher.SetRegEx("[;");
  EXPECT_THROW(matcher.Match(), Exception);
  EXPECT_FALSE(matcher.Compiled());
  matcher.SetRegEx(";");
  EXPECT_TRUE(matcher.Match());
  EXPECT_TRUE(matcher.Compiled());
}

TEST(RegExMatcherCompile, FailedCompileDropsThePreviousPattern) {
  TRegExMatcher matcher;
  matcher.SetSubject("x");
  matcher.SetRegEx("x");
  ASSERT_TRUE(matcher.Match());
  matcher.SetRegEx(")");
  EXPECT_THROW(matcher.Compile(), Exception);
  EXPECT_FALSE(matcher.Compiled());
  EXPECT_THROW(matcher.Match(), Exception);
}

TEST(RegExMatcherCompile, MatchCompilesOnDemandOnce) {
  TRegExMatcher matcher;
  matcher.SetRegEx("b");
  EXPECT_FALSE(matcher.Compiled());
  matcher.SetSubject("abc");
  EXPECT_TRUE(matcher.Match());
  EXPECT_TRUE(matcher.Compiled());
  matcher.SetSubject("xyz");
  EXPECT_FALSE(matcher.Match());
  EXPECT_EQ(matcher.CompileCount(), 1);
}

TEST(RegExMatcherCompile, SameRegExKeepsCompiledPattern) {
  TRegExMatcher matcher;
  matcher.SetSubject("a;b");
  matcher.SetRegEx(";");
  ASSERT_TRUE(matcher.Match());
  matcher.SetRegEx(";");
  EXPECT_TRUE(matcher.Compiled());
  EXPECT_TRUE(matcher.Match());
  EXPECT_EQ(matcher.CompileCount(), 1);
}

TEST(RegExMatcherCompile, OtherRegExRecompilesAndIsUsed) {
  TRegExMatcher matcher;
  matcher.SetSubject("a;b");
  matcher.SetRegEx(";");
  ASSERT_TRUE(matcher.Match());
  matcher.SetRegEx("z");
  EXPECT_FALSE(matcher.Compiled());
  EXPECT_EQ(matcher.OffsetCount(), 0);
  EXPECT_FALSE(matcher.Match());
  EXPECT_EQ(matcher.CompileCount(), 2);
  EXPECT_EQ(matcher.RegEx(), "z");
}

TEST(RegExMatcherCompile, ChangedOptionsRecompileSameOptionsDoNot) {
  TRegExMatcher matcher;
  matcher.SetSubject("ABC");
  matcher.SetRegEx("b");
  EXPECT_FALSE(matcher.Match());
  matcher.SetOptions({});
  EXPECT_TRUE(matcher.Compiled());
  matcher.SetOptions({preCaseLess});
  EXPECT_FALSE(matcher.Compiled());
  EXPECT_TRUE(matcher.Match());
  matcher.SetOptions({preCaseLess});
  EXPECT_TRUE(matcher.Compiled());
  EXPECT_EQ(matcher.CompileCount(), 2);
}

TEST(RegExMatcherCompile, NewSubjectKeepsCompiledPattern) {
  TRegExMatcher matcher;
  matcher.SetRegEx("[0-9]");
  matcher.SetSubject("a1");
  ASSERT_TRUE(matcher.Match());
  matcher.SetSubject("b");
  EXPECT_TRUE(matcher.Compiled());
  EXPECT_EQ(matcher.OffsetCount(), 0);
  EXPECT_EQ(matcher.Start(), 1);
  EXPECT_EQ(matcher.Stop(), 1);
  EXPECT_FALSE(matcher.Match());
  EXPECT_EQ(matcher.CompileCount(), 1);
}

}  // namespace
}  // namespace tavimo
