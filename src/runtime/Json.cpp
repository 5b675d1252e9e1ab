#include "runtime/Json.h"

#include <charconv>
#include <cmath>

#include "runtime/AppendedText.h"
#include "runtime/Utf8.h"

namespace tavimo {

void AppendJsonString(std::string& out, std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  out += '"';
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
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
      out += "\\u00";
      out += kHex[c >> 4];
      out += kHex[c & 0xF];
    } else {
      out += static_cast<char>(c);
    }
    i += length;
  }
  out += '"';
}

std::string JsonString(std::string_view text) { return AppendedText(AppendJsonString, text); }

void AppendJsonNumber(std::string& out, double value) {
  if (!std::isfinite(value)) {
    out += "null";
    return;
  }
  char buffer[32];
  const std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, value);
  out.append(buffer, result.ptr);
}

void JsonWriter::NewLine(std::size_t depth) {
  out_ += '\n';
  out_.append(2 * depth, ' ');
}

void JsonWriter::BeforeValue() {
  if (afterKey_) {
    afterKey_ = false;
    return;
  }
  if (open_.empty()) return;
  Open_& container = open_.back();
  if (container.hasValue) out_ += spaced_ && !container.lines ? ", " : ",";
  if (container.lines) NewLine(lineDepth_);
  container.hasValue = true;
}

JsonWriter& JsonWriter::Open(char bracket, bool lines) {
  BeforeValue();
  out_ += bracket;
  open_.push_back({false, lines});
  if (lines) ++lineDepth_;
  return *this;
}

JsonWriter& JsonWriter::Close(char bracket) {
  if (!open_.empty()) {
    if (open_.back().lines) {
      --lineDepth_;
      if (open_.back().hasValue) NewLine(lineDepth_);
    }
    open_.pop_back();
  }
  out_ += bracket;
  return *this;
}

JsonWriter& JsonWriter::Key(std::string_view key) {
  BeforeValue();
  AppendJsonString(out_, key);
  out_ += spaced_ ? ": " : ":";
  afterKey_ = true;
  return *this;
}

JsonWriter& JsonWriter::String(std::string_view text) {
  BeforeValue();
  AppendJsonString(out_, text);
  return *this;
}

JsonWriter& JsonWriter::Number(double value) {
  BeforeValue();
  AppendJsonNumber(out_, value);
  return *this;
}

JsonWriter& JsonWriter::Int(long long value) {
  BeforeValue();
  out_ += std::to_string(value);
  return *this;
}

JsonWriter& JsonWriter::Bool(bool value) {
  BeforeValue();
  out_ += value ? "true" : "false";
  return *this;
}

JsonWriter& JsonWriter::NumberText(std::string_view text) {
  BeforeValue();
  out_ += text;
  return *this;
}

JsonWriter& JsonWriter::Null() {
  BeforeValue();
  out_ += "null";
  return *this;
}

}  // namespace tavimo
