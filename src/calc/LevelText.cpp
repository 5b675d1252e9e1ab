#include "calc/LevelText.h"

#include "runtime/Json.h"
#include "runtime/CsvWriter.h"

namespace tavimo {

std::string RoundTripNumber(double value) {
  std::string text;
  AppendJsonNumber(text, value);
  return text;
}

std::string FormatLevelRows(OutputFormat format, const std::vector<LevelRow>& rows) {
  std::string out;
  switch (format) {
    case OutputFormat::Text:
      for (const LevelRow& row : rows) out += row.ratio + "\t" + row.mark + "\n";
      break;
    case OutputFormat::Csv:
      out = "ratio,level,mark\r\n";
      for (const LevelRow& row : rows)
        out += CsvField(row.ratio) + "," + RoundTripNumber(row.level) + "," + CsvField(row.mark) + "\r\n";
      break;
    case OutputFormat::Json:
      out = "[";
      for (std::size_t i = 0; i < rows.size(); ++i) {
        out += i == 0 ? "\n  " : ",\n  ";
        out += "{\"ratio\": " + JsonString(rows[i].ratio) + ", \"level\": " + RoundTripNumber(rows[i].level) +
               ", \"mark\": " + JsonString(rows[i].mark) + "}";
      }
      out += rows.empty() ? "]\n" : "\n]\n";
      break;
  }
  return out;
}

void AppendHtmlText(std::string& out, std::string_view text) {
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
}

std::string LevelRowsHtmlTable(const std::vector<LevelRow>& rows) {
  std::string out = "<html><head><meta charset=\"utf-8\"></head><body><table>\n";
  for (const LevelRow& row : rows) {
    out += "<tr><td>";
    AppendHtmlText(out, row.ratio);
    out += "</td><td>";
    AppendHtmlText(out, row.mark);
    out += "</td></tr>\n";
  }
  out += "</table></body></html>\n";
  return out;
}

}  // namespace tavimo
