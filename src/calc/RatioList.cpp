#include "calc/RatioList.h"

#include "runtime/FloatFaults.h"
#include "runtime/NumberParse.h"
#include "runtime/ProcessWide.h"
#include "runtime/Utf8.h"

namespace tavimo {

namespace {

constexpr char kSeparator = ',';
constexpr char kQuote = '"';

bool IsBlank(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte >= 1 && byte <= 32;
}

// The quoted item starting at the quote at `at`; returns the position after
// its closing quote, or the end of the text when it has none.
std::size_t ExtractQuotedItem(std::string_view text, std::size_t at, std::string& item) {
  std::size_t pos = at + 1;
  while (pos < text.size()) {
    if (text[pos] == kQuote) {
      if (pos + 1 < text.size() && text[pos + 1] == kQuote) {
        item.push_back(kQuote);
        pos += 2;
        continue;
      }
      return pos + 1;
    }
    const std::size_t length = CharacterLength(text, pos);
    item.append(text.substr(pos, length));
    pos += length;
  }
  return pos;
}

}  // namespace

RatioList SplitRatioText(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  RatioList list;
  std::size_t pos = 0;
  // Blanks, the separator and the quote are single bytes below 0x80, which
  // never occur inside a multi-byte character; stepping by whole characters
  // keeps every multi-byte character in one piece.
  const auto skipBlanks = [&] {
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
  };

  skipBlanks();
  while (pos < text.size()) {
    std::string entry;
    if (text[pos] == kQuote) {
      pos = ExtractQuotedItem(text, pos, entry);
    } else {
      const std::size_t start = pos;
      while (pos < text.size() && !IsBlank(text[pos]) && text[pos] != kSeparator)
        pos += CharacterLength(text, pos);
      entry.assign(text.substr(start, pos - start));
    }
    list.push_back(std::move(entry));
    skipBlanks();
    if (pos < text.size() && text[pos] == kSeparator) {
      // A trailing comma stands for one more, empty, entry.
      if (pos + 1 == text.size()) list.emplace_back();
      ++pos;
      skipBlanks();
    }
  }
  return list;
}

double ParseRatio(std::string_view entry) {
  static const NumberFormatSettings kStoredTextSeparators{".", ","};
  const std::size_t slash = entry.find('/');
  if (slash == std::string_view::npos) return StoreAsDouble(ParseFloatText(entry, kStoredTextSeparators));
  // Everything after the first "/" is the denominator, so "1/2/3" fails on "2/3".
  const std::int32_t numerator = ParseIntegerText(entry.substr(0, slash));
  const std::int32_t denominator = ParseIntegerText(entry.substr(slash + 1));
  return StoreAsDouble(DivideChecked(numerator, denominator));
}

namespace {
struct CurrentListTag;
}  // namespace

const RatioList& CurrentRatioList() { return ProcessWide<RatioList, CurrentListTag>(); }

void ReplaceRatioList(RatioList list) { ProcessWide<RatioList, CurrentListTag>() = std::move(list); }

RatioList RatioListFromStoredText(std::string_view storedText) {
  return SplitRatioText(storedText.empty() ? DefaultRatioText : storedText);
}

}  // namespace tavimo
