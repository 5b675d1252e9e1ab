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
    case OutputFormat::Json: {
      JsonWriter json(JsonSpacing::Spaced);
      json.BeginArrayOfLines();
      for (const LevelRow& row : rows)
        json.BeginObject().Key("ratio").String(row.ratio).Key("level").Number(row.level).Key("mark").String(row.mark).EndObject();
      out = json.EndArray().Text() + "\n";
      break;
    }
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
