#include "cli/CliOutput.h"

#include <charconv>
#include <cstdio>

#include "runtime/NumberFormat.h"
#include "runtime/Utf8.h"

namespace tavimo::cli {

std::vector<LevelRow> MakeLevelRows(const RatioList& ratios, const LevelTable& levels,
                                    const NumberFormatSettings& settings) {
  std::vector<LevelRow> rows;
  rows.reserve(ratios.size());
  for (std::size_t i = 0; i < ratios.size() && i < levels.size(); ++i)
    rows.push_back({ratios[i], levels[i], FormatFloatPattern(kMarkPattern, levels[i], settings)});
  return rows;
}

std::string RoundTripNumber(double value) {
  char buffer[32];
  const std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

std::string CsvField(std::string_view field) {
  const bool needsQuotes = field.find_first_of(",\"\r\n") != std::string_view::npos ||
                           (!field.empty() && (field.front() == ' ' || field.back() == ' '));
  if (!needsQuotes) return std::string(field);
  std::string quoted = "\"";
  for (char c : field) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  quoted += '"';
  return quoted;
}

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const std::size_t length = CharacterLength(text, i);
    if (c >= 0x80) {
      out += length > 1 ? text.substr(i, length) : std::string_view("\xEF\xBF\xBD");
    } else if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c < 0x20 || c == 0x7F) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", c);
      out += escape;
    } else {
      out += static_cast<char>(c);
    }
    i += length;
  }
  out += '"';
  return out;
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

}  // namespace tavimo::cli
