#pragma once
// Confluence zones as the user takes them away: the text, csv and json that
// tavimo-cli prints and the window copies and exports, and the HTML table the
// window puts on the clipboard beside the text.

#include <cstddef>
#include <string>
#include <vector>

#include "confluence/Confluence.h"
#include "calc/LevelText.h"
#include "calc/PriceTick.h"
#include "calc/RatioList.h"
#include "runtime/NumberFormatSettings.h"

namespace tavimo {

struct ConfluenceMemberRow {
  std::size_t wave = 0;  // 1-based, as the user counts the waves
  std::string mode;      // the mode's command-line name
  std::string ratio;     // the ratio entry's text
  double level = 0.0;    // the level the sweep used, never tick-rounded
  std::string text;      // as a mark shows it: "#,##0.###", or the tick's text
};

struct ConfluenceZoneRow {
  double low = 0.0;  // the lowest and highest member level
  double high = 0.0;
  std::string lowText;  // as the marks show them
  std::string highText;
  std::size_t waves = 0;
  std::size_t levels = 0;
  std::vector<ConfluenceMemberRow> members;
};

// The zones with their texts. The zones are swept on the computed levels, so
// a tick changes only the texts. Raises PriceTick::Round's errors.
std::vector<ConfluenceZoneRow> MakeConfluenceRows(const std::vector<ConfluenceZone>& zones, const RatioList& ratios,
                                                  const PriceTick* tick = nullptr,
                                                  TickRounding rounding = TickRounding::Nearest,
                                                  const NumberFormatSettings& settings = GlobalNumberFormatSettings());

// text: per zone "low_text–high_text<TAB>waves<TAB>levels", then one line per
// member "<TAB>wave<TAB>mode<TAB>ratio<TAB>text".
// csv: the header "zone,low,high,waves,levels,wave,mode,ratio,level,text",
// then one record per member with its zone's fields repeated (CRLF ends).
// json: {"tolerance": P, "zones": [{"low", "high", "low_text", "high_text",
// "waves", "levels", "members": [{"wave", "mode", "ratio", "level", "text"}]}]}.
// Numbers are the shortest texts that read back to the same double.
std::string FormatConfluenceRows(OutputFormat format, long double tolerancePercent,
                                 const std::vector<ConfluenceZoneRow>& zones);

// A UTF-8 HTML document with one table: a header row and a row per member
// with its zone's cells repeated, so a spreadsheet pastes the csv's cells.
std::string ConfluenceRowsHtmlTable(const std::vector<ConfluenceZoneRow>& zones);

}  // namespace tavimo
