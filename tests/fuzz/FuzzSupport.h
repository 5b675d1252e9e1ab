#pragma once
// Shared pieces of the fuzz harnesses: a failed property aborts with a
// readable note (libFuzzer then saves the input), and a small reader that
// cuts the input bytes into the parts a harness needs.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace tavimo::fuzz {

// Bytes as C-style escapes, so that a note shows blanks, NULs and high bytes.
inline std::string Printable(std::string_view bytes, std::size_t limit = 400) {
  std::string out;
  for (std::size_t i = 0; i < bytes.size() && i < limit; ++i) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    if (c >= 0x20 && c < 0x7F && c != '\\') {
      out.push_back(static_cast<char>(c));
    } else {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%02X", c);
      out += escape;
    }
  }
  if (bytes.size() > limit) out += "...";
  return out;
}

[[noreturn]] inline void Fail(const char* property, std::string_view detail, int line = 0) {
  std::fprintf(stderr, "\nproperty failed (line %d): %s\n  %s\n", line, property, Printable(detail, 2000).c_str());
  std::fflush(stderr);
  std::abort();
}

#define TAVIMO_FUZZ_CHECK(condition, detail)                      \
  do {                                                            \
    if (!(condition)) ::tavimo::fuzz::Fail(#condition, (detail), __LINE__); \
  } while (0)

// Hands out the input front to back; a part asked for beyond the end is
// short or empty, never an error.
class ByteReader {
 public:
  ByteReader(const std::uint8_t* data, std::size_t size)
      : rest_(reinterpret_cast<const char*>(data), size) {}

  std::uint8_t Byte() {
    if (rest_.empty()) return 0;
    const auto byte = static_cast<std::uint8_t>(rest_.front());
    rest_.remove_prefix(1);
    return byte;
  }
  std::string_view Bytes(std::size_t count) {
    const std::string_view part = rest_.substr(0, count);
    rest_.remove_prefix(part.size());
    return part;
  }
  // Up to the next `separator` byte, which is consumed and not returned.
  std::string_view Until(char separator) {
    const std::size_t at = rest_.find(separator);
    const std::string_view part = rest_.substr(0, at);
    rest_.remove_prefix(at == std::string_view::npos ? rest_.size() : at + 1);
    return part;
  }
  std::string_view Rest() {
    const std::string_view part = rest_;
    rest_ = {};
    return part;
  }
  bool Empty() const { return rest_.empty(); }

 private:
  std::string_view rest_;
};

}  // namespace tavimo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
