// JSON strings and numbers: escaping, replacement of bytes that are not
// UTF-8, and numbers that read back to the same double.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "runtime/Json.h"

namespace tavimo {
namespace {

TEST(JsonString, EscapesAndReplacesBytesThatAreNotUtf8) {
  const struct {
    std::string in;
    std::string out;
  } rows[] = {
      {"0.618", "\"0.618\""},
      {"", "\"\""},
      {"a\"b", "\"a\\\"b\""},
      {"a\\b", "\"a\\\\b\""},
      {"1/3", "\"1/3\""},
      {"\n\r\t", "\"\\n\\r\\t\""},
      {"\x01\x1f\x7f", "\"\\u0001\\u001f\\u007f\""},
      {std::string("a\0b", 3), "\"a\\u0000b\""},
      {"中文", "\"中文\""},
      {"1\xE2\x80\xAF" "234", "\"1\xE2\x80\xAF" "234\""},
      {"\xE4", "\"\xEF\xBF\xBD\""},
      {"\xE4\xB8", "\"\xEF\xBF\xBD\xEF\xBF\xBD\""},
      {"\xC0\xAF", "\"\xEF\xBF\xBD\xEF\xBF\xBD\""},
      {"\xED\xA0\x80", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},
  };
  for (const auto& row : rows) EXPECT_EQ(JsonString(row.in), row.out) << row.in;
}

std::string Number(double value) {
  std::string out;
  AppendJsonNumber(out, value);
  return out;
}

TEST(JsonNumber, IsTheShortestTextAndNullWhenNotFinite) {
  EXPECT_EQ(Number(30.0), "30");
  EXPECT_EQ(Number(11.91), "11.91");
  EXPECT_EQ(Number(0.1), "0.1");
  EXPECT_EQ(Number(40.0 / 3.0), "13.333333333333334");
  EXPECT_EQ(Number(-0.25), "-0.25");
  EXPECT_EQ(Number(0.0), "0");
  EXPECT_EQ(Number(std::numeric_limits<double>::infinity()), "null");
  EXPECT_EQ(Number(-std::numeric_limits<double>::infinity()), "null");
  EXPECT_EQ(Number(std::numeric_limits<double>::quiet_NaN()), "null");
}

TEST(JsonNumber, ReadsBackToTheSameDouble) {
  std::mt19937_64 random(20240611);
  for (int i = 0; i < 20000; ++i) {
    const std::uint64_t bits = random();
    double value;
    std::memcpy(&value, &bits, sizeof value);
    if (!std::isfinite(value)) continue;
    const std::string text = Number(value);
    EXPECT_EQ(std::strtod(text.c_str(), nullptr), value) << text;
  }
  for (double value : {5e-324, 2.2250738585072014e-308, 1.7976931348623157e308, 1e21, 123456789012345680.0})
    EXPECT_EQ(std::strtod(Number(value).c_str(), nullptr), value);
}

TEST(JsonWriter, PutsSeparatorsBetweenValuesAtEveryDepth) {
  JsonWriter w;
  w.BeginObject();
  w.Key("a").BeginArray().Int(1).BeginArray().EndArray().BeginObject().EndObject().Null().EndArray();
  w.Key("b").BeginObject().Key("c").Bool(false).Key("d").String("x").EndObject();
  w.Key("e").Number(0.5);
  w.EndObject();
  EXPECT_EQ(w.Text(), R"({"a":[1,[],{},null],"b":{"c":false,"d":"x"},"e":0.5})");
}

TEST(JsonWriter, SpacedArraysOfLinesIndentByTheirDepth) {
  JsonWriter w(JsonSpacing::Spaced);
  w.BeginObject().Key("t").Int(1).Key("z").BeginArrayOfLines();
  w.BeginObject().Key("m").BeginArrayOfLines().BeginArray().Int(1).Int(2).EndArray().Null().EndArray().EndObject();
  w.BeginObject().Key("m").BeginArrayOfLines().EndArray().EndObject();
  w.EndArray().Key("e").BeginArrayOfLines().EndArray().EndObject();
  EXPECT_EQ(w.Text(), "{\"t\": 1, \"z\": [\n  {\"m\": [\n    [1, 2],\n    null\n  ]},\n  {\"m\": []}\n], \"e\": []}");
}

TEST(JsonWriter, WritesFieldsByTheirType) {
  JsonWriter w;
  const std::string text = "t";
  w.Object("flag", true, "count", -3, "wide", 1LL << 40, "ratio", 0.5, "whole", 2.0, "text", text, "literal", "x",
           "empty", std::string_view());
  EXPECT_EQ(w.Text(), R"({"flag":true,"count":-3,"wide":1099511627776,"ratio":0.5,"whole":2,"text":"t",)"
                      R"("literal":"x","empty":""})");
}

}  // namespace
}  // namespace tavimo
