#include "runtime/CsvWriter.h"

#include "runtime/AppendedText.h"

namespace tavimo {

void AppendCsvField(std::string& out, std::string_view field) {
  // One pass over the (short) field, not a search per character sought.
  bool needsQuotes = !field.empty() && (field.front() == ' ' || field.back() == ' ');
  for (const char c : field) needsQuotes |= c == ',' || c == '"' || c == '\r' || c == '\n';
  if (!needsQuotes) {
    out += field;
    return;
  }
  out += '"';
  for (char c : field) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

std::string CsvField(std::string_view field) { return AppendedText(AppendCsvField, field); }

}  // namespace tavimo
