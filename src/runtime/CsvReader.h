#pragma once
// Separated records (RFC 4180, with a chosen separator) read from a stream in
// large blocks, one record at a time, so memory stays flat however long the
// input is: quoted fields with "" for a quote and embedded separators and
// line breaks, LF, CRLF or CR line ends, a UTF-8 byte order mark at the very
// start skipped, empty lines skipped. A record that breaks the quoting rules
// or exceeds kMaxRecordBytes comes back with its error set.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

namespace tavimo {

struct CsvRecord {
  std::vector<std::string_view> fields;  // unquoted values
  std::string_view raw;                  // the record's bytes as read, without its line end
  std::uint64_t line = 0;                // input line the record starts on, from 1
  std::string_view error;                // empty, or why the record is bad (e.g. "unterminated quote")
};

inline constexpr std::string_view kCsvUnterminatedQuote = "unterminated quote";
inline constexpr std::string_view kCsvQuoteInUnquotedField = "quote inside an unquoted field";
inline constexpr std::string_view kCsvTextAfterClosingQuote = "text after a closing quote";
inline constexpr std::string_view kCsvRecordTooLong = "record longer than 16 MiB";

class CsvReader {
 public:
  // A longer record is reported bad without being held; the reader then
  // skips to the next line end.
  static constexpr std::size_t kMaxRecordBytes = std::size_t(16) << 20;

  explicit CsvReader(std::istream& input, char separator = ',', std::size_t blockSize = std::size_t(1) << 20);

  // The next record; false at the end of the input (or when it failed). A bad
  // record is still returned, with its error set; the caller skips it. The
  // record's views stay valid until the next call.
  bool Next(CsvRecord& record);
  // The stream failed while reading (not the end of input).
  bool Failed() const { return failed_; }
  // Called just before a read that may wait for more input (the stream has
  // no bytes it can hand over at once): the moment to flush written output,
  // so that rows fed slowly through a pipe come out as they are made.
  void SetBeforeWait(std::function<void()> beforeWait) { beforeWait_ = std::move(beforeWait); }
  // For an input that continues another at a line start: its first line is
  // line `line`, and it has no byte order mark.
  void StartAtLine(std::uint64_t line) {
    line_ = line;
    started_ = true;
  }
  // The line the next record would start on.
  std::uint64_t Line() const { return line_; }
  // The raw bytes of the last record returned, without its line end.
  std::size_t LastRecordBytes() const { return lastRecordBytes_; }

 private:
  enum class ParseResult { Record, NeedMore, TooLong };
  // Parses one record from the buffered bytes.
  ParseResult Parse(CsvRecord& record, std::size_t& consumed, std::uint64_t& lineBreaks);
  // Parse for a record without any quote, the common case: its fields are
  // views of the buffer itself, nothing is copied. False when a quote comes
  // before the record's end, which Parse then reads.
  bool ParseUnquoted(CsvRecord& record, std::size_t& consumed, std::uint64_t& lineBreaks, ParseResult& result);
  // Moves the unread bytes to the front and reads what the stream has, at
  // most a block; false when nothing came: at the end, or when the read
  // would wait and mayWait is false.
  bool Refill(bool mayWait);
  // Drops bytes up to and including the next line end, after a record too long.
  void SkipToLineEnd();
  // Line ends (LF, CRLF or a lone CR) among [begin, end).
  std::uint64_t CountLineBreaks(const char* begin, const char* end) const;

  std::istream& input_;
  char separator_;
  std::array<bool, 256> stops_{};  // the separator, the quote and the line ends
  std::size_t blockSize_;
  std::vector<char> buffer_;
  std::size_t begin_ = 0;  // first unread byte
  std::size_t end_ = 0;    // end of the buffered bytes
  bool atEnd_ = false;
  bool failed_ = false;
  bool started_ = false;
  bool skipping_ = false;  // the rest of a record too long is still to be dropped
  std::uint64_t line_ = 1;
  std::size_t lastRecordBytes_ = 0;
  std::string values_;               // the current record's unquoted field values
  std::vector<std::size_t> bounds_;  // field i is values_[bounds_[2i], bounds_[2i+1])
  std::function<void()> beforeWait_;
};

}  // namespace tavimo
