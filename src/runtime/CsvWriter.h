#pragma once
// Fields as an RFC 4180 writer must put them, for every CSV form the program
// writes (levels, confluence zones, batch rows).

#include <string>
#include <string_view>

namespace tavimo {

// Appends a field: quoted, quotes doubled, when it holds a comma, a quote, a
// CR or LF, or a blank at either end (a reader may trim those).
void AppendCsvField(std::string& out, std::string_view field);

// The same field as a string of its own.
std::string CsvField(std::string_view field);

}  // namespace tavimo
