#pragma once
// Comma-separated records (RFC 4180) read from a stream in large blocks, one
// record at a time, so memory stays flat however long the input is: quoted
// fields with "" for a quote and embedded commas and line breaks, CRLF or LF
// line ends, a UTF-8 byte order mark at the very start skipped, empty lines
// skipped. A lone CR is data. An unterminated quote runs to the end of the
// input; text after a closing quote is kept in the field.

#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

namespace tavimo {

struct CsvRecord {
  std::vector<std::string_view> fields;  // unquoted values
  std::string_view raw;                  // the record's bytes as read, without its line end
  std::uint64_t line = 0;                // input line the record starts on, from 1
};

class CsvReader {
 public:
  explicit CsvReader(std::istream& input, std::size_t blockSize = std::size_t(1) << 20);

  // The next record; false at the end of the input. The record's views stay
  // valid until the next call.
  bool Next(CsvRecord& record);
  // The stream failed while reading (not the end of input).
  bool Failed() const { return failed_; }

 private:
  // Parses one record from the buffered bytes; false when they end before
  // the record does and more input may follow.
  bool Parse(CsvRecord& record, std::size_t& consumed, std::uint64_t& lineBreaks);
  // Moves the unread bytes to the front and reads another block; false at the end.
  bool Refill();

  std::istream& input_;
  std::size_t blockSize_;
  std::vector<char> buffer_;
  std::size_t begin_ = 0;  // first unread byte
  std::size_t end_ = 0;    // end of the buffered bytes
  bool atEnd_ = false;
  bool failed_ = false;
  bool started_ = false;
  std::uint64_t line_ = 1;
  std::string values_;               // the current record's unquoted field values
  std::vector<std::size_t> bounds_;  // field i is values_[bounds_[2i], bounds_[2i+1])
};

}  // namespace tavimo
