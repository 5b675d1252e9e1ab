#pragma once
// JSON strings and numbers for every JSON output. The output is valid UTF-8
// whatever bytes come in: each byte that is not part of a well-formed UTF-8
// character (as runtime/Utf8.h steps them) is written as U+FFFD.

#include <string>
#include <string_view>

namespace tavimo {

// A string literal: '"' and '\' escaped, \n \r \t as such, the other control
// characters (below 0x20, and 0x7F) as \u00XX with lower-case hex.
void AppendJsonString(std::string& out, std::string_view text);
std::string JsonString(std::string_view text);

// The shortest decimal text that reads back to the same double; null for an
// infinity or a NaN, which JSON cannot hold.
void AppendJsonNumber(std::string& out, double value);

}  // namespace tavimo
