// A settings file of arbitrary bytes, read for key "num" of section "tvmo".
// Checked: the value is at most 2047 bytes of one line of the file (or the
// default), the same whatever the case of the names, and unchanged when
// another section is put in front or every LF becomes CR LF.

#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "ScratchFiles.h"
#include "platform/ProfileFile.h"

namespace {

constexpr std::string_view kDefault = "\x01no value";

std::string ReadFrom(const std::string& path, std::string_view content, std::string_view section = "tvmo",
                     std::string_view key = "num") {
  if (!tavimo::fuzz::WriteBytes(path, content)) tavimo::fuzz::Fail("scratch file written", path);
  return tavimo::platform::ReadProfileString(path, section, key, kDefault);
}

std::string WithCrLf(std::string_view content) {
  std::string out;
  for (char c : content) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const tavimo::fuzz::ScratchDirectory directory;
  static const std::string path = directory.File("data.ini");
  const std::string_view content(reinterpret_cast<const char*>(data), size);

  const std::string value = ReadFrom(path, content);
  if (value != kDefault) {
    TAVIMO_FUZZ_CHECK(value.size() <= 2047, content);
    TAVIMO_FUZZ_CHECK(value.find('\n') == std::string::npos && value.find('\0') == std::string::npos, content);
    TAVIMO_FUZZ_CHECK(content.find(value) != std::string_view::npos, content);
  }
  TAVIMO_FUZZ_CHECK(ReadFrom(path, content, "TVMO", "NUM") == value, content);
  TAVIMO_FUZZ_CHECK(ReadFrom(path, content, "tVmO", "nUm") == value, content);
  if (!content.starts_with("\xEF\xBB\xBF"))
    TAVIMO_FUZZ_CHECK(ReadFrom(path, "[other]\nnum=other\n" + std::string(content)) == value, content);
  TAVIMO_FUZZ_CHECK(ReadFrom(path, WithCrLf(content)) == value, content);
  return 0;
}
