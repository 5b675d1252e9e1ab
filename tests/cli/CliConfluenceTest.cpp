// tavimo-cli confluence in-process: the zones as valid JSON in their order,
// the csv header, and the failures with their statuses.

#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CliRun.h"

namespace tavimo::cli {
namespace {

// Just enough strict JSON to read the output back: objects, arrays, strings
// (simple escapes), numbers, true, false and null. A failed read leaves ok false.
struct Json {
  enum class Kind { Null, Bool, Number, String, Array, Object } kind = Kind::Null;
  double number = 0;
  std::string text;
  std::vector<Json> items;
  std::map<std::string, Json> fields;
  const Json& operator[](const std::string& key) const { return fields.at(key); }
};

class JsonReader {
 public:
  explicit JsonReader(std::string_view text) : text_(text) {}
  bool ReadDocument(Json& value) {
    if (!ReadValue(value)) return false;
    SkipBlanks();
    return at_ == text_.size();
  }

 private:
  void SkipBlanks() {
    while (at_ < text_.size() && std::string_view(" \t\r\n").find(text_[at_]) != std::string_view::npos) ++at_;
  }
  bool Take(char c) {
    SkipBlanks();
    if (at_ >= text_.size() || text_[at_] != c) return false;
    ++at_;
    return true;
  }
  bool ReadString(std::string& out) {
    if (!Take('"')) return false;
    while (at_ < text_.size() && text_[at_] != '"') {
      const char c = text_[at_++];
      if (static_cast<unsigned char>(c) < 0x20) return false;
      if (c != '\\') {
        out += c;
        continue;
      }
      if (at_ >= text_.size() || std::string_view("\"\\/bfnrt").find(text_[at_]) == std::string_view::npos)
        return false;  // no \u escapes are expected in this output
      out += text_[at_++];
    }
    return Take('"');
  }
  bool ReadValue(Json& value) {
    SkipBlanks();
    if (at_ >= text_.size()) return false;
    const char c = text_[at_];
    if (c == '{') {
      value.kind = Json::Kind::Object;
      ++at_;
      if (Take('}')) return true;
      do {
        std::string key;
        Json item;
        if (!ReadString(key) || !Take(':') || !ReadValue(item) || value.fields.count(key) != 0) return false;
        value.fields.emplace(std::move(key), std::move(item));
      } while (Take(','));
      return Take('}');
    }
    if (c == '[') {
      value.kind = Json::Kind::Array;
      ++at_;
      if (Take(']')) return true;
      do {
        value.items.emplace_back();
        if (!ReadValue(value.items.back())) return false;
      } while (Take(','));
      return Take(']');
    }
    if (c == '"') {
      value.kind = Json::Kind::String;
      return ReadString(value.text);
    }
    for (std::string_view word : {"true", "false", "null"})
      if (text_.substr(at_, word.size()) == word) {
        value.kind = word == "null" ? Json::Kind::Null : Json::Kind::Bool;
        at_ += word.size();
        return true;
      }
    // -?(0|[1-9][0-9]*)(.[0-9]+)?([eE][+-]?[0-9]+)?
    const std::size_t start = at_;
    const auto digits = [this] {
      const std::size_t from = at_;
      while (at_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[at_]))) ++at_;
      return at_ > from;
    };
    if (text_[at_] == '-') ++at_;
    if (at_ < text_.size() && text_[at_] == '0') ++at_;
    else if (!digits()) return false;
    if (at_ < text_.size() && text_[at_] == '.' && (++at_, !digits())) return false;
    if (at_ < text_.size() && (text_[at_] == 'e' || text_[at_] == 'E')) {
      ++at_;
      if (at_ < text_.size() && (text_[at_] == '+' || text_[at_] == '-')) ++at_;
      if (!digits()) return false;
    }
    value.kind = Json::Kind::Number;
    value.number = std::stod(std::string(text_.substr(start, at_ - start)));
    return true;
  }

  std::string_view text_;
  std::size_t at_ = 0;
};

