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
#include <vector>

namespace tavimo::param_text {

// The word a sign is spelled with in a name; nullptr for any other byte.
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

// The length of the well-formed UTF-8 character at the start of `text`, or 0.
inline std::size_t Utf8Length(std::string_view text) {
  const auto lead = static_cast<unsigned char>(text[0]);
  const std::size_t length = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 && lead < 0xE0 ? 2 : 0;
  if (length == 0 || text.size() < length) return 0;
  for (std::size_t i = 1; i < length; ++i)
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return 0;
  const auto second = static_cast<unsigned char>(text[1]);
  if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0) || (lead == 0xF0 && second < 0x90) ||
      (lead == 0xF4 && second >= 0x90))
    return 0;  // overlong forms, surrogates and code points past U+10FFFF
  return length;
}

// `text` as a name: letters, digits and '_' kept, signs spelled as words, a
// UTF-8 character as its code point ("U4E2D"), any other byte in hex ("x00");
// "Empty" for no text.
inline std::string Name(std::string_view text) {
  if (text.empty()) return "Empty";
  std::string name;
  char hex[16];
  for (std::size_t i = 0; i < text.size();) {
    const char c = text[i];
    const auto byte = static_cast<unsigned char>(c);
    std::size_t taken = 1;
    const bool alnum = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    if (alnum || c == '_') {
      name += c;
    } else if (const char* word = SignWord(c)) {
      name += word;
    } else if (byte >= 0x80 && (taken = Utf8Length(text.substr(i))) > 0) {
      unsigned codePoint = byte & (0x7F >> taken);
      for (std::size_t k = 1; k < taken; ++k)
        codePoint = codePoint << 6 | (static_cast<unsigned char>(text[i + k]) & 0x3F);
      std::snprintf(hex, sizeof hex, "U%04X", codePoint);
      name += hex;
    } else {
      taken = 1;
      std::snprintf(hex, sizeof hex, "x%02X", byte);
      name += hex;
    }
    i += taken;
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

// `text` in double quotes, on one line: quotes, backslashes, control bytes,
// the byte order mark and bytes that are no UTF-8 character escaped as in C;
// other characters kept.
inline std::string Quoted(std::string_view text) {
  std::string shown = "\"";
  for (std::size_t i = 0; i < text.size();) {
    const char c = text[i];
    const auto byte = static_cast<unsigned char>(c);
    std::size_t taken = 1;
    if (c == '"' || c == '\\') {
      shown += '\\';
      shown += c;
    } else if (c == '\n') {
      shown += "\\n";
    } else if (c == '\r') {
      shown += "\\r";
    } else if (c == '\t') {
      shown += "\\t";
    } else if (byte >= 0x20 && byte < 0x7F) {
      shown += c;
    } else if (byte >= 0x80 && (taken = Utf8Length(text.substr(i))) > 0 && text.substr(i, 3) != "\xEF\xBB\xBF") {
      shown += text.substr(i, taken);
    } else {
      taken = 1;
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%02X", byte);
      shown += escape;
    }
    i += taken;
  }
  return shown + "\"";
}

// Texts each quoted, in braces: {"rise", "--low", "10"}.
inline std::string QuotedList(const std::vector<std::string>& texts) {
  std::string shown = "{";
  for (const std::string& text : texts) shown += (shown.size() > 1 ? ", " : "") + Quoted(text);
  return shown + "}";
}

// Numbers in braces: {1, 3, 5}.
template <class Number_>
std::string NumberList(const std::vector<Number_>& numbers) {
  std::string shown = "{";
  for (const Number_ number : numbers) shown += (shown.size() > 1 ? ", " : "") + Number(number);
  return shown + "}";
}

// Numbers as a name, joined by '_': "60_Minus60"; "Empty" for none.
template <class Number_>
std::string NumberListName(const std::vector<Number_>& numbers) {
  std::string name;
  for (const Number_ number : numbers) name += (name.empty() ? "" : "_") + Name(number);
  return name.empty() ? "Empty" : name;
}

// A name generator for rows that are texts: the text spelled as a name.
struct TextName {
  std::string operator()(const ::testing::TestParamInfo<std::string>& info) const { return Name(info.param); }
};

// A name generator for rows that carry their own `name`.
struct NameField {
  template <class Row>
  std::string operator()(const ::testing::TestParamInfo<Row>& info) const {
    return std::string(info.param.name);
  }
};

}  // namespace tavimo::param_text
