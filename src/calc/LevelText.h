#pragma once
// The levels of one computation as text, one row per ratio list entry: the
// lines tavimo-cli prints (text, csv, json) and the window copies, and the
// HTML table the window copies beside them.

#include <string>
#include <string_view>
#include <vector>

#include "calc/LevelTable.h"
#include "calc/PriceTick.h"
#include "calc/RatioList.h"
#include "runtime/NumberFormatSettings.h"

namespace tavimo {

// The pattern of the chart's value marks; the chart's default value format,
// which the window and tavimo-cli both check against it.
inline constexpr std::string_view kLevelMarkPattern = "#,##0.###";

enum class OutputFormat { Text, Csv, Json };

struct LevelRow {
  std::string ratio;  // the entry's text
  double level = 0.0;
  std::string mark;  // the level as the chart's value mark shows it
};

// One row per entry, for the entries that have a level.
std::vector<LevelRow> MakeLevelRows(const RatioList& ratios, const LevelTable& levels,
                                    const NumberFormatSettings& settings = GlobalNumberFormatSettings());

// The same with every level rounded to the tick: the row holds the rounded
// level and the tick's text of it. Raises PriceTick::Round's errors.
std::vector<LevelRow> MakeTickedLevelRows(const RatioList& ratios, const LevelTable& levels, const PriceTick& tick,
                                          TickRounding rounding,
                                          const NumberFormatSettings& settings = GlobalNumberFormatSettings());

// text: ratio TAB mark per line. csv: a header line, then ratio,level,mark
// per record (RFC 4180). json: an array of {"ratio","level","mark"} objects.
std::string FormatLevelRows(OutputFormat format, const std::vector<LevelRow>& rows);

// A UTF-8 HTML document holding one table, a row per level with the cells
// ratio and mark, so a spreadsheet pastes the text lines' cells.
std::string LevelRowsHtmlTable(const std::vector<LevelRow>& rows);

// Text as HTML character data (& < > " escaped); the bytes are passed on as
// they are, since the window hands its tables over as UTF-8.
void AppendHtmlText(std::string& out, std::string_view text);

// The shortest decimal text that reads back to the same double (levels are
// always finite), as csv and json write it.
std::string RoundTripNumber(double value);
}  // namespace tavimo
