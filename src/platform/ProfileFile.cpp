#include "platform/ProfileFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <optional>
#include <unordered_set>

#include "platform/AtomicFile.h"
#include "platform/FileDescriptor.h"

// Policies, stated once:
// - Lines end at LF; a CR before the LF belongs to the line end. Every line
//   keeps its own end when the file is rewritten.
// - A UTF-8 byte-order mark before the first line is skipped when parsing and
//   kept when writing.
// - Only the first section of a name and, in it, the first key of a name
//   count; later repeats are left alone.
// - A line starting with ';' is a comment; a line without '=' is not a key.
// - A value ends at a NUL byte, as the value of the C interface did.
// - A file is walked once, line by line, and nothing is kept per line: a read
//   stops at the key; a write scans once and then copies the old bytes into
//   the new file with its change in between.

namespace tavimo::platform {
namespace {

constexpr size_t kMaxValueBytes = 2047;
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr size_t kChunkBytes = 64 * 1024;

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsProfileBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsProfileBlank(text.back())) text.remove_suffix(1);
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

// A value as a read gives it: one pair of quotes dropped, cut to its limit.
std::string ValueText(std::string_view trimmedValue) {
  return std::string(StripOneQuotePair(trimmedValue).substr(0, kMaxValueBytes));
}

struct Line {
  std::string_view text;     // without the line end
  std::string_view end;      // "\n", "\r\n" or "" for a last line without one
  std::uint64_t offset = 0;  // where the line starts in the file
  std::uint64_t NextOffset() const { return offset + text.size() + end.size(); }
};

// The lines of a byte range of an open file, one at a time. The buffer holds
// the current line and what was read after it, so it grows only for a line
// longer than itself.
class LineReader {
 public:
  LineReader(int fd, std::uint64_t from = 0, std::uint64_t to = UINT64_MAX)
      : fd_(fd), buffer_(kChunkBytes), offset_(from), readOffset_(from), limit_(to) {}

  // The next line, valid until the next call; false at the end or on a read error.
  bool Next(Line& line) {
    for (;;) {
      const char* const base = buffer_.data();
      const void* found = std::memchr(base + begin_ + scanned_, '\n', end_ - begin_ - scanned_);
      if (found != nullptr) {
        const size_t newline = static_cast<size_t>(static_cast<const char*>(found) - base);
        const size_t textEnd = (newline > begin_ && base[newline - 1] == '\r') ? newline - 1 : newline;
        return Emit(line, textEnd, newline + 1);
      }
      scanned_ = end_ - begin_;
      if (failed_) return false;
      if (atEnd_) return begin_ != end_ && Emit(line, end_, end_);
      Fill();
    }
  }
  bool Failed() const { return failed_; }
  int Error() const { return error_; }
  // Where the next line would start: after the last, the size walked.
  std::uint64_t Offset() const { return offset_; }

 private:
  bool Emit(Line& line, size_t textEnd, size_t next) {
    const char* const base = buffer_.data();
    line.text = std::string_view(base + begin_, textEnd - begin_);
    line.end = std::string_view(base + textEnd, next - textEnd);
    line.offset = offset_;
    offset_ += next - begin_;
    begin_ = next;
    scanned_ = 0;
    return true;
  }

  void Fill() {
    if (begin_ > 0) {
      std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
      end_ -= begin_;
      begin_ = 0;
    }
    if (end_ == buffer_.size()) buffer_.resize(buffer_.size() * 2);
    const std::uint64_t room = std::min<std::uint64_t>(buffer_.size() - end_, limit_ - readOffset_);
    for (;;) {
      const ssize_t count = room == 0 ? 0 : ::pread(fd_, buffer_.data() + end_, room, static_cast<off_t>(readOffset_));
      if (count < 0 && errno == EINTR) continue;
      if (count < 0) {
        failed_ = true;
        error_ = errno;
      }
      if (count <= 0) atEnd_ = true;
      if (count > 0) {
        end_ += static_cast<size_t>(count);
        readOffset_ += static_cast<std::uint64_t>(count);
      }
      return;
    }
  }

