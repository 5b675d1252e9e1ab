#include "runtime/CsvReader.h"

#include <algorithm>
#include <cstring>

namespace tavimo {

namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }

}  // namespace

CsvReader::CsvReader(std::istream& input, char separator, std::size_t blockSize)
    : input_(input),
      separator_(separator),
      blockSize_(std::clamp<std::size_t>(blockSize, 16, kMaxRecordBytes)),
      buffer_(blockSize_) {
  for (const char c : {separator, '"', '\n', '\r'}) stops_[static_cast<unsigned char>(c)] = true;
}

bool CsvReader::ParseUnquoted(CsvRecord& record, std::size_t& consumed, std::uint64_t& lineBreaks,
                              ParseResult& result) {
  const char* const start = buffer_.data() + begin_;
  const char* const end = buffer_.data() + end_;
  record.fields.clear();
  const char* field = start;
  const char* p = start;
  for (;;) {
    while (p != end && !stops_[static_cast<unsigned char>(*p)]) ++p;
    if (p == end) {
      if (!atEnd_) {
        result = ParseResult::NeedMore;
        return true;
      }
      break;
    }
    if (*p == separator_) {
      record.fields.emplace_back(field, static_cast<std::size_t>(p - field));
      field = ++p;
      continue;
    }
    if (*p == '"') return false;
    break;
  }
  if (static_cast<std::size_t>(p - start) > kMaxRecordBytes) {
    result = ParseResult::TooLong;
    return true;
  }
  const char* const rawEnd = p;
  record.fields.emplace_back(field, static_cast<std::size_t>(p - field));
  lineBreaks = 0;
  if (p != end) {
    // A CR at the end of the buffer may be the first half of CRLF.
    if (*p == '\r' && p + 1 == end && !atEnd_) {
      result = ParseResult::NeedMore;
      return true;
    }
    if (*p == '\r' && p + 1 < end && p[1] == '\n') ++p;
    ++p;
    lineBreaks = 1;
  }
  consumed = static_cast<std::size_t>(p - start);
  record.raw = std::string_view(start, static_cast<std::size_t>(rawEnd - start));
  record.error = {};
  // An empty line holds no record at all.
  if (record.raw.empty()) record.fields.clear();
  result = ParseResult::Record;
  return true;
}

std::uint64_t CsvReader::CountLineBreaks(const char* begin, const char* end) const {
  const char* const bufferEnd = buffer_.data() + end_;
  std::uint64_t breaks = 0;
  for (const char* p = begin; p < end; ++p) {
    if (*p == '\n') ++breaks;
    // A CR followed by LF is one line end, counted at the LF.
    else if (*p == '\r' && (p + 1 == bufferEnd || p[1] != '\n')) ++breaks;
  }
  return breaks;
}

