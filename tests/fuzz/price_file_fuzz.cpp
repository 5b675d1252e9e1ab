// A price file of arbitrary bytes, read from a string stream. Checked: the
// bars are strictly ascending in time, with finite prices and volume and
// high not below low, the time form matches them and the columns hold 48
// bytes a bar; a bar takes at least 9 bytes of input; bars, empty rows, bad
// rows and duplicates never outnumber the records, and in a file without
// quotes they are every record but the header; each message starts with
// "line N: ", N a line of the input that starts a record, quotes at most 64
// bytes of a cell, and without quotes in the file the cell it quotes is on
// that line; each duplicate keeps a later line and names a time the bars
// hold. The same result comes from the file on disk, with a byte order mark
// in front, and (in a file without quotes or CR) with CR LF or CR line ends;
// each input is read one of these ways, picked by its hash.

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "ScratchFiles.h"
#include "history/PriceFile.h"
#include "history/PriceTime.h"

namespace {

using tavimo::PriceFileResult;

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::int64_t kSecondsPerDay = 86400;
// "line N: '" + 64 bytes + "...' is not a valid volume", the longest message.
constexpr std::size_t kLongestMessage = 5 + 20 + 2 + 1 + 64 + 3 + 1 + 22;

PriceFileResult ReadFromStream(std::string_view content) {
  std::istringstream input{std::string(content)};
  return tavimo::ReadPriceBars(input);
}

// The input's lines as the record reader counts them (LF, CR LF or a lone CR
// ends one), line 1 without a byte order mark; lines[0] is line 1.
std::vector<std::string_view> SplitLines(std::string_view content) {
  if (content.starts_with(kByteOrderMark)) content.remove_prefix(kByteOrderMark.size());
  std::vector<std::string_view> lines;
  for (;;) {
    const std::size_t end = content.find_first_of("\r\n");
    lines.push_back(content.substr(0, end));
    if (end == std::string_view::npos) break;
    const bool crlf = content[end] == '\r' && end + 1 < content.size() && content[end + 1] == '\n';
    content.remove_prefix(end + (crlf ? 2 : 1));
  }
  return lines;
}

std::string WithLineEnd(std::string_view content, std::string_view lineEnd) {
  std::string out;
  for (char c : content) {
    if (c == '\n') out += lineEnd;
    else out += c;
  }
  return out;
}

// FNV-1a, to pick a route by the input alone, so that a finding replays.
std::uint32_t Hash(std::string_view bytes) {
  std::uint32_t hash = 2166136261u;
  for (char c : bytes) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
  return hash;
}

bool Same(const PriceFileResult& a, const PriceFileResult& b) {
  return a.bars.time == b.bars.time && a.bars.open == b.bars.open && a.bars.high == b.bars.high &&
         a.bars.low == b.bars.low && a.bars.close == b.bars.close && a.bars.volume == b.bars.volume &&
         a.timeForm == b.timeForm && a.emptyRows == b.emptyRows && a.badRows == b.badRows &&
         a.duplicates == b.duplicates && a.readFailed == b.readFailed;
}

// Reads a decimal line number at the front of `text`, consuming it.
std::optional<std::uint64_t> TakeNumber(std::string_view& text) {
  std::uint64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end == text.data() || text.front() == '0') return std::nullopt;
  text.remove_prefix(static_cast<std::size_t>(end - text.data()));
  return value;
}

bool TakePrefix(std::string_view& text, std::string_view prefix) {
  if (!text.starts_with(prefix)) return false;
  text.remove_prefix(prefix.size());
  return true;
}

// Checks of what every message shares; returns the line it names and leaves
// `message` at the text after "line N: ".
std::uint64_t CheckedLine(std::string_view& message, const std::vector<std::string_view>& lines,
                          std::string_view content) {
  const std::string detail = std::string(message) + "\n  input: " + std::string(content);
  TAVIMO_FUZZ_CHECK(message.size() <= kLongestMessage, detail);
  TAVIMO_FUZZ_CHECK(TakePrefix(message, "line "), detail);
  const std::optional<std::uint64_t> line = TakeNumber(message);
  TAVIMO_FUZZ_CHECK(line.has_value() && TakePrefix(message, ": ") && !message.empty(), detail);
  // A record starts at the front of a line and takes at least one byte of it.
  TAVIMO_FUZZ_CHECK(*line >= 1 && *line <= lines.size() && !lines[*line - 1].empty(), detail);
  return *line;
}

// "'<cell>' is not a valid ...": the cell as quoted (cut to 64 bytes and
// "..." then), or nothing for a message without a cell.
std::optional<std::string_view> QuotedCell(std::string_view text) {
  const std::size_t end = text.rfind("' is not a valid ");
  if (!text.starts_with('\'') || end == std::string_view::npos || end == 0) return std::nullopt;
  return text.substr(1, end - 1);
}

bool LineHoldsCell(std::string_view line, std::string_view cell) {
  if (line.find(cell) != std::string_view::npos) return true;
  return cell.size() == 67 && cell.ends_with("...") && line.find(cell.substr(0, 64)) != std::string_view::npos;
}

