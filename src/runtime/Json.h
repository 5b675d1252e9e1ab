#pragma once
// JSON strings and numbers for every JSON output. The output is valid UTF-8
// whatever bytes come in: each byte that is not part of a well-formed UTF-8
// character (as runtime/Utf8.h steps them) is written as U+FFFD.

#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace tavimo {

// A string literal: '"' and '\' escaped, \n \r \t as such, the other control
// characters (below 0x20, and 0x7F) as \u00XX with lower-case hex.
void AppendJsonString(std::string& out, std::string_view text);
std::string JsonString(std::string_view text);

// The shortest decimal text that reads back to the same double; null for an
// infinity or a NaN, which JSON cannot hold.
void AppendJsonNumber(std::string& out, double value);

// How a writer separates: "," and ":" (compact), or ", " and ": " as the
// outputs a user reads in a terminal have it.
enum class JsonSpacing { Compact, Spaced };

// JSON built value by value: the writer puts the commas and colons, so a
// caller lists keys and values in the order they appear.
class JsonWriter {
 public:
  explicit JsonWriter(JsonSpacing spacing = JsonSpacing::Compact) : spaced_(spacing == JsonSpacing::Spaced) {}
  JsonWriter& BeginObject() { return Open('{', false); }
  JsonWriter& EndObject() { return Close('}'); }
  JsonWriter& BeginArray() { return Open('[', false); }
  // An array with each element on a line of its own, indented two spaces
  // for each such array it is in; its "]" on a line of its own when it has
  // elements.
  JsonWriter& BeginArrayOfLines() { return Open('[', true); }
  JsonWriter& EndArray() { return Close(']'); }
  // The key of the next value inside an object.
  JsonWriter& Key(std::string_view key);
  JsonWriter& String(std::string_view text);
  JsonWriter& Number(double value);
  JsonWriter& Int(long long value);
  JsonWriter& Bool(bool value);
  JsonWriter& Null();
  // A number already written as JSON number text ("12.5"), as it stands.
  JsonWriter& NumberText(std::string_view text);
  // A value by its C++ type: a bool as true or false, another integer as
  // Int, a floating-point value as Number, text as String.
  template <class T>
  JsonWriter& Value(const T& value) {
    if constexpr (std::is_same_v<T, bool>) return Bool(value);
    else if constexpr (std::is_integral_v<T>) {
      static_assert(sizeof(T) < sizeof(long long) || std::is_signed_v<T>, "Int takes a long long");
      return Int(value);
    } else if constexpr (std::is_floating_point_v<T>) return Number(value);
    else return String(value);
  }
  // Keys and values in turn inside the current object: key, value, key, value...
  JsonWriter& Fields() { return *this; }
  template <class T, class... Rest>
  JsonWriter& Fields(std::string_view key, const T& value, const Rest&... rest) {
    Key(key).Value(value);
    return Fields(rest...);
  }
  // A whole object of such fields.
  template <class... KeysAndValues>
  JsonWriter& Object(const KeysAndValues&... fields) {
    return BeginObject().Fields(fields...).EndObject();
  }
  const std::string& Text() const { return out_; }

 private:
  JsonWriter& Open(char bracket, bool lines);
  JsonWriter& Close(char bracket);
  // The comma before a value that is not the first of its object or array,
  // and the line break before an element of an array of lines.
  void BeforeValue();
  void NewLine(std::size_t depth);

  struct Open_ {
    bool hasValue = false;
    bool lines = false;
  };
  std::string out_;
  std::vector<Open_> open_;  // per open object or array
  std::size_t lineDepth_ = 0;  // open arrays of lines
  bool afterKey_ = false;
  bool spaced_ = false;
};

}  // namespace tavimo
