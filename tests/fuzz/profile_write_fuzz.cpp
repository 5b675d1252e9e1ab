// A value written as key "num" of section "tvmo" into an existing file of
// arbitrary bytes. Input: one byte of flags (bit 0: the names in another
// case), one byte giving the value's length, the value, then the file.
// Checked: a value holding a line break or a NUL is refused and the file
// stays as it was; any other is written and reads back as the profile rules
// make it (blanks around it and one pair of quotes dropped, cut to 2047
// bytes); every other line of the file is kept byte for byte; writing the
// same value again changes nothing; no temporary file is left behind.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "ScratchFiles.h"
#include "platform/ProfileFile.h"

namespace {

struct Line {
  std::string_view text;  // without its line end
  std::string_view end;   // "\n", "\r\n" or "" for a last line without one
  friend bool operator==(const Line&, const Line&) = default;
};

std::vector<Line> SplitLines(std::string_view content) {
  std::vector<Line> lines;
  while (!content.empty()) {
    const std::size_t newline = content.find('\n');
    if (newline == std::string_view::npos) {
      lines.push_back({content, {}});
      break;
    }
    const std::size_t textEnd = newline > 0 && content[newline - 1] == '\r' ? newline - 1 : newline;
    lines.push_back({content.substr(0, textEnd), content.substr(textEnd, newline + 1 - textEnd)});
    content.remove_prefix(newline + 1);
  }
  return lines;
}

bool IsValueBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

// The value a reader gets back for a written one.
std::string AsRead(std::string_view value) {
  while (!value.empty() && IsValueBlank(value.front())) value.remove_prefix(1);
  while (!value.empty() && IsValueBlank(value.back())) value.remove_suffix(1);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  return std::string(value.substr(0, 2047));
}

// Old and new files agree but for one changed region: at most one old line
// (the key's line, or a last line that gained its line end) against at most
// three new lines (the key's line, or a line end, a section header and the
// entry). A replaced key line keeps everything up to its "=".
void CheckOtherLinesKept(std::string_view before, std::string_view after, const std::string& note) {
  const std::vector<Line> oldLines = SplitLines(before);
  const std::vector<Line> newLines = SplitLines(after);
  std::size_t prefix = 0;
  while (prefix < oldLines.size() && prefix < newLines.size() && oldLines[prefix] == newLines[prefix]) ++prefix;
  std::size_t suffix = 0;
  while (suffix < oldLines.size() - prefix && suffix < newLines.size() - prefix &&
         oldLines[oldLines.size() - 1 - suffix] == newLines[newLines.size() - 1 - suffix])
    ++suffix;
  const std::size_t oldChanged = oldLines.size() - prefix - suffix;
  const std::size_t newChanged = newLines.size() - prefix - suffix;
  // Nothing changed at all: the key already held this very text.
  if (oldChanged == 0 && newChanged == 0) return;
  TAVIMO_FUZZ_CHECK(oldChanged <= 1 && newChanged <= 3 && newChanged >= 1, note + " | new file " + std::string(after));
  if (oldChanged == 1) {
    const Line& oldLine = oldLines[prefix];
    const Line& newLine = newLines[prefix];
    // Its bytes stay; a CR it ended with becomes part of the new CR LF.
    const bool gainedEnd = suffix == 0 && oldLine.end.empty() && !newLine.end.empty() &&
                           (std::string(newLine.text) + std::string(newLine.end)).starts_with(oldLine.text);
    const std::size_t equals = oldLine.text.find('=');
    // Compared as bytes: a kept CR after "=" joins an LF to a CR LF.
    const std::string newBytes = std::string(newLine.text) + std::string(newLine.end);
    const bool keyLine = equals != std::string_view::npos && newChanged == 1 &&
                         newBytes.starts_with(oldLine.text.substr(0, equals + 1)) && newBytes.ends_with(oldLine.end);
    TAVIMO_FUZZ_CHECK(gainedEnd || keyLine, note + " | new file " + std::string(after));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const tavimo::fuzz::ScratchDirectory directory;
  static const std::string path = directory.File("data.ini");
  tavimo::fuzz::ByteReader input(data, size);
  const std::uint8_t flags = input.Byte();
  const std::string_view value = input.Bytes(input.Byte());
  const std::string_view before = input.Rest();
  const std::string_view section = flags & 1 ? "TVMO" : "tvmo";
  const std::string_view key = flags & 1 ? "Num" : "num";
  const std::string note = "value " + std::string(value) + " | file " + std::string(before);

  if (!tavimo::fuzz::WriteBytes(path, before)) tavimo::fuzz::Fail("scratch file written", path);
  const bool written = tavimo::platform::WriteProfileString(path, section, key, value);
  const std::string after = tavimo::fuzz::ReadBytes(path);
  TAVIMO_FUZZ_CHECK(directory.Entries() == std::vector<std::string>{"data.ini"}, note);
  if (value.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos) {
    TAVIMO_FUZZ_CHECK(!written && after == before, note);
    return 0;
  }
  TAVIMO_FUZZ_CHECK(written, note);
  TAVIMO_FUZZ_CHECK(tavimo::platform::ReadProfileString(path, "tvmo", "num", "\x01none") == AsRead(value),
                    note + " | new file " + after);
  CheckOtherLinesKept(before, after, note);

  TAVIMO_FUZZ_CHECK(tavimo::platform::WriteProfileString(path, section, key, value), note);
  TAVIMO_FUZZ_CHECK(tavimo::fuzz::ReadBytes(path) == after, note);
  return 0;
}
