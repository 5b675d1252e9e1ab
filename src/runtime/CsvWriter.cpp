#include "runtime/CsvWriter.h"

#include "runtime/AppendedText.h"

namespace tavimo {

void AppendCsvField(std::string& out, std::string_view field) {
  const bool needsQuotes = field.find_first_of(",\"\r\n") != std::string_view::npos ||
                           (!field.empty() && (field.front() == ' ' || field.back() == ' '));
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
