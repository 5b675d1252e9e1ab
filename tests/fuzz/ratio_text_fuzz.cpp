// A ratio list text from arbitrary bytes, split and every entry converted,
// under two sets of separators. Checked: every failure is one of the
// conversion and arithmetic errors with its exact message (the float
// message quoting the entry, the integer message quoting the numerator or
// the denominator text); a decimal entry has the value the number parser
// gives; unquoted entries hold no blank and no comma; a list of plain
// entries joined with commas splits back into itself.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "calc/RatioList.h"
#include "runtime/Exceptions.h"
#include "runtime/FloatFaults.h"
#include "runtime/Messages.h"
#include "runtime/NumberParse.h"

namespace {

using tavimo::NumberFormatSettings;

const NumberFormatSettings kSettings[] = {{".", ","}, {",", "."}};

bool IsBlank(char c) { return static_cast<unsigned char>(c) >= 1 && static_cast<unsigned char>(c) <= 32; }

bool IsPlain(std::string_view entry) {
  if (entry.empty()) return false;
  for (char c : entry)
    if (IsBlank(c) || c == ',' || c == '"' || c == '\0') return false;
  return true;
}

void CheckEntry(const std::string& entry, const NumberFormatSettings& settings) {
  using namespace tavimo::messages;
  const std::size_t slash = entry.find('/');
  const std::string note = entry + " | separator " + settings.decimalSeparator;
  try {
    // Entries read with the point decimal whatever separators are in effect.
    const tavimo::NumberFormatSettings previous = tavimo::GlobalNumberFormatSettings();
    tavimo::SetGlobalNumberFormatSettings(settings);
    double value = 0.0;
    try {
      value = tavimo::ParseRatio(entry);
    } catch (...) {
      tavimo::SetGlobalNumberFormatSettings(previous);
      throw;
    }
    tavimo::SetGlobalNumberFormatSettings(previous);
    if (slash == std::string::npos) {
      const double expected = tavimo::StoreAsDouble(tavimo::ParseFloatText(entry, {".", ","}));
      TAVIMO_FUZZ_CHECK(value == expected || (value != value && expected != expected), note);
    } else {
      const long double n = tavimo::ParseIntegerText(std::string_view(entry).substr(0, slash));
      const long double d = tavimo::ParseIntegerText(std::string_view(entry).substr(slash + 1));
      TAVIMO_FUZZ_CHECK(d != 0 && value == static_cast<double>(n / d), note);
    }
  } catch (const tavimo::EConvertError& error) {
    const std::string& message = error.Message();
    if (slash == std::string::npos) {
      TAVIMO_FUZZ_CHECK(message == FormatMessage(kInvalidFloat, entry), note + " | " + message);
    } else {
      const std::string_view numerator = std::string_view(entry).substr(0, slash);
      const std::string_view denominator = std::string_view(entry).substr(slash + 1);
      TAVIMO_FUZZ_CHECK(message == FormatMessage(kInvalidInteger, numerator) ||
                            message == FormatMessage(kInvalidInteger, denominator),
                        note + " | " + message);
    }
  } catch (const tavimo::EZeroDivide& error) {
    TAVIMO_FUZZ_CHECK(slash != std::string::npos && error.Message() == kZeroDivide, note);
  } catch (const tavimo::EInvalidOp& error) {
    TAVIMO_FUZZ_CHECK(slash != std::string::npos && error.Message() == kInvalidOp, note);
  } catch (const tavimo::EOverflow& error) {
    TAVIMO_FUZZ_CHECK(slash == std::string::npos && error.Message() == kOverflow, note);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const tavimo::RatioList list = tavimo::SplitRatioText(text);
  // At most one entry per byte, and one more for a trailing comma.
  TAVIMO_FUZZ_CHECK(list.size() <= size + 1, text);

  const bool quoted = text.substr(0, text.find('\0')).find('"') != std::string_view::npos;
  bool allPlain = !list.empty();
  std::string joined;
  for (const std::string& entry : list) {
    if (!quoted) {
      for (char c : entry) TAVIMO_FUZZ_CHECK(!IsBlank(c) && c != ',' && c != '\0', text);
    }
    allPlain = allPlain && IsPlain(entry);
    if (!joined.empty()) joined += ',';
    joined += entry;
  }
  if (allPlain) TAVIMO_FUZZ_CHECK(tavimo::SplitRatioText(joined) == list, std::string(text) + " | " + joined);

  // The conversions are the same whatever the list's length; a few dozen
  // entries cover every path.
  std::size_t converted = 0;
  for (const std::string& entry : list) {
    if (++converted > 64) break;
    for (const NumberFormatSettings& settings : kSettings) CheckEntry(entry, settings);
  }
  return 0;
}