void CheckBars(const PriceFileResult& r, std::string_view content) {
  const tavimo::PriceBars& bars = r.bars;
  const std::size_t n = bars.Size();
  // The columns keep little room beyond their bars (the reader trims more).
  const std::size_t room = n + n / 8 + 1024;
  for (const auto* column : {&bars.open, &bars.high, &bars.low, &bars.close, &bars.volume})
    TAVIMO_FUZZ_CHECK(column->size() == n && column->capacity() <= room, content);
  TAVIMO_FUZZ_CHECK(bars.time.capacity() <= room, content);
  // Every bar's row holds a time of at least 8 bytes, and all rows but the last a line end.
  TAVIMO_FUZZ_CHECK(n * 9 <= content.size() + 1, content);
  bool allMidnight = true;
  for (std::size_t i = 0; i < n; ++i) {
    TAVIMO_FUZZ_CHECK(i == 0 || bars.time[i - 1] < bars.time[i], content);
    TAVIMO_FUZZ_CHECK(std::isfinite(bars.open[i]) && std::isfinite(bars.high[i]) && std::isfinite(bars.low[i]) &&
                          std::isfinite(bars.close[i]) && std::isfinite(bars.volume[i]),
                      content);
    TAVIMO_FUZZ_CHECK(bars.high[i] >= bars.low[i], content);
    if ((bars.time[i] % kSecondsPerDay + kSecondsPerDay) % kSecondsPerDay != 0) allMidnight = false;
  }
  TAVIMO_FUZZ_CHECK(r.timeForm == (allMidnight ? tavimo::TimeTextForm::Date : tavimo::TimeTextForm::DateTime),
                    content);
  TAVIMO_FUZZ_CHECK(!r.readFailed, content);
}

void CheckMessages(const PriceFileResult& r, const std::vector<std::string_view>& lines, bool quoteFree,
                   std::string_view content) {
  for (std::string_view message : r.badRows) {
    const std::string detail = std::string(message) + "\n  input: " + std::string(content);
    const std::uint64_t line = CheckedLine(message, lines, content);
    // Without quotes a record is one line and its cells are that line's bytes.
    if (const std::optional<std::string_view> cell = QuotedCell(message); cell && quoteFree)
      TAVIMO_FUZZ_CHECK(LineHoldsCell(lines[line - 1], *cell), detail);
  }
  for (std::string_view message : r.duplicates) {
    const std::string detail = std::string(message) + "\n  input: " + std::string(content);
    const std::uint64_t line = CheckedLine(message, lines, content);
    TAVIMO_FUZZ_CHECK(TakePrefix(message, "duplicate time "), detail);
    const std::size_t comma = message.find(", line ");
    TAVIMO_FUZZ_CHECK(comma != std::string_view::npos, detail);
    const std::optional<std::int64_t> time = tavimo::ParsePriceTime(message.substr(0, comma));
    TAVIMO_FUZZ_CHECK(time && std::binary_search(r.bars.time.begin(), r.bars.time.end(), *time), detail);
    message.remove_prefix(comma + 7);
    const std::optional<std::uint64_t> kept = TakeNumber(message);
    TAVIMO_FUZZ_CHECK(kept && message == " kept", detail);
    TAVIMO_FUZZ_CHECK(*kept > line && *kept <= lines.size() && !lines[*kept - 1].empty(), detail);
  }
}

// Bars, empty rows, bad rows and duplicates each stand for one record.
void CheckAccounting(const PriceFileResult& r, const std::vector<std::string_view>& lines, bool quoteFree,
                     std::string_view content) {
  const std::uint64_t taken = r.bars.Size() + r.emptyRows + r.badRows.size() + r.duplicates.size();
  const std::uint64_t records =
      static_cast<std::uint64_t>(std::count_if(lines.begin(), lines.end(), [](std::string_view l) { return !l.empty(); }));
  TAVIMO_FUZZ_CHECK(taken <= records, content);
  if (!quoteFree || records == 0) return;
  // Without quotes every non-empty line is a record; the first is the header
  // when its first cell is no time, and a header without a price column ends
  // the reading.
  const auto first = std::find_if(lines.begin(), lines.end(), [](std::string_view l) { return !l.empty(); });
  const std::size_t separator = first->find_first_of(",;\t");
  const bool header = !tavimo::ParsePriceTime(first->substr(0, separator));
  if (header) TAVIMO_FUZZ_CHECK(taken == records - 1 || taken == 0, content);
  else TAVIMO_FUZZ_CHECK(taken == records, content);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const tavimo::fuzz::ScratchDirectory directory;
  static const std::string path = directory.File("prices.csv");
  const std::string_view content(reinterpret_cast<const char*>(data), size);

  const PriceFileResult r = ReadFromStream(content);
  const std::vector<std::string_view> lines = SplitLines(content);
  const bool quoteFree = content.find('"') == std::string_view::npos;
  CheckBars(r, content);
  CheckMessages(r, lines, quoteFree, content);
  CheckAccounting(r, lines, quoteFree, content);

  // Each reading allocates its megabyte blocks afresh, which the sanitizer
  // makes slow; one of the other routes per input keeps the fuzzer quick.
  const bool lineEndsFree = quoteFree && content.find('\r') == std::string_view::npos;
  switch (Hash(content) % 4) {
    case 0: {
      if (!tavimo::fuzz::WriteBytes(path, content)) tavimo::fuzz::Fail("scratch file written", path);
      const tavimo::PriceFileRead read = tavimo::ReadPriceFile(path);
      TAVIMO_FUZZ_CHECK(Same(read.result, r), content);
      TAVIMO_FUZZ_CHECK(read.error == (r.bars.Size() == 0 ? "No price bars in '" + path + "'." : ""), content);
      break;
    }
    case 1:
      if (!content.starts_with(kByteOrderMark))
        TAVIMO_FUZZ_CHECK(Same(ReadFromStream(std::string(kByteOrderMark) + std::string(content)), r), content);
      break;
    case 2:
      if (lineEndsFree) TAVIMO_FUZZ_CHECK(Same(ReadFromStream(WithLineEnd(content, "\r\n")), r), content);
      break;
    default:
      if (lineEndsFree) TAVIMO_FUZZ_CHECK(Same(ReadFromStream(WithLineEnd(content, "\r")), r), content);
      break;
  }
  return 0;
}
