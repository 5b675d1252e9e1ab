// Character stepping: which byte runs count as one character.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/Utf8.h"

namespace tavimo {
namespace {

std::vector<std::size_t> Steps(std::string_view text) {
  std::vector<std::size_t> steps;
  for (std::size_t i = 0; i < text.size(); i += steps.back()) steps.push_back(CharacterLength(text, i));
  return steps;
}

TEST(CharacterLength, WellFormedSequencesAreOneCharacterEveryOtherByteIsOne) {
  using Lengths = std::vector<std::size_t>;
  const struct {
    const char* name;
    std::string text;
    Lengths steps;
  } rows[] = {
      {"ascii and nul", std::string("a\0~\x7f", 4), {1, 1, 1, 1}},
      {"two-byte bounds", "\xc2\x80\xdf\xbf", {2, 2}},
      {"three-byte bounds", "\xe0\xa0\x80\xef\xbf\xbf", {3, 3}},
      {"four-byte bounds", "\xf0\x90\x80\x80\xf4\x8f\xbf\xbf", {4, 4}},
      {"last before the surrogates", "\xed\x9f\xbf", {3}},
      {"surrogate", "\xed\xa0\x80", {1, 1, 1}},
      {"overlong two-byte", "\xc0\xaf\xc1\xbf", {1, 1, 1, 1}},
      {"overlong three-byte", "\xe0\x9f\xbf", {1, 1, 1}},
      {"overlong four-byte", "\xf0\x8f\xbf\xbf", {1, 1, 1, 1}},
      {"beyond U+10FFFF", "\xf4\x90\x80\x80", {1, 1, 1, 1}},
      {"lead bytes never used", "\xf5\x80\x80\x80\xff", {1, 1, 1, 1, 1}},
      {"stray continuation", "\x80\xbf", {1, 1}},
      {"truncated at the end", "\xe4\xb8", {1, 1}},
      {"interrupted by ascii", "\xe4\xb8,\xf0\x9f\x98", {1, 1, 1, 1, 1, 1}},
      {"a sequence after a bad byte", "\xff\xe4\xb8\xad", {1, 3}},
  };
  for (const auto& row : rows) EXPECT_EQ(Steps(row.text), row.steps) << row.name;
}

}  // namespace
}  // namespace tavimo