  int fd_;
  std::vector<char> buffer_;
  size_t begin_ = 0;    // the current line's first byte
  size_t end_ = 0;      // the end of what was read
  size_t scanned_ = 0;  // bytes after begin_ known to hold no line feed
  std::uint64_t offset_;      // file offset of buffer_[begin_]
  std::uint64_t readOffset_;  // file offset of buffer_[end_]
  std::uint64_t limit_;
  bool atEnd_ = false;
  bool failed_ = false;
  int error_ = 0;
};

enum class LineKind { kOther, kSection, kEntry };

struct ParsedLine {
  LineKind kind = LineKind::kOther;
  std::string_view name;   // section name or key, trimmed
  std::string_view value;  // entry value, trimmed
  size_t valueStart = 0;   // where the value begins in the line's text
};

ParsedLine ParseLine(std::string_view text, bool isFirstLine) {
  ParsedLine parsed;
  size_t begin = 0;
  if (isFirstLine && text.starts_with(kUtf8Bom)) begin = kUtf8Bom.size();
  while (begin < text.size() && IsProfileBlank(text[begin])) ++begin;
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
  while (valueStart < text.size() && IsProfileBlank(text[valueStart])) ++valueStart;
  std::string_view value = text.substr(valueStart);
  value = value.substr(0, value.find('\0'));
  parsed.kind = LineKind::kEntry;
  parsed.name = key;
  parsed.value = TrimBlanks(value);
  parsed.valueStart = valueStart;
  return parsed;
}

enum class Opened { kOpened, kMissing, kFailed };

// A regular file open for reading, closed with the object. Anything else (a
// directory, a device, a pipe) counts as a failure; O_NONBLOCK keeps a pipe
// from blocking the open.
class ReadableFile {
 public:
  explicit ReadableFile(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)) {
    if (!fd_.IsOpen()) {
      error_ = errno;
      // A path through a plain file names no file either.
      state_ = error_ == ENOENT || error_ == ENOTDIR ? Opened::kMissing : Opened::kFailed;
      return;
    }
    struct stat status {};
    if (fstat(fd_.Get(), &status) != 0) {
      error_ = errno;
      return;
    }
    if (S_ISREG(status.st_mode)) state_ = Opened::kOpened;
    else error_ = S_ISDIR(status.st_mode) ? EISDIR : kNotRegular;
  }

  // EISDIR, kNotRegular or the errno of the open, for a failure.
  static constexpr int kNotRegular = -1;
  Opened State() const { return state_; }
  int Error() const { return error_; }
  int Fd() const { return fd_.Get(); }

 private:
  UniqueFd fd_;
  Opened state_ = Opened::kFailed;
  int error_ = 0;
};

std::string ReadErrorText(int error) {
  return error == ReadableFile::kNotRegular ? std::string("not a regular file") : std::string(std::strerror(error));
}

