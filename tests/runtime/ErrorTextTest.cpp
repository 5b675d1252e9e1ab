// The error box's final period and the application title.
#include <gtest/gtest.h>

#include <string>

#include "runtime/ErrorText.h"

namespace tavimo {
namespace {

TEST(ErrorBoxText, AppendsAPeriodOnlyAfterCharactersAboveIt) {
  const struct {
    std::string message;
    std::string text;
  } rows[] = {
      {"'abc' is not a valid floating point value", "'abc' is not a valid floating point value."},
      {"Floating point overflow", "Floating point overflow."},
      {"ends with a digit 7", "ends with a digit 7."},
      {"a question?", "a question?."},
      {"already.", "already."},
      {"(in brackets)", "(in brackets)"},
      {"loud!", "loud!"},
      {"trailing blank ", "trailing blank "},
      {"a comma,", "a comma,"},
      {"a hyphen-", "a hyphen-"},
      {"\xe9\x94\x99\xe8\xaf\xaf", "\xe9\x94\x99\xe8\xaf\xaf."},  // two Chinese characters
      {"\xe2\x80\xa6", "\xe2\x80\xa6."},
      {"", ""},
  };
  for (const auto& row : rows) EXPECT_EQ(ErrorBoxText(row.message), row.text) << row.message;
}

TEST(ErrorBoxText, ATruncatedCharacterStillGetsThePeriod) {
  // A stray continuation byte counts as a character of its own (above ".").
  EXPECT_EQ(ErrorBoxText("bad \xe9\x94"), "bad \xe9\x94.");
}

TEST(ApplicationTitle, FileNameCutAtItsFirstDotWithOneCapital) {
  const struct {
    std::string path;
    std::string title;
  } rows[] = {{"/usr/bin/tavimo", "Tavimo"}, {"PROGRAM.EXE", "Program"}, {"a.b.c", "A"},
              {"/opt/x/TaViMo.bin", "Tavimo"}, {"tavimo", "Tavimo"}, {"/usr/bin/", ""}, {".hidden", ""},
              {"/home/u/9lives", "9lives"}};
  for (const auto& row : rows) EXPECT_EQ(ApplicationTitle(row.path), row.title) << row.path;
}

}  // namespace
}  // namespace tavimo
