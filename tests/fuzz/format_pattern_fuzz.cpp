// Patterns and values from arbitrary bytes: ten bytes of an 80-bit value
// (unnormals, pseudo-denormals and NaN payloads included), one byte choosing
// the separators and the precision, the rest the pattern. Checked: only an
// over-long pattern raises, and only "Format string too long"; an empty
// first section prints the general form; the decimal digits keep their
// shape; no call leaves a trace in the x87 control word or flags.

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "X87State.h"
#include "runtime/DecimalDigits.h"
#include "runtime/Exceptions.h"
#include "runtime/Messages.h"
#include "runtime/NumberFormat.h"

namespace {

using tavimo::NumberFormatSettings;
using tavimo::fuzz::ReadX87State;
using tavimo::fuzz::X87State;

const NumberFormatSettings kSettings[] = {
    {".", ","},
    {",", "."},
    {"\xD9\xAB", "\xE2\x80\xAF"},  // multi-byte separators
    {".", ""},
};

std::string Describe(long double value, std::string_view pattern) {
  unsigned char bytes[10];
  std::memcpy(bytes, &value, 10);
  std::string note = "value bytes";
  for (unsigned char b : bytes) note += " " + std::to_string(b);
  return note + " | pattern " + std::string(pattern);
}

void CheckDigits(const tavimo::DecimalDigits& d, const std::string& note) {
  if (d.exponent == tavimo::DecimalDigits::kInfinity || d.exponent == tavimo::DecimalDigits::kNaN) return;
  const std::size_t count = strnlen(d.digits, sizeof d.digits);
  TAVIMO_FUZZ_CHECK(count <= 18, note);
  for (std::size_t i = 0; i < count; ++i) TAVIMO_FUZZ_CHECK(d.digits[i] >= '0' && d.digits[i] <= '9', note);
  if (count > 0) {
    TAVIMO_FUZZ_CHECK(d.digits[0] != '0' && d.digits[count - 1] != '0', note);
    TAVIMO_FUZZ_CHECK(d.exponent > -4960 && d.exponent < 4960, note);
  }
}

void Check(long double value, std::string_view pattern, const NumberFormatSettings& settings, int precision,
           std::uint8_t choice, const std::string& note) {
  X87State before = ReadX87State();
  std::string text;
  try {
    text = tavimo::FormatFloatPattern(pattern, value, settings);
    TAVIMO_FUZZ_CHECK(pattern.size() <= 224, note);
  } catch (const tavimo::EConvertError& error) {
    TAVIMO_FUZZ_CHECK(pattern.size() > 224, note);
    TAVIMO_FUZZ_CHECK(error.Message() == tavimo::messages::kFormatTooLong, note + " | " + error.Message());
  }
  TAVIMO_FUZZ_CHECK(ReadX87State() == before, note);

  before = ReadX87State();
  const std::string general = tavimo::FormatFloatGeneral(value, precision, settings);
  TAVIMO_FUZZ_CHECK(ReadX87State() == before, note);
  TAVIMO_FUZZ_CHECK(!general.empty(), note);
  // An empty first section means the general form only for the values that
  // use it: positive ones (a negative value or zero has its own section).
  const bool usesFirstSection = !std::signbit(value) && value != 0;
  if (pattern.size() <= 224 && (pattern.empty() || pattern.front() == ';') && usesFirstSection)
    TAVIMO_FUZZ_CHECK(text == tavimo::FormatFloatGeneral(value, 15, settings), note + " | " + text);

  before = ReadX87State();
  const tavimo::DecimalDigits digits = tavimo::ToDecimalDigits(value, precision, choice % 40 - 20);
  TAVIMO_FUZZ_CHECK(ReadX87State() == before, note);
  CheckDigits(digits, note);
  CheckDigits(tavimo::ToDecimalDigits(value, 18, 9999), note);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tavimo::fuzz::ByteReader input(data, size);
  long double value = 0;
  const std::string_view valueBytes = input.Bytes(10);
  std::memcpy(&value, valueBytes.data(), valueBytes.size());
  const std::uint8_t choice = input.Byte();
  const NumberFormatSettings& settings = kSettings[choice % std::size(kSettings)];
  const int precision = static_cast<int>(choice / std::size(kSettings)) % 24 - 2;
  const std::string_view pattern = input.Rest();
  const std::string note = Describe(value, pattern);
  for (std::uint16_t flags : tavimo::fuzz::CallerFlags(data, size)) {
    tavimo::fuzz::SetX87Flags(flags);
    Check(value, pattern, settings, precision, choice, note + " | caller flags " + std::to_string(flags));
  }
  return 0;
}

