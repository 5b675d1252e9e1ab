#pragma once
// The levels of one computation as text, one row per ratio list entry: the
// lines tavimo-cli prints (text, csv, json) and the window copies, and the
// HTML table the window copies beside them.

#include <string>
#include <string_view>
#include <vector>

#include "calc/LevelView.h"
#include "runtime/EnumNames.h"

namespace tavimo {

enum class OutputFormat { Text, Csv, Json };

inline constexpr std::array<NamedValue<OutputFormat>, 3> kOutputFormatNames = {
    {{OutputFormat::Text, "text"}, {OutputFormat::Csv, "csv"}, {OutputFormat::Json, "json"}}};

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
