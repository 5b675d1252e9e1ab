// Fields as the CSV writer puts them: quoted exactly when a reader needs it.

#include <gtest/gtest.h>

#include <string>

#include "ParamText.h"
#include "runtime/CsvWriter.h"

namespace tavimo {
namespace {

struct TextCase {
  std::string in;
  std::string out;
};

void PrintTo(const TextCase& row, std::ostream* os) {
  *os << "{" << param_text::Quoted(row.in) << " -> " << param_text::Quoted(row.out) << "}";
}

class CsvFieldTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(CsvFieldTest, QuotesWhatNeedsQuoting) { EXPECT_EQ(CsvField(GetParam().in), GetParam().out); }

INSTANTIATE_TEST_SUITE_P(
    Fields, CsvFieldTest,
    ::testing::Values(TextCase{"0.618", "0.618"}, TextCase{"", ""}, TextCase{"1/3", "1/3"},
                      TextCase{"1,234.5", "\"1,234.5\""}, TextCase{"a\"b", "\"a\"\"b\""}, TextCase{"\"", "\"\"\"\""},
                      TextCase{"a\nb", "\"a\nb\""}, TextCase{"a\rb", "\"a\rb\""}, TextCase{" 0.5", "\" 0.5\""},
                      TextCase{"0.5 ", "\"0.5 \""}, TextCase{"1 234", "1 234"}, TextCase{"中文", "中文"}),
    [](const ::testing::TestParamInfo<TextCase>& info) { return param_text::Name(info.param.in); });

}  // namespace
}  // namespace tavimo