// Calls visit(parsed entry) for each entry line of the first section named
// `section`, until visit returns false or the section ends.
template <typename Visit>
Opened VisitSectionEntries(const std::string& path, std::string_view section, Visit&& visit,
                           std::string* readError = nullptr) {
  ReadableFile file(path);
  if (file.State() == Opened::kFailed && readError != nullptr) *readError = ReadErrorText(file.Error());
  if (file.State() != Opened::kOpened) return file.State();
  LineReader reader(file.Fd());
  Line line;
  bool inSection = false;
  for (bool first = true; reader.Next(line); first = false) {
    const ParsedLine parsed = ParseLine(line.text, first);
    if (parsed.kind == LineKind::kSection) {
      if (inSection) return Opened::kOpened;
      inSection = EqualsIgnoringCase(parsed.name, section);
    } else if (inSection && parsed.kind == LineKind::kEntry && !visit(parsed)) {
      return Opened::kOpened;
    }
  }
  if (!reader.Failed()) return Opened::kOpened;
  if (readError != nullptr) *readError = ReadErrorText(reader.Error() != 0 ? reader.Error() : EIO);
  return Opened::kFailed;
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

// Where a key of a section stands in the old file, as byte offsets, and what
// an added line needs to know of the file.
struct KeyScan {
  std::uint64_t size = 0;
  size_t crlfLines = 0;
  size_t lfLines = 0;
  bool lastLineHasEnd = true;
  bool sectionFound = false;
  std::uint64_t sectionBodyStart = 0;  // after the section's header line
  std::uint64_t sectionEnd = 0;        // the next section's header, or the end
  // After the section's last non-blank line, so blank lines that separate it
  // from the next section stay where they are.
  std::uint64_t insertAt = 0;
  bool insertAfterLineHasEnd = true;
  bool keyFound = false;                // the first line of the key, in the section
  std::uint64_t keyAfterEquals = 0;     // just after its "="
  std::uint64_t keyValueStart = 0;      // where its value begins (after the blanks)
  std::uint64_t keyLineTextEnd = 0;     // where its line end begins

  std::string_view DominantLineEnd() const { return crlfLines > lfLines ? "\r\n" : "\n"; }
};

bool ScanForKey(int fd, std::string_view section, std::string_view key, KeyScan& scan) {
  LineReader reader(fd);
  Line line;
  bool inSection = false;
  bool sectionDone = false;
  for (bool first = true; reader.Next(line); first = false) {
    if (line.end.size() == 2) ++scan.crlfLines;
    else if (line.end.size() == 1) ++scan.lfLines;
    scan.lastLineHasEnd = !line.end.empty();
    if (sectionDone) continue;  // only the line ends are still counted
    const ParsedLine parsed = ParseLine(line.text, first);
    if (parsed.kind == LineKind::kSection) {
      if (inSection) {
        scan.sectionEnd = line.offset;
        sectionDone = true;
      } else if (EqualsIgnoringCase(parsed.name, section)) {
        inSection = scan.sectionFound = true;
        scan.sectionBodyStart = scan.insertAt = line.NextOffset();
        scan.insertAfterLineHasEnd = !line.end.empty();
      }
      continue;
    }
    if (!inSection) continue;
    if (!TrimBlanks(line.text).empty()) {
      scan.insertAt = line.NextOffset();
      scan.insertAfterLineHasEnd = !line.end.empty();
    }
    if (!scan.keyFound && parsed.kind == LineKind::kEntry && EqualsIgnoringCase(parsed.name, key)) {
      scan.keyFound = true;
      scan.keyAfterEquals = line.offset + line.text.find('=') + 1;
      scan.keyValueStart = line.offset + parsed.valueStart;
      scan.keyLineTextEnd = line.offset + line.text.size();
    }
  }
  scan.size = reader.Offset();
  if (inSection && !sectionDone) scan.sectionEnd = scan.size;
  return !reader.Failed();
}

// The new file's bytes on their way to the writer, small pieces gathered
// into large writes.
class Output {
 public:
  explicit Output(AtomicFileWriter& writer) : writer_(writer) { buffer_.reserve(kChunkBytes); }

  bool Put(std::string_view bytes) {
    if (buffer_.size() + bytes.size() > kChunkBytes) {
      if (!Flush()) return false;
      if (bytes.size() >= kChunkBytes) return writer_.Write(bytes);
    }
    buffer_.append(bytes);
    return true;
  }

  // Bytes [from, to) of the old file, which must still hold them.
  bool Copy(int fd, std::uint64_t from, std::uint64_t to) {
    std::vector<char> chunk(kChunkBytes);
    while (from < to) {
      const size_t want = static_cast<size_t>(std::min<std::uint64_t>(chunk.size(), to - from));
      const ssize_t count = ::pread(fd, chunk.data(), want, static_cast<off_t>(from));
      if (count < 0 && errno == EINTR) continue;
      if (count <= 0 || !Put(std::string_view(chunk.data(), static_cast<size_t>(count)))) return false;
      from += static_cast<std::uint64_t>(count);
    }
    return true;
  }

  bool Flush() {
    const bool written = writer_.Write(buffer_);
    buffer_.clear();
    return written;
  }

 private:
  AtomicFileWriter& writer_;
  std::string buffer_;
};

bool Finish(Output& output, AtomicFileWriter& writer) { return output.Flush() && !writer.Commit(); }

}  // namespace

std::string ProfileValueText(std::string_view text) { return ValueText(TrimBlanks(text.substr(0, text.find('\0')))); }

std::string ReadProfileString(const std::string& path, std::string_view section, std::string_view key,
                              std::string_view defaultValue) {
  std::optional<std::string> found = std::move(ReadProfileStrings(path, section, {key}).front());
  return found ? std::move(*found) : std::string(defaultValue);
}

std::vector<std::optional<std::string>> ReadProfileStrings(const std::string& path, std::string_view section,
                                                           std::initializer_list<std::string_view> keys) {
  return ReadProfileValues(path, section, keys).values;
}