bool CsvReader::Refill(bool mayWait) {
  if (atEnd_) return false;
  if (begin_ != 0) {
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  // Only a long record makes the buffer grow, and never much beyond the cap.
  if (end_ == buffer_.size()) buffer_.resize(std::min(buffer_.size() * 2, kMaxRecordBytes + blockSize_));
  std::streambuf* source = input_.rdbuf();
  if (source == nullptr) {
    atEnd_ = true;
    return false;
  }
  if (source->in_avail() <= 0) {
    if (!mayWait) return false;
    if (beforeWait_) beforeWait_();
    // One read of what arrives; a stream buffer that throws marks the stream bad.
    if (std::istream::traits_type::eq_int_type(input_.peek(), std::istream::traits_type::eof())) {
      atEnd_ = true;
      failed_ = input_.bad();
      return false;
    }
  }
  const std::size_t room = std::min(buffer_.size() - end_, blockSize_);
  const std::streamsize got = input_.readsome(buffer_.data() + end_, static_cast<std::streamsize>(room));
  if (input_.bad()) {
    atEnd_ = failed_ = true;
    return false;
  }
  end_ += static_cast<std::size_t>(std::max<std::streamsize>(got, 0));
  return got > 0;
}

CsvReader::ParseResult CsvReader::Parse(CsvRecord& record, std::size_t& consumed, std::uint64_t& lineBreaks) {
  if (ParseResult result; ParseUnquoted(record, consumed, lineBreaks, result)) return result;
  const char* const start = buffer_.data() + begin_;
  const char* const end = buffer_.data() + end_;
  const char* p = start;
  const char* rawEnd = nullptr;
  bool quotedAny = false;
  std::string_view error;
  values_.clear();
  bounds_.clear();
  lineBreaks = 0;
  for (;;) {
    bounds_.push_back(values_.size());
    bool quoted = false;
    if (p < end && *p == '"') {
      quoted = quotedAny = true;
      ++p;
      for (;;) {
        const auto* quote = static_cast<const char*>(std::memchr(p, '"', static_cast<std::size_t>(end - p)));
        if (quote == nullptr) {
          if (!atEnd_) return ParseResult::NeedMore;
          lineBreaks += CountLineBreaks(p, end);
          values_.append(p, end);
          p = end;
          if (error.empty()) error = kCsvUnterminatedQuote;
          break;
        }
        lineBreaks += CountLineBreaks(p, quote);
        values_.append(p, quote);
        p = quote + 1;
        // A quote at the end of the buffer may be the first of a pair.
        if (p == end && !atEnd_) return ParseResult::NeedMore;
        if (p < end && *p == '"') {
          values_ += '"';
          ++p;
          continue;
        }
        break;
      }
    }
    // An unquoted field, or what follows a closing quote, up to the separator or a line end.
    const char* stop = p;
    while (stop < end && *stop != separator_ && !IsLineEnd(*stop)) ++stop;
    if (stop == end && !atEnd_) return ParseResult::NeedMore;
    if (stop != p && error.empty()) {
      if (quoted) error = kCsvTextAfterClosingQuote;
      else if (std::memchr(p, '"', static_cast<std::size_t>(stop - p)) != nullptr) error = kCsvQuoteInUnquotedField;
    }
    values_.append(p, stop);
    bounds_.push_back(values_.size());
    if (stop < end && *stop == separator_) {
      p = stop + 1;
      continue;
    }
    rawEnd = p = stop;
    if (stop < end) {
      // A CR at the end of the buffer may be the first half of CRLF.
      if (*stop == '\r' && stop + 1 == end && !atEnd_) return ParseResult::NeedMore;
      if (*stop == '\r' && stop + 1 < end && stop[1] == '\n') ++p;
      ++p;
      ++lineBreaks;
    }
    break;
  }
  if (static_cast<std::size_t>(rawEnd - start) > kMaxRecordBytes) return ParseResult::TooLong;
  consumed = static_cast<std::size_t>(p - start);
  record.raw = std::string_view(start, static_cast<std::size_t>(rawEnd - start));
  record.error = error;
  record.fields.clear();
  // An empty line holds no record at all.
  if (record.raw.empty() && !quotedAny) return ParseResult::Record;
  for (std::size_t i = 0; i < bounds_.size(); i += 2)
    record.fields.emplace_back(values_.data() + bounds_[i], bounds_[i + 1] - bounds_[i]);
  return ParseResult::Record;
}

void CsvReader::SkipToLineEnd() {
  for (;;) {
    const char* const from = buffer_.data() + begin_;
    const char* const end = buffer_.data() + end_;
    const char* lineEnd = std::find_if(from, end, IsLineEnd);
    if (lineEnd == end) {
      begin_ = end_;
      if (!Refill(true)) break;
      continue;
    }
    if (*lineEnd == '\r' && lineEnd + 1 == end && !atEnd_) {
      begin_ = static_cast<std::size_t>(lineEnd - buffer_.data());
      Refill(true);
      continue;
    }
    const bool crlf = *lineEnd == '\r' && lineEnd + 1 < end && lineEnd[1] == '\n';
    begin_ = static_cast<std::size_t>(lineEnd - buffer_.data()) + (crlf ? 2 : 1);
    ++line_;
    break;
  }
  skipping_ = false;
}

bool CsvReader::Next(CsvRecord& record) {
  if (!started_) {
    started_ = true;
    while (end_ - begin_ < 3 && Refill(true)) {
    }
    if (end_ - begin_ >= 3 && std::memcmp(buffer_.data() + begin_, kByteOrderMark, 3) == 0) begin_ += 3;
  }
  if (skipping_) SkipToLineEnd();
  for (;;) {
    // A record cut off by a failed read is not a record.
    if (failed_) return false;
    if (begin_ == end_ && !Refill(true)) return false;
    std::size_t consumed = 0;
    std::uint64_t lineBreaks = 0;
    ParseResult result = Parse(record, consumed, lineBreaks);
    if (result == ParseResult::NeedMore && end_ - begin_ > kMaxRecordBytes) result = ParseResult::TooLong;
    if (result == ParseResult::NeedMore) {
      // Wait for the rest once, then take what is already there, so that a
      // long record is parsed again only after its buffer has grown.
      if (Refill(true))
        while (end_ < buffer_.size() && Refill(false)) {
        }
      continue;
    }
    if (result == ParseResult::TooLong) {
      // The cap's bytes are dropped; the next line end after them resynchronises.
      const std::size_t dropped = kMaxRecordBytes - 1;
      record.line = line_;
      line_ += CountLineBreaks(buffer_.data() + begin_, buffer_.data() + begin_ + dropped);
      begin_ += dropped;
      skipping_ = true;
      record.fields.clear();
      record.raw = {};
      record.error = kCsvRecordTooLong;
      return true;
    }
    begin_ += consumed;
    record.line = line_;
    line_ += lineBreaks;
    lastRecordBytes_ = record.raw.size();
    if (!record.fields.empty()) return true;
  }
}

}  // namespace tavimo
