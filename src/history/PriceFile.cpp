#include "history/PriceFile.h"

#include <fcntl.h>
#include <unistd.h>
#include <sys/mman.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <exception>
#include <limits>
#include <numeric>
#include <optional>
#include <streambuf>
#include <system_error>
#include <thread>

#include "runtime/Messages.h"
#include "platform/DescriptorBuffer.h"
#include "platform/FileDescriptor.h"
#include "runtime/CsvReader.h"
#include "runtime/NumberParse.h"

namespace tavimo {
namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// Serves the bytes already taken from a stream to find its separator, then
// the rest of the stream.
class ReplayBuffer : public std::streambuf {
 public:
  ReplayBuffer(std::string prefix, std::streambuf* rest) : prefix_(std::move(prefix)), rest_(rest), block_(1 << 20) {}

 protected:
  int_type underflow() override {
    if (!prefixServed_) {
      prefixServed_ = true;
      if (!prefix_.empty()) {
        setg(prefix_.data(), prefix_.data(), prefix_.data() + prefix_.size());
        return traits_type::to_int_type(*gptr());
      }
    }
    if (rest_ == nullptr) return traits_type::eof();
    const std::streamsize got = rest_->sgetn(block_.data(), static_cast<std::streamsize>(block_.size()));
    if (got <= 0) return traits_type::eof();
    setg(block_.data(), block_.data(), block_.data() + got);
    return traits_type::to_int_type(*gptr());
  }

