#include "runtime/CsvReader.h"

#include <algorithm>
#include <cstring>

namespace tavimo {

namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

std::uint64_t CountLineBreaks(const char* begin, const char* end) {
  return static_cast<std::uint64_t>(std::count(begin, end, '\n'));
}

}  // namespace

CsvReader::CsvReader(std::istream& input, std::size_t blockSize)
    : input_(input), blockSize_(std::max<std::size_t>(blockSize, 16)), buffer_(blockSize_) {}

bool CsvReader::Refill() {
  if (atEnd_) return false;
  if (begin_ != 0) {
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  // Only a record longer than the whole buffer makes it grow.
  if (end_ == buffer_.size()) buffer_.resize(buffer_.size() * 2);
  input_.read(buffer_.data() + end_, static_cast<std::streamsize>(buffer_.size() - end_));
  const auto got = static_cast<std::size_t>(input_.gcount());
  end_ += got;
  if (input_.bad()) failed_ = true;
  if (got == 0 || !input_) atEnd_ = true;
  return got != 0;
}

bool CsvReader::Parse(CsvRecord& record, std::size_t& consumed, std::uint64_t& lineBreaks) {
  const char* const start = buffer_.data() + begin_;
  const char* const end = buffer_.data() + end_;
  const char* p = start;
  const char* rawEnd = nullptr;
  bool quotedAny = false;
  values_.clear();
  bounds_.clear();
  lineBreaks = 0;
  for (;;) {
    bounds_.push_back(values_.size());
    if (p < end && *p == '"') {
      quotedAny = true;
      ++p;
      for (;;) {
        const auto* quote = static_cast<const char*>(std::memchr(p, '"', static_cast<std::size_t>(end - p)));
        if (quote == nullptr) {
          if (!atEnd_) return false;
          lineBreaks += CountLineBreaks(p, end);
          values_.append(p, end);
          p = end;
          break;
        }
        lineBreaks += CountLineBreaks(p, quote);
        values_.append(p, quote);
        p = quote + 1;
        // A quote at the end of the buffer may be the first of a pair.
        if (p == end && !atEnd_) return false;
        if (p < end && *p == '"') {
          values_ += '"';
          ++p;
          continue;
        }
        break;
      }
    }
    // An unquoted field, or what follows a closing quote up to the separator.
    const char* stop = p;
    while (stop < end && *stop != ',' && *stop != '\n') ++stop;
    if (stop == end && !atEnd_) return false;
    const bool lineEnd = stop < end && *stop == '\n';
    const char* valueEnd = stop;
    if (lineEnd && stop > p && stop[-1] == '\r') --valueEnd;
    values_.append(p, valueEnd);
    bounds_.push_back(values_.size());
    if (stop < end && *stop == ',') {
      p = stop + 1;
      continue;
    }
    rawEnd = valueEnd;
    p = lineEnd ? stop + 1 : stop;
    if (lineEnd) ++lineBreaks;
    break;
  }
  consumed = static_cast<std::size_t>(p - start);
  record.raw = std::string_view(start, static_cast<std::size_t>(rawEnd - start));
  record.fields.clear();
  // An empty line holds no record at all.
  if (record.raw.empty() && !quotedAny) return true;
  for (std::size_t i = 0; i < bounds_.size(); i += 2)
    record.fields.emplace_back(values_.data() + bounds_[i], bounds_[i + 1] - bounds_[i]);
  return true;
}

bool CsvReader::Next(CsvRecord& record) {
  if (!started_) {
    started_ = true;
    while (end_ - begin_ < 3 && Refill()) {
    }
    if (end_ - begin_ >= 3 && std::memcmp(buffer_.data() + begin_, kByteOrderMark, 3) == 0) begin_ += 3;
  }
  for (;;) {
    if (begin_ == end_ && (atEnd_ || !Refill())) return false;
    std::size_t consumed = 0;
    std::uint64_t lineBreaks = 0;
    if (!Parse(record, consumed, lineBreaks)) {
      Refill();
      continue;
    }
    begin_ += consumed;
    record.line = line_;
    line_ += lineBreaks;
    if (!record.fields.empty()) return true;
  }
}

}  // namespace tavimo
