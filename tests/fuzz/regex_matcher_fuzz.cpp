// Patterns and subjects from arbitrary bytes: one byte of options, the
// pattern up to the first NUL, the subject after it. Checked: a search ends
// (the matcher bounds the engine's work, so no input hangs), a refused
// pattern raises Exception with the offset-and-reason message, after which
// the matcher holds no pattern and still works; a match lies inside the
// subject; searching again gives the same answer without compiling again;
// the ratio text check refuses exactly the bytes outside its set.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "regex/RatioTextPattern.h"
#include "regex/RegExMatcher.h"
#include "runtime/Exceptions.h"

namespace {

using tavimo::TRegExMatcher;
using tavimo::TRegExMatcherOption;
using tavimo::TRegExMatcherOptions;

constexpr std::string_view kMissing = "TRegExMatcher.Compile() - Please specify a regular expression in RegEx first";
constexpr std::string_view kErrorPrefix = "TRegExMatcher.Compile() - Error in regex at offset ";

// "<prefix><offset>: <reason>" with a decimal offset within the pattern and
// a reason of its own.
bool IsCompileError(std::string_view message, std::size_t patternSize) {
  if (!message.starts_with(kErrorPrefix)) return false;
  message.remove_prefix(kErrorPrefix.size());
  std::size_t digits = 0;
  unsigned long long offset = 0;
  while (digits < message.size() && message[digits] >= '0' && message[digits] <= '9' && digits < 12)
    offset = offset * 10 + static_cast<unsigned>(message[digits++] - '0');
  if (digits == 0 || offset > patternSize) return false;
  message.remove_prefix(digits);
  return message.starts_with(": ") && message.size() > 2;
}

bool Allowed(char c) { return (c >= '0' && c <= '9') || c == '^' || c == '.' || c == ',' || c == '/'; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tavimo::fuzz::ByteReader input(data, size);
  const std::uint8_t optionBits = input.Byte();
  const std::string_view pattern = input.Until('\0');
  const std::string_view subject = input.Rest();
  const std::string note = "pattern " + std::string(pattern) + " | subject " + std::string(subject);

  TRegExMatcherOptions options;
  for (int option = tavimo::preCaseLess; option <= tavimo::preNoAutoCapture; ++option)
    if (optionBits & (1u << option)) options.Include(static_cast<TRegExMatcherOption>(option));

  TRegExMatcher matcher;
  matcher.SetOptions(options);
  matcher.SetSubject(subject);
  matcher.SetRegEx(pattern);
  bool found = false;
  try {
    found = matcher.Match();
  } catch (const tavimo::Exception& error) {
    TAVIMO_FUZZ_CHECK(pattern.empty() ? error.Message() == kMissing : IsCompileError(error.Message(), pattern.size()),
                      note + " | " + error.Message());
    TAVIMO_FUZZ_CHECK(!matcher.Compiled(), note);
    // Still usable: another expression compiles and matches.
    matcher.SetOptions({});
    matcher.SetRegEx("a+");
    matcher.SetSubject("xaay");
    TAVIMO_FUZZ_CHECK(matcher.Match() && matcher.Offset(0) == 2 && matcher.Offset(1) == 4, note);
    return 0;
  }
  TAVIMO_FUZZ_CHECK(matcher.Compiled(), note);
  if (found) {
    TAVIMO_FUZZ_CHECK(matcher.OffsetCount() > 0, note);
    TAVIMO_FUZZ_CHECK(1 <= matcher.Offset(0) && matcher.Offset(0) <= matcher.Offset(1) &&
                          static_cast<std::size_t>(matcher.Offset(1)) <= subject.size() + 1,
                      note);
  } else {
    TAVIMO_FUZZ_CHECK(matcher.OffsetCount() <= 0, note);
  }
  const int compiles = matcher.CompileCount();
  matcher.SetRegEx(pattern);
  TAVIMO_FUZZ_CHECK(matcher.Match() == found && matcher.CompileCount() == compiles, note);

  // The settings command's check over the same subject.
  bool forbidden = false;
  for (char c : subject) forbidden = forbidden || !Allowed(c);
  TAVIMO_FUZZ_CHECK(tavimo::RatioTextHasForbiddenCharacter(subject) == forbidden, note);
  return 0;
}