 private:
  std::string prefix_;
  std::streambuf* rest_;
  std::vector<char> block_;
  bool prefixServed_ = false;
};

// Takes the stream's first non-empty line (with the bytes before it) and
// returns the separator that comes first in it outside quotes: ',', ';' or TAB.
char TakeSeparator(std::streambuf* source, std::string& taken) {
  char separator = ',';
  bool found = false, quoted = false, inLine = false;
  while (source != nullptr && taken.size() <= CsvReader::kMaxRecordBytes) {
    const std::streambuf::int_type c = source->sbumpc();
    if (std::streambuf::traits_type::eq_int_type(c, std::streambuf::traits_type::eof())) break;
    const char ch = std::streambuf::traits_type::to_char_type(c);
    taken += ch;
    // A byte order mark is no text of the first line (an empty line may follow it).
    if (taken.size() <= 3 && std::string_view("\xEF\xBB\xBF").starts_with(taken)) continue;
    if (ch == '"') quoted = !quoted;
    if (quoted) continue;
    if (ch == '\n' || ch == '\r') {
      if (inLine) break;
      continue;
    }
    inLine = true;
    if (!found && (ch == ',' || ch == ';' || ch == '\t')) {
      separator = ch;
      found = true;
    }
  }
  return separator;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

bool IsEmptyCell(std::string_view text) {
  // A price's first character is a digit far more often than not.
  if (!text.empty() && static_cast<unsigned char>(text.front() - '0') < 10) return false;
  text = Trim(text);
  return text.empty() || EqualsNoCase(text, "null") || EqualsNoCase(text, "nan");
}

// A column name as matched: blanks, enclosing quotes and angle brackets
// removed, lower case.
std::string ColumnName(std::string_view field) {
  field = Trim(field);
  if (field.size() >= 2 && field.front() == '"' && field.back() == '"') field = Trim(field.substr(1, field.size() - 2));
  if (field.size() >= 2 && field.front() == '<' && field.back() == '>') field = Trim(field.substr(1, field.size() - 2));
  std::string name(field);
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return name;
}

struct Layout {
  std::size_t time = 0;
  std::size_t timeOfDay = kNone;
  std::size_t open = kNone, high = kNone, low = kNone, close = kNone, volume = kNone;
  bool hasHeader = false;
};

Layout LayoutFromHeader(const CsvRecord& header) {
  std::vector<std::string> names;
  for (std::string_view field : header.fields) names.push_back(ColumnName(field));
  const auto find = [&](std::initializer_list<std::string_view> candidates) {
    for (std::string_view candidate : candidates)
      for (std::size_t i = 0; i < names.size(); ++i)
        if (names[i] == candidate) return i;
    return kNone;
  };
  Layout layout;
  layout.hasHeader = true;
  const std::size_t date = find({"date", "day", "datetime", "timestamp", "open time"});
  const std::size_t time = find({"time"});
  if (date != kNone) {
    layout.time = date;
    layout.timeOfDay = time;
  } else if (time != kNone) {
    layout.time = time;
  }
  layout.open = find({"open"});
  layout.high = find({"high"});
  layout.low = find({"low"});
  layout.close = find({"close", "last", "price"});
  layout.volume = find({"volume", "vol", "tickvol", "tick_volume"});
  return layout;
}

Layout LayoutWithoutHeader(const CsvRecord& first) {
  Layout layout;
  if (first.fields.size() > 1 && IsColonTimeOfDay(first.fields[1])) {
    layout.timeOfDay = 1;
    layout.open = 2, layout.high = 3, layout.low = 4, layout.close = 5, layout.volume = 6;
  } else {
    layout.open = 1, layout.high = 2, layout.low = 3, layout.close = 4, layout.volume = 5;
  }
  return layout;
}

std::string_view Cell(const CsvRecord& record, std::size_t column) {
  return column < record.fields.size() ? record.fields[column] : std::string_view();
}

// A price by the price boxes' rules, '.' as the decimal separator; in a ';'
// file a cell with one ',' and no '.' has the comma as its decimal separator.
bool ReadPrice(std::string_view text, bool semicolonFile, double& value) {
  static const NumberFormatSettings point{".", ""};
  static const NumberFormatSettings comma{",", ""};
  const bool decimalComma = semicolonFile && std::count(text.begin(), text.end(), ',') == 1 &&
                            text.find('.') == std::string_view::npos;
  return ScanDoubleText(text, value, decimalComma ? comma : point);
}

std::string Quoted(std::string_view text) {
  constexpr std::size_t kShown = 64;
  std::string out = "'";
  out += text.substr(0, kShown);
  if (text.size() > kShown) out += "...";
  out += "'";
  return out;
}

std::string LineMessage(std::uint64_t line, std::string_view message) {
  return "line " + std::to_string(line) + ": " + std::string(message);
}

// Columns of millions of bars are filled front to back at once: in large
// pages the kernel maps them with a fault per 2 MiB instead of per 4 KiB.
template <typename T>
void AdviseLargePages(std::vector<T>& column) {
  constexpr std::uintptr_t kLarge = std::uintptr_t(2) << 20;
  const auto begin = reinterpret_cast<std::uintptr_t>(column.data());
  const std::uintptr_t end = begin + column.capacity() * sizeof(T);
  const std::uintptr_t from = (begin + kLarge - 1) & ~(kLarge - 1), to = end & ~(kLarge - 1);
  if (from < to) ::madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
}

class BarCollector {
 public:
  BarCollector(PriceFileResult& result, bool semicolonFile) : result_(result), semicolon_(semicolonFile) {}

  // Room for about that many bars, so the columns are not copied as they grow.
  void Reserve(std::size_t bars) {
    PriceBars& b = result_.bars;
    b.time.reserve(bars);
    AdviseLargePages(b.time);
    for (auto* column : {&b.open, &b.high, &b.low, &b.close, &b.volume}) {
      column->reserve(bars);
      AdviseLargePages(*column);
    }
  }

  void Take(const CsvRecord& record, const Layout& layout) {
    if (!record.error.empty()) return Bad(record.line, record.error);
    PriceBars& bars = result_.bars;
    const std::size_t priceColumns[] = {layout.open, layout.high, layout.low, layout.close};
    bool allEmpty = true;
    for (std::size_t column : priceColumns)
      if (column != kNone && !IsEmptyCell(Cell(record, column))) allEmpty = false;
    if (allEmpty) {
      ++result_.emptyRows;
      return;
    }
    std::string_view timeText = Cell(record, layout.time);
    std::optional<std::int64_t> time = ParsePriceTime(timeText);
    if (time && layout.timeOfDay != kNone) {
      const std::optional<std::int64_t> ofDay = ParseTimeOfDay(Cell(record, layout.timeOfDay));
      if (ofDay) *time += *ofDay;
      else time.reset(), timeText = Cell(record, layout.timeOfDay);
    }
    if (!time) return Bad(record.line, Quoted(timeText) + " is not a valid time");
    double prices[4];
    for (int i = 0; i < 4; ++i) {
      const std::size_t column = priceColumns[i] == kNone ? layout.close : priceColumns[i];
      if (!ReadPrice(Cell(record, column), semicolon_, prices[i]))
        return Bad(record.line, Quoted(Cell(record, column)) + " is not a valid price");
    }
    if (prices[1] < prices[2]) return Bad(record.line, "high below low");
    double volume = 0.0;
    if (layout.volume != kNone && !IsEmptyCell(Cell(record, layout.volume)) &&
        !ReadPrice(Cell(record, layout.volume), semicolon_, volume))
      return Bad(record.line, Quoted(Cell(record, layout.volume)) + " is not a valid volume");
    bars.time.push_back(*time);
    bars.open.push_back(prices[0]);
    bars.high.push_back(prices[1]);
    bars.low.push_back(prices[2]);
    bars.close.push_back(prices[3]);
    bars.volume.push_back(volume);
    // Most rows follow the one before on the next line: only the others'
    // lines are kept.
    if (jumps_.empty() || record.line != lastLine_ + 1) jumps_.emplace_back(bars.time.size() - 1, record.line);
    lastLine_ = record.line;
  }

  // The rows another collector read from the part of the file after this
  // one's, whose lines are numbered from 1 + lineOffset on.
  void Absorb(BarCollector& other, std::uint64_t lineOffset) {
    PriceBars& bars = result_.bars;
    PriceBars& more = other.result_.bars;
    const std::size_t firstOther = bars.time.size();
    bars.time.insert(bars.time.end(), more.time.begin(), more.time.end());
    for (auto [to, from] : {std::pair{&bars.open, &more.open}, {&bars.high, &more.high}, {&bars.low, &more.low},
                            {&bars.close, &more.close}, {&bars.volume, &more.volume}})
      to->insert(to->end(), from->begin(), from->end());
    for (const auto& [bar, line] : other.jumps_) jumps_.emplace_back(bar + firstOther, line + lineOffset);
    if (!other.jumps_.empty()) lastLine_ = other.lastLine_ + lineOffset;
    for (auto& [line, message] : other.bad_) bad_.emplace_back(line + lineOffset, std::move(message));
    result_.emptyRows += other.result_.emptyRows;
  }

  // Sorts by time (stable), keeps the last row of each time and fits the columns.
  void Finish() {
    for (const auto& [line, message] : bad_) result_.badRows.push_back(LineMessage(line, message));
    bad_.clear();
    PriceBars& bars = result_.bars;
    const std::size_t n = bars.Size();
    result_.timeForm = TimeTextFormFor(bars.time.data(), n);
    if (!std::is_sorted(bars.time.begin(), bars.time.end())) {
      std::vector<std::size_t> order(n);
      std::iota(order.begin(), order.end(), std::size_t{0});
      const bool descending = std::is_sorted(bars.time.rbegin(), bars.time.rend()) &&
                              std::adjacent_find(bars.time.begin(), bars.time.end()) == bars.time.end();
      if (descending) std::reverse(order.begin(), order.end());
      else std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return bars.time[a] < bars.time[b]; });
      Permute(bars.time, order);
      Permute(bars.open, order);
      Permute(bars.high, order);
      Permute(bars.low, order);
      Permute(bars.close, order);
      Permute(bars.volume, order);
      std::vector<std::uint64_t> lines(n);
      for (std::size_t i = 0; i < n; ++i) lines[i] = LineOf(i);
      Permute(lines, order);
      lines_.swap(lines);
    }
    RemoveDuplicates();
    // Columns held long (by a window) give back what they do not use; a
    // little room is not worth copying them for.
    if (bars.time.capacity() > bars.Size() + bars.Size() / 8 + 1024) {
      for (auto* column : {&bars.open, &bars.high, &bars.low, &bars.close, &bars.volume}) column->shrink_to_fit();
      bars.time.shrink_to_fit();
    }
  }

