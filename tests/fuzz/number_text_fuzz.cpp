// Decimal and integer text from arbitrary bytes, under three sets of
// separators. Checked: the scanner and the raising parser agree, their
// messages quote the text unchanged, acceptance and value follow the text's
// grammar (against the C library's reading), a double printed with 18
// digits reads back to itself and prints the same again, and no call leaves
// a trace in the x87 control word or flags.

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "X87State.h"
#include "runtime/Exceptions.h"
#include "runtime/FloatFaults.h"
#include "runtime/Messages.h"
#include "runtime/NumberFormat.h"
#include "runtime/NumberParse.h"

namespace {

using tavimo::NumberFormatSettings;
using tavimo::fuzz::ReadX87State;
using tavimo::fuzz::X87State;

const NumberFormatSettings kSettings[] = {
    {".", ","},
    {",", "."},
    {"\xD9\xAB", ""},  // a two-byte decimal separator and no grouping
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// What the grammar of decimal text says about `text`: nothing when it is
// rejected, else the same number spelled for strtold, with its digit count
// and the power of ten the scanner applies.
struct Reading {
  std::string cText;
  std::size_t digits = 0;
  long exponent = 0;  // +-X - F
};

std::optional<Reading> ReadByGrammar(std::string_view text, std::string_view separator) {
  text = text.substr(0, text.find('\0'));
  Reading reading;
  std::size_t p = 0;
  while (p < text.size() && text[p] == ' ') ++p;
  std::string sign;
  if (p < text.size() && (text[p] == '+' || text[p] == '-')) sign = text[p++];
  std::string mantissa;
  bool consumed = false;
  while (p < text.size() && IsDigit(text[p])) mantissa += text[p++], consumed = true;
  long fraction = 0;
  if (text.substr(p).starts_with(separator)) {
    p += separator.size();
    consumed = true;
    mantissa += '.';
    while (p < text.size() && IsDigit(text[p])) mantissa += text[p++], ++fraction;
  }
  if (!consumed) return std::nullopt;
  long exponent = 0;
  bool negativeExponent = false;
  if (p < text.size() && (text[p] == 'e' || text[p] == 'E')) {
    ++p;
    if (p < text.size() && (text[p] == '+' || text[p] == '-')) negativeExponent = text[p++] == '-';
    while (p < text.size() && IsDigit(text[p])) {
      exponent = exponent * 10 + (text[p++] - '0');
      if (exponent >= 500) break;
    }
  }
  while (p < text.size() && text[p] == ' ') ++p;
  if (p != text.size()) return std::nullopt;
  for (char c : mantissa) reading.digits += IsDigit(c);
  if (reading.digits == 0) mantissa = "0";
  reading.exponent = (negativeExponent ? -exponent : exponent) - fraction;
  reading.cText = sign + mantissa + "e" + (negativeExponent ? "-" : "") + std::to_string(exponent);
  return reading;
}

void CheckFloatText(std::string_view text, const NumberFormatSettings& settings) {
  const std::string note = std::string(text) + " | separator " + settings.decimalSeparator;
  long double scanned = 0;
  X87State before = ReadX87State();
  const bool accepted = tavimo::ScanFloatText(text, scanned, settings);
  TAVIMO_FUZZ_CHECK(ReadX87State() == before, note);

  before = ReadX87State();
  try {
    const long double parsed = tavimo::ParseFloatText(text, settings);
    TAVIMO_FUZZ_CHECK(ReadX87State() == before, note);
    TAVIMO_FUZZ_CHECK(accepted, note);
    TAVIMO_FUZZ_CHECK(std::memcmp(&parsed, &scanned, 10) == 0, note);
  } catch (const tavimo::EConvertError& error) {
    TAVIMO_FUZZ_CHECK(ReadX87State() == before, note);
    TAVIMO_FUZZ_CHECK(!accepted, note);
    TAVIMO_FUZZ_CHECK(error.Message() == tavimo::messages::FormatMessage(tavimo::messages::kInvalidFloat, text),
                      note + " | " + error.Message());
  }

  const std::optional<Reading> reading = ReadByGrammar(text, settings.decimalSeparator);
  if (!reading) {
    TAVIMO_FUZZ_CHECK(!accepted, note);
  } else if (reading->exponent <= -5120) {
    TAVIMO_FUZZ_CHECK(accepted && scanned == 0, note);
  } else if (reading->digits <= 400) {
    const long double reference = std::strtold(reading->cText.c_str(), nullptr);
    const long double magnitude = std::fabs(reference);
    if (magnitude == 0 || (magnitude >= 1e-4900L && magnitude <= 1e4900L)) {
      TAVIMO_FUZZ_CHECK(accepted, note);
      TAVIMO_FUZZ_CHECK(std::fabs(scanned - reference) <= 1e-16L * magnitude, note + " | " + reading->cText);
      TAVIMO_FUZZ_CHECK(std::signbit(scanned) == std::signbit(reference), note);
    } else if (magnitude < 1e-4900L) {
      TAVIMO_FUZZ_CHECK(accepted && std::fabs(scanned) < 1e-4890L, note);
    }
  }
  if (!accepted || !std::isfinite(scanned)) return;

  // Every double survives 18 significant digits.
  double stored;
  try {
    stored = tavimo::StoreAsDouble(scanned);
  } catch (const tavimo::EOverflow&) {
    TAVIMO_FUZZ_CHECK(std::fabs(scanned) > DBL_MAX, note);
    return;
  }
  // Widened before the state is read: widening a denormal double raises
  // the caller's own denormal flag.
  long double widened = stored;
  asm volatile("" : "+m"(widened));
  before = ReadX87State();
  const std::string printed = tavimo::FormatFloatGeneral(widened, 18, settings);
  TAVIMO_FUZZ_CHECK(ReadX87State() == before, note);
  long double reread = 0;
  TAVIMO_FUZZ_CHECK(tavimo::ScanFloatText(printed, reread, settings), note + " | printed " + printed);
  TAVIMO_FUZZ_CHECK(static_cast<double>(reread) == stored, note + " | printed " + printed);
  const std::string reprinted = tavimo::FormatFloatGeneral(reread, 18, settings);
  TAVIMO_FUZZ_CHECK(reprinted == printed, note + " | printed " + printed + " then " + reprinted);

  // Precision is clamped to 2 ... 18.
  TAVIMO_FUZZ_CHECK(tavimo::FormatFloatGeneral(scanned, 0, settings) == tavimo::FormatFloatGeneral(scanned, 2, settings),
                    note);
  TAVIMO_FUZZ_CHECK(tavimo::FormatFloatGeneral(scanned, 40, settings) == tavimo::FormatFloatGeneral(scanned, 18, settings),
                    note);
}

// The integer grammar, with the value worked out in 64 bits.
std::optional<std::int32_t> ReadIntegerByGrammar(std::string_view text) {
  std::size_t p = 0;
  while (p < text.size() && text[p] == ' ') ++p;
  bool negative = false;
  if (p < text.size() && (text[p] == '+' || text[p] == '-')) negative = text[p++] == '-';
  if (p == text.size()) return std::nullopt;
  std::uint64_t value = 0;
  const bool hex = text[p] == '$' || text[p] == 'x' || text[p] == 'X' ||
                   (text[p] == '0' && p + 1 < text.size() && (text[p + 1] == 'x' || text[p + 1] == 'X'));
  if (hex) {
    p += text[p] == '0' ? 2 : 1;
    if (p == text.size()) return std::nullopt;
    for (; p < text.size(); ++p) {
      const char c = text[p];
      int digit;
      if (IsDigit(c)) digit = c - '0';
      else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
      else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
      else return std::nullopt;
      value = value * 16 + static_cast<std::uint64_t>(digit);
      if (value > 0xFFFFFFFFu) return std::nullopt;
    }
    const auto bits = static_cast<std::uint32_t>(value);
    return static_cast<std::int32_t>(negative ? 0u - bits : bits);
  }
  for (; p < text.size(); ++p) {
    if (!IsDigit(text[p])) return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(text[p] - '0');
    if (value > 0xFFFFFFFFu) return std::nullopt;
  }
  if (negative) {
    if (value > 2147483648u) return std::nullopt;
    return static_cast<std::int32_t>(-static_cast<std::int64_t>(value));
  }
  if (value > 2147483647u) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

void CheckIntegerText(std::string_view text) {
  const std::optional<std::int32_t> expected = ReadIntegerByGrammar(text);
  try {
    const std::int32_t value = tavimo::ParseIntegerText(text);
    TAVIMO_FUZZ_CHECK(expected && *expected == value, std::string(text) + " | " + std::to_string(value));
  } catch (const tavimo::EConvertError& error) {
    TAVIMO_FUZZ_CHECK(!expected, std::string(text));
    TAVIMO_FUZZ_CHECK(error.Message() == tavimo::messages::FormatMessage(tavimo::messages::kInvalidInteger, text),
                      std::string(text) + " | " + error.Message());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (std::uint16_t flags : tavimo::fuzz::CallerFlags(data, size)) {
    for (const NumberFormatSettings& settings : kSettings) {
      tavimo::fuzz::SetX87Flags(flags);
      CheckFloatText(text, settings);
    }
  }
  CheckIntegerText(text);
  return 0;
}
