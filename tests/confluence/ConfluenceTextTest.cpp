// The confluence zones' text, csv and json: what tavimo-cli prints and the
// window copies, with and without a price tick.

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "confluence/ConfluenceText.h"

namespace tavimo {
namespace {

class ConfluenceTextTest : public testing::Test {
 protected:
  // Wave 1 10-20, wave 2 12-18: support and resistance at 0.5 meet at 15
  // (four levels, two waves); the 0.618 levels stay single.
  std::vector<ConfluenceZoneRow> Rows(const PriceTick* tick = nullptr) const {
    const std::vector<ConfluenceWave> waves = {{10, 20, {}}, {12, 18, {}}};
    const ConfluenceOptions options{{ComputeMode::Support, ComputeMode::Resistance}, LevelScale::Linear, 0.5L, {}};
    return MakeConfluenceRows(FindConfluenceZones(waves, ratios, options), ratios, tick);
  }
  const RatioList ratios = {"0.5", "0.618"};
};

TEST_F(ConfluenceTextTest, TextListsZonesAndIndentedMembers) {
  EXPECT_EQ(FormatConfluenceRows(OutputFormat::Text, 0.5L, Rows()),
            "15\u201315\t2\t4\n"
            "\t1\tsupport\t0.5\t15\n"
            "\t1\tresistance\t0.5\t15\n"
            "\t2\tsupport\t0.5\t15\n"
            "\t2\tresistance\t0.5\t15\n");
}

TEST_F(ConfluenceTextTest, CsvRepeatsTheZoneOnEveryMemberWithTickTexts) {
  const PriceTick tick("0.05");
  const std::string csv = FormatConfluenceRows(OutputFormat::Csv, 0.5L, Rows(&tick));
  EXPECT_EQ(csv,
            "zone,low,high,waves,levels,wave,mode,ratio,level,text\r\n"
            "1,15,15,2,4,1,support,0.5,15,15.00\r\n"
            "1,15,15,2,4,1,resistance,0.5,15,15.00\r\n"
            "1,15,15,2,4,2,support,0.5,15,15.00\r\n"
            "1,15,15,2,4,2,resistance,0.5,15,15.00\r\n");
}

TEST_F(ConfluenceTextTest, JsonCarriesToleranceZonesAndMembers) {
  const std::string json = FormatConfluenceRows(OutputFormat::Json, 0.25L, Rows());
  EXPECT_EQ(json.rfind("{\"tolerance\": 0.25, \"zones\": [\n  {\"low\": 15, \"high\": 15, \"low_text\": \"15\", "
                       "\"high_text\": \"15\", \"waves\": 2, \"levels\": 4, \"members\": [\n    {\"wave\": 1, "
                       "\"mode\": \"support\", \"ratio\": \"0.5\", \"level\": 15, \"text\": \"15\"},",
                       0),
            0u)
      << json;
  EXPECT_TRUE(std::string_view(json).ends_with("\"text\": \"15\"}\n  ]}\n]}\n")) << json;
  EXPECT_EQ(FormatConfluenceRows(OutputFormat::Json, 0.5L, {}), "{\"tolerance\": 0.5, \"zones\": []}\n");
}

TEST_F(ConfluenceTextTest, HtmlTableHeadsTheMarkTextColumnAsText) {
  const PriceTick tick("0.05");
  const std::string html = ConfluenceRowsHtmlTable(Rows(&tick));
  EXPECT_NE(html.find("<th>ratio</th><th>text</th></tr>\n<tr><td>1</td><td>15.00</td>"), std::string::npos) << html;
  EXPECT_NE(html.find("<td>0.5</td><td>15.00</td></tr>"), std::string::npos) << html;
}

}  // namespace
}  // namespace tavimo