 private:
  void Bad(std::uint64_t line, std::string_view message) { bad_.emplace_back(line, std::string(message)); }

  template <typename T>
  static void Permute(std::vector<T>& column, const std::vector<std::size_t>& order) {
    std::vector<T> sorted(column.size());
    for (std::size_t i = 0; i < order.size(); ++i) sorted[i] = column[order[i]];
    column.swap(sorted);
  }

  void RemoveDuplicates() {
    PriceBars& bars = result_.bars;
    const std::size_t n = bars.Size();
    // The bars before the first duplicate stay where they are.
    std::size_t kept = static_cast<std::size_t>(std::adjacent_find(bars.time.begin(), bars.time.end()) - bars.time.begin());
    for (std::size_t i = kept; i < n; ++i) {
      // Rows of one time are in file order: the last of the run is kept.
      if (i + 1 < n && bars.time[i + 1] == bars.time[i]) {
        std::size_t last = i + 1;
        while (last + 1 < n && bars.time[last + 1] == bars.time[i]) ++last;
        for (std::size_t d = i; d < last; ++d)
          result_.duplicates.push_back("line " + std::to_string(LineOf(d)) + ": duplicate time " +
                                       TimeText(bars.time[d], result_.timeForm) + ", line " +
                                       std::to_string(LineOf(last)) + " kept");
        i = last;
      }
      bars.time[kept] = bars.time[i];
      bars.open[kept] = bars.open[i];
      bars.high[kept] = bars.high[i];
      bars.low[kept] = bars.low[i];
      bars.close[kept] = bars.close[i];
      bars.volume[kept] = bars.volume[i];
      ++kept;
    }
    for (auto* column : {&bars.open, &bars.high, &bars.low, &bars.close, &bars.volume}) column->resize(kept);
    bars.time.resize(kept);
    lines_.clear();
    lines_.shrink_to_fit();
    jumps_.clear();
    jumps_.shrink_to_fit();
  }

