#pragma once
// Names and printed values for the rows of parameterised tests. gtest takes
// only [A-Za-z0-9_] in a test's name, so a row's text is spelled with those
// characters; its printed value shows the text quoted and numbers in full.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <string_view>

namespace tavimo::param_text {

// The word a sign is spelled with in a name; nullptr for a byte shown as '_'.
inline const char* SignWord(char c) {
  switch (c) {
    case ' ': return "Space";
    case '\t': return "Tab";
    case '\n': return "Lf";
    case '\r': return "Cr";
    case '-': return "Minus";
    case '+': return "Plus";
    case '.': return "Dot";
    case ',': return "Comma";
    case ';': return "Semicolon";
    case ':': return "Colon";
    case '/': return "Slash";
    case '\\': return "Backslash";
    case '$': return "Dollar";
    case '#': return "Hash";
    case '%': return "Percent";
    case '^': return "Caret";
    case '\'': return "Apos";
    case '"': return "Quote";
    case '(': return "Open";
    case ')': return "Close";
    case '[': return "LBracket";
    case ']': return "RBracket";
    case '=': return "Eq";
    case '*': return "Star";
    case '?': return "Question";
    case '|': return "Bar";
    case '&': return "Amp";
    case '!': return "Bang";
    case '<': return "Lt";
    case '>': return "Gt";
    case '{': return "LBrace";
    case '}': return "RBrace";
    case '@': return "At";
    case '~': return "Tilde";
    default: return nullptr;
  }
}

// `text` as a name: letters, digits and '_' kept, signs spelled as words,
// any other byte (control, non-ASCII) as '_'; "Empty" for no text.
inline std::string Name(std::string_view text) {
  if (text.empty()) return "Empty";
  std::string name;
  for (char c : text) {
    const bool alnum = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    if (alnum || c == '_') {
      name += c;
    } else if (const char* word = SignWord(c)) {
      name += word;
    } else {
      name += '_';
    }
  }
  return name;
}

// The shortest text that reads back as `value`: as a double when the value is
// one (most rows are double literals), else with long double's digits.
// Values below a million are written without an exponent.
inline std::string Number(long double value) {
  char buffer[64];
  const bool isDouble = static_cast<long double>(static_cast<double>(value)) == value;
  int digits = 1;
  for (; digits < 21; ++digits) {
    std::snprintf(buffer, sizeof buffer, "%.*Lg", digits, value);
    const long double back = std::strtold(buffer, nullptr);
    if (isDouble ? static_cast<double>(back) == static_cast<double>(value) : back == value) break;
  }
  // %g writes an exponent when the value has more places before the point than digits.
  const long double magnitude = std::fabs(value);
  if (magnitude >= 1 && magnitude < 1e6L) digits = std::max(digits, static_cast<int>(std::log10(magnitude)) + 1);
  std::snprintf(buffer, sizeof buffer, "%.*Lg", digits, value);
  return buffer;  // NaN never reads back equal: it ends at 21 digits as "nan"
}

inline std::string Name(long double value) { return Name(Number(value)); }

// Name pieces joined by '_'.
inline std::string Join(std::initializer_list<std::string> parts) {
  std::string name;
  for (const std::string& part : parts) {
    if (!name.empty()) name += '_';
    name += part;
  }
  return name;
}

// `text` in double quotes, on one line: quotes, backslashes, control and
// non-ASCII bytes escaped as in C.
inline std::string Quoted(std::string_view text) {
  std::string shown = "\"";
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      shown += '\\';
      shown += c;
    } else if (c == '\n') {
      shown += "\\n";
    } else if (c == '\r') {
      shown += "\\r";
    } else if (c == '\t') {
      shown += "\\t";
    } else if (byte < 0x20 || byte >= 0x7f) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%02X", byte);
      shown += escape;
    } else {
      shown += c;
    }
  }
  return shown + "\"";
}

// A name generator for rows that are texts: the text spelled as a name.
struct TextName {
  std::string operator()(const ::testing::TestParamInfo<std::string>& info) const { return Name(info.param); }
};

}  // namespace tavimo::param_text
