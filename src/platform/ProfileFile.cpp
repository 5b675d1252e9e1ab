#include "platform/ProfileFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <optional>
#include <vector>

#include "platform/AtomicFile.h"

// Policies, stated once:
// - Lines end at LF; a CR before the LF belongs to the line end. Every line
//   keeps its own end when the file is rewritten.
// - A UTF-8 byte-order mark before the first line is skipped when parsing and
//   kept when writing.
// - Only the first section of a name and, in it, the first key of a name
//   count; later repeats are left alone.
// - A line starting with ';' is a comment; a line without '=' is not a key.
// - A value ends at a NUL byte, as the value of the C interface did.

namespace tavimo::platform {
namespace {

constexpr size_t kMaxValueBytes = 2047;
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

char FoldAsciiCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (FoldAsciiCase(a[i]) != FoldAsciiCase(b[i])) return false;
  return true;
}

std::string_view StripOneQuotePair(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

struct Line {
  std::string_view text;  // without the line end
  std::string_view end;   // "\n", "\r\n" or "" for a last line without one
};

std::vector<Line> SplitLines(std::string_view content) {
  std::vector<Line> lines;
  size_t position = 0;
  while (position < content.size()) {
    size_t newline = content.find('\n', position);
    if (newline == std::string_view::npos) {
      lines.push_back({content.substr(position), {}});
      break;
    }
    size_t textEnd = (newline > position && content[newline - 1] == '\r') ? newline - 1 : newline;
    lines.push_back({content.substr(position, textEnd - position), content.substr(textEnd, newline + 1 - textEnd)});
    position = newline + 1;
  }
  return lines;
}

enum class LineKind { kOther, kSection, kEntry };

struct ParsedLine {
  LineKind kind = LineKind::kOther;
  std::string_view name;  // section name or key, trimmed
  std::string_view value; // entry value, trimmed
  size_t valueStart = 0;  // where the value begins in the line's text
};

ParsedLine ParseLine(std::string_view text, bool isFirstLine) {
  ParsedLine parsed;
  size_t begin = 0;
  if (isFirstLine && text.starts_with(kUtf8Bom)) begin = kUtf8Bom.size();
  while (begin < text.size() && IsBlank(text[begin])) ++begin;
  if (begin == text.size() || text[begin] == ';') return parsed;
  if (text[begin] == '[') {
    size_t close = text.find(']', begin + 1);
    if (close == std::string_view::npos) return parsed;
    parsed.kind = LineKind::kSection;
    parsed.name = TrimBlanks(text.substr(begin + 1, close - begin - 1));
    return parsed;
  }
  size_t equals = text.find('=', begin);
  if (equals == std::string_view::npos) return parsed;
  std::string_view key = TrimBlanks(text.substr(begin, equals - begin));
  if (key.empty()) return parsed;
  size_t valueStart = equals + 1;
  while (valueStart < text.size() && IsBlank(text[valueStart])) ++valueStart;
  std::string_view value = text.substr(valueStart);
  value = value.substr(0, value.find('\0'));
  parsed.kind = LineKind::kEntry;
  parsed.name = key;
  parsed.value = TrimBlanks(value);
  parsed.valueStart = valueStart;
  return parsed;
}

// Where a key of a section stands in the file's lines.
struct Location {
  std::optional<size_t> sectionLine;
  size_t sectionEnd = 0;  // the line after the section's last line
  std::optional<size_t> keyLine;
  std::string_view value;
  size_t valueStart = 0;
};

Location FindKey(const std::vector<Line>& lines, std::string_view section, std::string_view key) {
  Location location;
  for (size_t i = 0; i < lines.size(); ++i) {
    ParsedLine parsed = ParseLine(lines[i].text, i == 0);
    if (parsed.kind == LineKind::kSection) {
      if (location.sectionLine) {
        location.sectionEnd = i;
        return location;
      }
      if (EqualsIgnoringCase(parsed.name, section)) location.sectionLine = i;
      continue;
    }
    if (location.sectionLine && !location.keyLine && parsed.kind == LineKind::kEntry &&
        EqualsIgnoringCase(parsed.name, key)) {
      location.keyLine = i;
      location.value = parsed.value;
      location.valueStart = parsed.valueStart;
    }
  }
  location.sectionEnd = lines.size();
  return location;
}

enum class ReadResult { kRead, kMissing, kFailed };

// Reads a regular file whole. Anything else (a directory, a device, a pipe)
// counts as a failure; O_NONBLOCK keeps a pipe from blocking the open.
ReadResult ReadWholeFile(const std::string& path, std::string& content, struct stat* status) {
  content.clear();
  int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? ReadResult::kMissing : ReadResult::kFailed;
  struct stat local {};
  if (status == nullptr) status = &local;
  if (fstat(fd, status) != 0 || !S_ISREG(status->st_mode)) {
    ::close(fd);
    return ReadResult::kFailed;
  }
  char buffer[65536];
  for (;;) {
    ssize_t count = ::read(fd, buffer, sizeof buffer);
    if (count == 0) break;
    if (count < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      return ReadResult::kFailed;
    }
    content.append(buffer, static_cast<size_t>(count));
  }
  ::close(fd);
  return ReadResult::kRead;
}

bool HasLineBreakOrNul(std::string_view text) { return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos; }

// Names that would not read back as themselves, and values that would break
// the line structure, are refused rather than written.
bool CanBeWritten(std::string_view section, std::string_view key, std::string_view value) {
  if (section.empty() || key.empty()) return false;
  if (TrimBlanks(section) != section || TrimBlanks(key) != key) return false;
  if (HasLineBreakOrNul(section) || HasLineBreakOrNul(key) || HasLineBreakOrNul(value)) return false;
  if (section.find(']') != std::string_view::npos) return false;
  if (key.find('=') != std::string_view::npos || key.front() == ';' || key.front() == '[') return false;
  return true;
}

std::string_view DominantLineEnd(const std::vector<Line>& lines) {
  size_t crlf = 0;
  size_t lf = 0;
  for (const Line& line : lines) {
    if (line.end == "\r\n") ++crlf;
    else if (line.end == "\n") ++lf;
  }
  return crlf > lf ? "\r\n" : "\n";
}

std::string WithValue(std::string_view content, std::string_view section, std::string_view key,
                      std::string_view value) {
  std::vector<Line> lines = SplitLines(content);
  std::string_view lineEnd = DominantLineEnd(lines);
  Location location = FindKey(lines, section, key);
  std::string entry = std::string(key) + "=" + std::string(value);

  std::optional<size_t> insertAfter;
  std::string replacement;
  if (location.keyLine) {
    const Line& line = lines[*location.keyLine];
    // The blanks after "=" stay, unless the value brings blanks of its own:
    // kept as well, they would grow with every save of the same value.
    size_t keep = location.valueStart;
    if (!value.empty() && IsBlank(value.front())) keep = line.text.find('=') + 1;
    replacement = std::string(line.text.substr(0, keep)) + std::string(value);
  } else if (location.sectionLine) {
    // After the section's last non-blank line, so blank lines that separate
    // it from the next section stay where they are.
    insertAfter = *location.sectionLine;
    for (size_t i = *location.sectionLine + 1; i < location.sectionEnd; ++i)
      if (!TrimBlanks(lines[i].text).empty()) insertAfter = i;
  }

  std::string result;
  result.reserve(content.size() + entry.size() + section.size() + 8);
  for (size_t i = 0; i < lines.size(); ++i) {
    const Line& line = lines[i];
    if (location.keyLine && i == *location.keyLine) {
      result += replacement;
      result += line.end;
      continue;
    }
    result += line.text;
    result += line.end;
    if (insertAfter && i == *insertAfter) {
      if (line.end.empty()) result += lineEnd;
      result += entry;
      result += lineEnd;
    }
  }
  if (!location.sectionLine) {
    if (!lines.empty() && lines.back().end.empty()) result += lineEnd;
    result += "[";
    result += section;
    result += "]";
    result += lineEnd;
    result += entry;
    result += lineEnd;
  }
  return result;
}

}  // namespace

std::string ReadProfileString(const std::string& path, std::string_view section, std::string_view key,
                              std::string_view defaultValue) {
  std::string content;
  if (ReadWholeFile(path, content, nullptr) != ReadResult::kRead) return std::string(defaultValue);
  std::vector<Line> lines = SplitLines(content);
  Location location = FindKey(lines, section, key);
  if (!location.keyLine) return std::string(defaultValue);
  std::string_view value = StripOneQuotePair(location.value);
  return std::string(value.substr(0, kMaxValueBytes));
}

bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value) {
  if (path.empty() || !CanBeWritten(section, key, value)) return false;
  AtomicFileWriter writer(path);
  if (writer.Error()) return false;
  std::string content;
  if (ReadWholeFile(writer.Target(), content, nullptr) == ReadResult::kFailed) return false;
  return writer.Write(WithValue(content, section, key, value)) && !writer.Commit();
}

}  // namespace tavimo::platform