  // The file line of bar i (as read, or as sorted once lines_ holds them all).
  std::uint64_t LineOf(std::size_t i) const {
    if (!lines_.empty()) return lines_[i];
    const auto after = std::upper_bound(jumps_.begin(), jumps_.end(), i,
                                        [](std::size_t bar, const auto& jump) { return bar < jump.first; });
    const auto& [bar, line] = *(after - 1);
    return line + (i - bar);
  }

  PriceFileResult& result_;
  bool semicolon_;
  // Each bar's line, for the duplicate warnings: (bar, line) where a bar's
  // line is not the one after its predecessor's, the others implied; all of
  // them in lines_ once the bars are sorted.
  std::vector<std::pair<std::size_t, std::uint64_t>> jumps_;
  std::uint64_t lastLine_ = 0;
  std::vector<std::uint64_t> lines_;
  std::vector<std::pair<std::uint64_t, std::string>> bad_;  // until Finish
};

// The bytes [begin, end) of a file, read with pread, so that two readers can
// share one descriptor. A failed read raises std::system_error, as the
// descriptor buffer's does.
class RangeBuffer : public std::streambuf {
 public:
  RangeBuffer(int fd, std::uint64_t begin, std::uint64_t end) : fd_(fd), next_(begin), end_(end), block_(1 << 20) {}

