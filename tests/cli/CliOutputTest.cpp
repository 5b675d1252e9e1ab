// Both JSON outputs of tavimo-cli, the levels and the chart layout, stay
// valid UTF-8 whatever bytes the ratio texts hold.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>

#include "calc/LevelText.h"
#include "chart/LayoutReport.h"
#include "chart/LayoutReportJson.h"
#include "chart/MainChart.h"
#include "chart/RecordingCanvas.h"

namespace tavimo::cli {
namespace {

// Strict UTF-8, decoded here on its own terms: shortest forms only, no
// surrogates, nothing above U+10FFFF. Counts the U+FFFD characters.
bool IsValidUtf8(std::string_view text, int& replacements) {
  replacements = 0;
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const int length = lead < 0x80 ? 1 : lead < 0xC0 ? 0 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF8 ? 4 : 0;
    if (length == 0 || i + length > text.size()) return false;
    char32_t code = length == 1 ? lead : lead & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    const char32_t shortest = length == 1 ? 0 : length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
    if (code < shortest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    if (code == 0xFFFD) ++replacements;
    i += length;
  }
  return true;
}

// Ratio texts read from a file another program wrote can hold any bytes;
// both JSON outputs must stay valid UTF-8, one U+FFFD per bad byte.
TEST(JsonOutput, IsValidUtf8WithOneReplacementPerBadByte) {
  const std::string r = "\xEF\xBF\xBD";
  const struct {
    std::string ratio;
    std::string written;
    int badBytes;
  } rows[] = {
      {"\xFF", r, 1},
      {"\xED\xA0\x80", r + r + r, 3},
      {"\xE4\xB8", r + r, 2},
      {"0.5\xC0\xAF", "0.5" + r + r, 2},
      {"\xF4\x90\x80\x80", r + r + r + r, 4},
      {"\xE4\xB8\xAD", "\xE4\xB8\xAD", 0},
  };
  RatioList ratios;
  int badBytes = 0;
  for (const auto& row : rows) {
    ratios.push_back(row.ratio);
    badBytes += row.badBytes;
  }

  const std::string levels =
      FormatLevelRows(OutputFormat::Json, MakeLevelRows(ratios, LevelTable(ratios.size(), 1.5)));
  auto chart = chart::BuildMainChart(std::make_unique<chart::RecordingCanvas>());
  chart->SetClientSize(597, 504);
  chart::AppendRatioBars(chart::MainSeries(*chart), ratios);
  chart->PaintChart();
  const std::string layout = chart::LayoutReportToJson(chart::DescribeLayout(*chart));

  int replacements = 0;
  ASSERT_TRUE(IsValidUtf8(levels, replacements)) << levels;
  EXPECT_EQ(replacements, badBytes);
  ASSERT_TRUE(IsValidUtf8(layout, replacements)) << layout;
  EXPECT_EQ(replacements, 2 * badBytes);  // each ratio is a bar label and an axis label
  for (const auto& row : rows) {
    EXPECT_NE(levels.find("\"ratio\": \"" + row.written + "\""), std::string::npos) << row.written;
    EXPECT_NE(layout.find("\"label\":\"" + row.written + "\""), std::string::npos) << row.written;
  }
}

}  // namespace
}  // namespace tavimo::cli
