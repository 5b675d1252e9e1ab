// The level rows as tavimo-cli prints them and the window copies them:
// csv quoting, the marks, the three text formats and the HTML table.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calc/LevelText.h"

namespace tavimo {
namespace {

const std::vector<LevelRow> kRows = {{"0.191", 11.91, "11.91"}, {"1/3", 40.0 / 3.0, "13.333"},
                                     {"1000", 1000.5, "1,000.5"}};

TEST(FormatLevelRows, TextIsRatioTabMark) {
  EXPECT_EQ(FormatLevelRows(OutputFormat::Text, kRows), "0.191\t11.91\n1/3\t13.333\n1000\t1,000.5\n");
  EXPECT_EQ(FormatLevelRows(OutputFormat::Text, {}), "");
}

TEST(FormatLevelRows, CsvHasHeaderAndCrlfRecords) {
  EXPECT_EQ(FormatLevelRows(OutputFormat::Csv, kRows),
            "ratio,level,mark\r\n"
            "0.191,11.91,11.91\r\n"
            "1/3,13.333333333333334,13.333\r\n"
            "1000,1000.5,\"1,000.5\"\r\n");
  EXPECT_EQ(FormatLevelRows(OutputFormat::Csv, {}), "ratio,level,mark\r\n");
}

TEST(FormatLevelRows, JsonIsAnArrayOfObjects) {
  EXPECT_EQ(FormatLevelRows(OutputFormat::Json, kRows),
            "[\n"
            "  {\"ratio\": \"0.191\", \"level\": 11.91, \"mark\": \"11.91\"},\n"
            "  {\"ratio\": \"1/3\", \"level\": 13.333333333333334, \"mark\": \"13.333\"},\n"
            "  {\"ratio\": \"1000\", \"level\": 1000.5, \"mark\": \"1,000.5\"}\n"
            "]\n");
  EXPECT_EQ(FormatLevelRows(OutputFormat::Json, {}), "[]\n");
}

TEST(LevelRowsHtmlTable, OneRowPerLevelWithEscapedCells) {
  const std::string html = LevelRowsHtmlTable({{"1/3", 13.0, "13.333"}, {"<a&\"b>", 1.0, "1,000.5"}});
  EXPECT_NE(html.find("<meta charset=\"utf-8\">"), std::string::npos);
  EXPECT_NE(html.find("<table>\n<tr><td>1/3</td><td>13.333</td></tr>\n"
                      "<tr><td>&lt;a&amp;&quot;b&gt;</td><td>1,000.5</td></tr>\n</table>"),
            std::string::npos)
      << html;
  EXPECT_NE(LevelRowsHtmlTable({}).find("<table>\n</table>"), std::string::npos);
}

}  // namespace
}  // namespace tavimo