 protected:
  int_type underflow() override {
    if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
    while (next_ < end_) {
      const ssize_t got = ::pread(fd_, block_.data(), static_cast<std::size_t>(std::min<std::uint64_t>(block_.size(), end_ - next_)),
                                  static_cast<off_t>(next_));
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) {
        error_ = errno;
        throw std::system_error(error_, std::generic_category());
      }
      if (got == 0) break;  // the file became shorter
      next_ += static_cast<std::uint64_t>(got);
      setg(block_.data(), block_.data(), block_.data() + got);
      return traits_type::to_int_type(*gptr());
    }
    return traits_type::eof();
  }
  std::streamsize showmanyc() override { return next_ < end_ ? static_cast<std::streamsize>(end_ - next_) : -1; }

 public:
  int Error() const { return error_; }

 private:
  int error_ = 0;
  int fd_;
  std::uint64_t next_, end_;
  std::vector<char> block_;
};

// Reads records into the collector until the input ends; the first record
// sets the layout when `layout` is not known yet. False when a header
// without prices ends the reading.
struct RecordsRead {
  bool prices = true;          // false: a header without prices ended the reading
  bool lastRecordBad = false;  // the last record broke the quoting rules or the cap
};
RecordsRead ReadRecords(CsvReader& reader, BarCollector& collector, std::optional<Layout>& layout,
                        std::uint64_t maxRecords = UINT64_MAX) {
  RecordsRead read;
  CsvRecord record;
  for (std::uint64_t records = 0; records < maxRecords && reader.Next(record); ++records) {
    read.lastRecordBad = !record.error.empty();
    if (!layout) {
      if (record.error.empty() && !ParsePriceTime(Cell(record, 0))) {
        layout = LayoutFromHeader(record);
        if (layout->close == kNone) {  // no prices to read
          read.prices = false;
          return read;
        }
        continue;
      }
      layout = LayoutWithoutHeader(record);
    }
    collector.Take(record, *layout);
  }
  return read;
}

// Files this large are read in two halves at once, on two cores.
constexpr std::uint64_t kTwoPartBytes = std::uint64_t(4) << 20;

// The two halves of a large file, split at the first line end after the
// middle: the second is read on a thread of its own with the layout the
// first line gave, its lines numbered on from the first half's, and its
// rows appended to the first half's before the order and duplicate rules,
// which gives what one pass gives. nullopt where the split could lie inside
// a quoted field or a record beyond the cap (the last record of the first
// half is bad): the caller then reads the file in one pass.
std::optional<PriceFileResult> ReadInTwoParts(int fd, std::uint64_t size, int& readErrno) {
  std::vector<char> window(std::size_t(1) << 16);
  const std::uint64_t middle = size / 2;
  const ssize_t got = ::pread(fd, window.data(), window.size(), static_cast<off_t>(middle));
  if (got <= 0) return std::nullopt;
  const void* newline = std::memchr(window.data(), '\n', static_cast<std::size_t>(got));
  if (newline == nullptr) return std::nullopt;
  const std::uint64_t split = middle + static_cast<std::uint64_t>(static_cast<const char*>(newline) - window.data()) + 1;
  if (split >= size) return std::nullopt;

  PriceFileResult result;
  char separator = ',';
  {
    RangeBuffer firstLine(fd, 0, split);
    std::string taken;
    try {
      separator = TakeSeparator(&firstLine, taken);
    } catch (const std::system_error& error) {
      readErrno = error.code().value();
      result.readFailed = true;
      return result;
    }
  }
  // The first half from its start again: pread makes that cheap, and its
  // bytes then reach the reader without a replay copy.
  RangeBuffer first(fd, 0, split);
  std::istream firstInput(&first);
  CsvReader firstReader(firstInput, separator);
  BarCollector collector(result, separator == ';');
  std::optional<Layout> layout;
  // The first two records: the layout, and a row to tell the rows' length by.
  if (!ReadRecords(firstReader, collector, layout, 2).prices || !layout) {
    if (layout) collector.Finish();
    return layout ? std::optional(std::move(result)) : std::nullopt;
  }
  // Rows are about as long as the first: room for all of them in the first
  // half's columns, which take the second half's at the end.
  const std::uint64_t rowBytes = std::max<std::uint64_t>(firstReader.LastRecordBytes() + 1, 8);
  collector.Reserve(static_cast<std::size_t>(size / rowBytes + size / rowBytes / 16 + 16));

  PriceFileResult secondResult;
  BarCollector secondCollector(secondResult, separator == ';');
  secondCollector.Reserve(static_cast<std::size_t>((size - split) / rowBytes + (size - split) / rowBytes / 16 + 16));
  RangeBuffer second(fd, split, size);
  bool secondFailed = false;
  std::exception_ptr secondError;  // raised on its thread (out of memory), raised again here
  std::thread secondHalf([&] {
    try {
      std::istream input(&second);
      CsvReader reader(input, separator);
      reader.StartAtLine(1);
      std::optional<Layout> known = layout;
      ReadRecords(reader, secondCollector, known);
      secondFailed = reader.Failed() || input.bad();
    } catch (...) {
      secondError = std::current_exception();
    }
  });
  RecordsRead firstRead;
  bool firstFailed = false;
  try {
    firstRead = ReadRecords(firstReader, collector, layout);
    firstFailed = firstReader.Failed() || firstInput.bad();
  } catch (...) {
    secondHalf.join();
    throw;
  }
  secondHalf.join();
  if (secondError) std::rethrow_exception(secondError);
  if (firstFailed || secondFailed) {
    readErrno = first.Error() != 0 ? first.Error() : second.Error() != 0 ? second.Error() : EIO;
    result.readFailed = true;
    return result;
  }
  if (firstRead.lastRecordBad) return std::nullopt;
  collector.Absorb(secondCollector, firstReader.Line() - 1);
  collector.Finish();
  return result;
}

}  // namespace

