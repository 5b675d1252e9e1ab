#pragma once
// The levels of one run as text, csv or json, one row per ratio list entry.

#include <string>
#include <string_view>
#include <vector>

#include "calc/LevelTable.h"
#include "calc/RatioList.h"
#include "chart/Series.h"
#include "cli/CliArguments.h"
#include "runtime/NumberFormatSettings.h"

namespace tavimo::cli {

// The pattern of the chart's value marks.
inline constexpr std::string_view kMarkPattern = chart::kDefaultValueFormat;

struct LevelRow {
  std::string ratio;  // the entry's text
  double level = 0.0;
  std::string mark;  // the level as the chart's value mark shows it
};

// One row per entry; `levels` is as long as `ratios`.
std::vector<LevelRow> MakeLevelRows(const RatioList& ratios, const LevelTable& levels,
                                    const NumberFormatSettings& settings = GlobalNumberFormatSettings());

// text: ratio TAB mark per line. csv: a header line, then ratio,level,mark
// per record (RFC 4180). json: an array of {"ratio","level","mark"} objects.
std::string FormatLevelRows(OutputFormat format, const std::vector<LevelRow>& rows);

// The shortest decimal text that reads back to the same double (levels are
// always finite), as csv and json write it.
std::string RoundTripNumber(double value);
// The field as RFC 4180 wants it: quoted, quotes doubled, when it holds a
// comma, a quote, a line break or blanks at either end.
std::string CsvField(std::string_view field);

}  // namespace tavimo::cli
