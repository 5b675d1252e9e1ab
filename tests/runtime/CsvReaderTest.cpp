// The CSV reader: records, their errors and line numbers, whatever the block
// size and the separator.

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "ParamText.h"
#include "runtime/CsvReader.h"

namespace tavimo {
namespace {

// Every record as "line:[field]...", with "!error" for a bad one.
std::string ReadAll(const std::string& text, char separator, std::size_t blockSize) {
  std::istringstream in(text);
  CsvReader reader(in, separator, blockSize);
  CsvRecord record;
  std::string result;
  while (reader.Next(record)) {
    result += std::to_string(record.line) + ":";
    for (std::string_view field : record.fields) result += "[" + std::string(field) + "]";
    if (!record.error.empty()) result += "!" + std::string(record.error);
    result += "\n";
  }
  return result;
}

struct ReaderCase {
  const char* name;
  std::string text;
  char separator;
  std::string expected;
};

void PrintTo(const ReaderCase& row, std::ostream* os) {
  *os << "{" << row.name << ": " << param_text::Quoted(row.text) << " separated by "
      << param_text::Quoted(std::string(1, row.separator)) << "}";
}

class CsvReaderCases : public testing::TestWithParam<ReaderCase> {};

TEST_P(CsvReaderCases, RecordsDoNotDependOnWhereBlocksEnd) {
  const ReaderCase& c = GetParam();
  for (std::size_t block = 16; block < 40; ++block) EXPECT_EQ(ReadAll(c.text, c.separator, block), c.expected) << block;
  EXPECT_EQ(ReadAll(c.text, c.separator, 1 << 20), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    CsvReader, CsvReaderCases,
    testing::Values(
        ReaderCase{"QuotesAndLineEnds",
                   "a,\"b\"\"\",\"\"\"c\"\r\n\"\",,\"multi\nline\"\r\n\r\nlone\rcr,x\r\n\"in\rquotes\"\n",
                   ',', "1:[a][b\"][\"c]\n2:[][][multi\nline]\n5:[lone]\n6:[cr][x]\n7:[in\rquotes]\n"},
        ReaderCase{"UnterminatedQuoteIsABadRecordAtTheEnd", "low,high\n10,\"20\n11,21\n", ',',
                   "1:[low][high]\n2:[10][20\n11,21\n]!unterminated quote\n"},
        ReaderCase{"QuotesOutOfPlaceMakeBadRecords", "\"10\"5,20\n1\"0,20\nok,\"a\"\n", ',',
                   "1:[105][20]!text after a closing quote\n2:[1\"0][20]!quote inside an unquoted field\n"
                   "3:[ok][a]\n"},
        ReaderCase{"SemicolonsAndCarriageReturnsOnly", "\xEF\xBB\xBF" "date;close\r1,5;\"2;3\"\r\r7;8\r", ';',
                   "1:[date][close]\n2:[1,5][2;3]\n4:[7][8]\n"},
        ReaderCase{"Tabs", "a\tb\t\"c\td\"\n", '\t', "1:[a][b][c\td]\n"}),
    [](const testing::TestParamInfo<ReaderCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tavimo