PriceFileResult ReadPriceBars(std::istream& input) {
  PriceFileResult result;
  std::string taken;
  char separator = ',';
  try {
    separator = TakeSeparator(input.rdbuf(), taken);
  } catch (const std::system_error& error) {  // a read error of the descriptor below
    result.readFailed = true;
    result.readErrno = error.code().value();
    return result;
  }
  ReplayBuffer replay(std::move(taken), input.rdbuf());
  std::istream replayed(&replay);
  CsvReader reader(replayed, separator);
  BarCollector collector(result, separator == ';');
  std::optional<Layout> layout;
  ReadRecords(reader, collector, layout);
  result.readFailed = reader.Failed() || input.bad();
  collector.Finish();
  return result;
}

PriceFileRead ReadPriceFile(const std::string& path) {
  PriceFileRead read;
  const auto cannotRead = [&](int error) {
    read.error = "cannot read " + messages::QuotedText(path) + ": " + std::strerror(error);
    return read;
  };
  platform::UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.IsOpen()) return cannotRead(errno);
  struct stat status {};
  int readErrno = 0;
  std::optional<PriceFileResult> halves;
  if (fstat(fd.Get(), &status) == 0 && S_ISREG(status.st_mode) &&
      static_cast<std::uint64_t>(status.st_size) >= kTwoPartBytes && std::thread::hardware_concurrency() >= 2)
    halves = ReadInTwoParts(fd.Get(), static_cast<std::uint64_t>(status.st_size), readErrno);
  if (halves) {
    read.result = std::move(*halves);
  } else {
    platform::DescriptorBuffer buffer(fd.Get(), platform::DescriptorBuffer::Direction::Read);
    std::istream input(&buffer);
    read.result = ReadPriceBars(input);
    readErrno = buffer.Error();
  }
  if (readErrno != 0 || read.result.readFailed) {
    read.result.readFailed = true;
    read.result.readErrno = readErrno != 0 ? readErrno : EIO;
    return cannotRead(read.result.readErrno);
  }
  if (read.result.bars.Size() == 0) read.error = messages::FormatMessage(kNoPriceBarsMessage, path);
  return read;
}

}  // namespace tavimo