TEST(CliConfluence, JsonIsValidWithZonesStrongestFirst) {
  const CliResult result = RunCli({"confluence", "--wave", "10:20", "--wave", "12:18", "--wave", "11:19:14",
                                   "--tolerance", "1", "--format", "json", "--tick", "", "--ratios",
                                   "0.236,0.382,0.5,0.618,0.786,1,1.272,1.618"});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  Json document;
  ASSERT_TRUE(JsonReader(result.out).ReadDocument(document)) << result.out;
  EXPECT_EQ(document["tolerance"].number, 1);
  const std::vector<Json>& zones = document["zones"].items;
  ASSERT_GE(zones.size(), 3u) << result.out;
  for (std::size_t z = 0; z < zones.size(); ++z) {
    const Json& zone = zones[z];
    const std::vector<Json>& members = zone["members"].items;
    ASSERT_FALSE(members.empty());
    std::set<double> waves;
    for (std::size_t m = 0; m < members.size(); ++m) {
      waves.insert(members[m]["wave"].number);
      if (m > 0) {
        EXPECT_LE(members[m - 1]["level"].number, members[m]["level"].number) << "zone " << z;
      }
      EXPECT_LE(members[m]["level"].number, members.front()["level"].number * 1.01) << "zone " << z;
    }
    EXPECT_EQ(zone["low"].number, members.front()["level"].number);
    EXPECT_EQ(zone["high"].number, members.back()["level"].number);
    EXPECT_EQ(zone["waves"].number, static_cast<double>(waves.size()));
    EXPECT_EQ(zone["levels"].number, static_cast<double>(members.size()));
    EXPECT_GE(waves.size(), 2u) << "the default minimum for several waves";
    if (z == 0) continue;
    const Json& before = zones[z - 1];
    const auto key = [](const Json& j) {
      return std::make_tuple(-j["waves"].number, -j["levels"].number, j["low"].number);
    };
    EXPECT_LT(key(before), key(zone)) << "zones " << z - 1 << " and " << z;
  }
}

TEST(CliConfluence, CsvHeaderTickTextsAndOneWave) {
  const CliResult csv = RunCli({"confluence", "--wave", "10:20", "--format", "csv", "--ratios", "0.5",
                                "--tick", "0.25", "--modes", "support"});
  ASSERT_EQ(csv.exitStatus, 0) << csv.err;
  // One wave needs only itself: its single level is a zone.
  EXPECT_EQ(csv.out,
            "zone,low,high,waves,levels,wave,mode,ratio,level,text\r\n"
            "1,15,15,1,1,1,support,0.5,15,15.00\r\n");
  // Without C a wave has no projection levels; two waves then need --min-waves 1 for lone levels.
  const CliResult text = RunCli({"confluence", "--wave", "10:20", "--wave", "30:40", "--ratios", "0.5",
                                 "--tick", "", "--modes", "projection-up,resistance", "--min-waves", "1"});
  EXPECT_EQ(text.out, "15–15\t1\t1\n\t1\tresistance\t0.5\t15\n35–35\t1\t1\n\t2\tresistance\t0.5\t35\n");
}

TEST(CliConfluence, FailuresNameTheWaveOrAreUsageErrors) {
  const struct {
    std::vector<std::string> arguments;
    int exitStatus;
    std::string errStart;
  } cases[] = {
      {{"--wave", "10:20", "--wave", "12:abc"}, 1, "wave 2: 'abc' is not a valid floating point value.\n"},
      {{"--wave", "10:20:", "--wave", "12:18"}, 1, "wave 1: '' is not a valid floating point value.\n"},
      {{"--wave", "0:20", "--scale-levels", "log"}, 1, "Log scale needs prices above zero.\n"},
      {{"--wave", "10:20", "--tick", "-1"}, 1, "Invalid tick '-1'.\n"},
      {{"--wave", "10:20", "--min-waves", "-2"}, 2, "tavimo-cli: invalid number of waves '-2'"},
      {{"--wave", "10:20", "--tolerance", "inf"}, 2, "tavimo-cli: invalid tolerance 'inf'"},
      {{"--tolerance", "1"}, 2, "tavimo-cli: no wave given"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> arguments = {"confluence"};
    arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
    const CliResult result = RunCli(arguments);
    EXPECT_EQ(result.exitStatus, c.exitStatus) << c.errStart;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err.rfind(c.errStart, 0), 0u) << result.err;
  }
}

}  // namespace
}  // namespace tavimo::cli