ProfileValues ReadProfileValues(const std::string& path, std::string_view section,
                                std::initializer_list<std::string_view> keys) {
  ProfileValues read;
  std::vector<std::optional<std::string>>& found = read.values;
  found.resize(keys.size());
  std::size_t missing = keys.size();
  const Opened walked = VisitSectionEntries(path, section, [&](const ParsedLine& entry) {
    std::size_t i = 0;
    for (std::string_view key : keys) {
      if (!found[i] && EqualsIgnoringCase(entry.name, key)) {
        found[i] = ValueText(entry.value);
        --missing;
      }
      ++i;
    }
    return missing > 0;
  }, &read.readError);
  if (walked != Opened::kOpened) found.assign(keys.size(), std::nullopt);
  return read;
}

std::vector<std::pair<std::string, std::string>> ReadProfileSection(const std::string& path,
                                                                    std::string_view section) {
  std::vector<std::pair<std::string, std::string>> entries;
  std::unordered_set<std::string> seen;
  const Opened walked = VisitSectionEntries(path, section, [&](const ParsedLine& entry) {
    std::string folded(entry.name);
    for (char& c : folded) c = FoldAsciiCase(c);
    if (seen.insert(std::move(folded)).second) entries.emplace_back(std::string(entry.name), ValueText(entry.value));
    return true;
  });
  if (walked != Opened::kOpened) entries.clear();
  return entries;
}

bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value) {
  if (path.empty() || !CanBeWritten(section, key, value)) return false;
  // Reading follows links just as the writer does, so both see one file.
  ReadableFile old(path);
  KeyScan scan;
  if (old.State() == Opened::kFailed) return false;
  if (old.State() == Opened::kOpened && !ScanForKey(old.Fd(), section, key, scan)) return false;

  AtomicFileWriter writer(path);
  if (writer.Error()) return false;
  Output out(writer);
  const std::string_view lineEnd = scan.DominantLineEnd();
  const int fd = old.Fd();
  if (scan.keyFound) {
    // The blanks after "=" stay, unless the value brings blanks of its own:
    // kept as well, they would grow with every save of the same value.
    const bool ownBlanks = !value.empty() && IsProfileBlank(value.front());
    const std::uint64_t keep = ownBlanks ? scan.keyAfterEquals : scan.keyValueStart;
    return out.Copy(fd, 0, keep) && out.Put(value) && out.Copy(fd, scan.keyLineTextEnd, scan.size) &&
           Finish(out, writer);
  }
  const auto entry = [&] { return out.Put(key) && out.Put("=") && out.Put(value) && out.Put(lineEnd); };
  if (scan.sectionFound) {
    return out.Copy(fd, 0, scan.insertAt) && (scan.insertAfterLineHasEnd || out.Put(lineEnd)) && entry() &&
           out.Copy(fd, scan.insertAt, scan.size) && Finish(out, writer);
  }
  return out.Copy(fd, 0, scan.size) && (scan.lastLineHasEnd || out.Put(lineEnd)) && out.Put("[") &&
         out.Put(section) && out.Put("]") && out.Put(lineEnd) && entry() && Finish(out, writer);
}

bool DeleteProfileKey(const std::string& path, std::string_view section, std::string_view key) {
  ReadableFile old(path);
  if (old.State() != Opened::kOpened) return old.State() == Opened::kMissing;
  KeyScan scan;
  if (!ScanForKey(old.Fd(), section, key, scan)) return false;
  if (!scan.keyFound) return true;

  AtomicFileWriter writer(path);
  if (writer.Error()) return false;
  Output out(writer);
  const int fd = old.Fd();
  if (!out.Copy(fd, 0, scan.sectionBodyStart)) return false;
  LineReader reader(fd, scan.sectionBodyStart, scan.sectionEnd);
  Line line;
  while (reader.Next(line)) {
    const ParsedLine parsed = ParseLine(line.text, false);
    if (parsed.kind == LineKind::kEntry && EqualsIgnoringCase(parsed.name, key)) continue;
    if (!out.Put(line.text) || !out.Put(line.end)) return false;
  }
  return !reader.Failed() && reader.Offset() == scan.sectionEnd && out.Copy(fd, scan.sectionEnd, scan.size) &&
         Finish(out, writer);
}

}  // namespace tavimo::platform
