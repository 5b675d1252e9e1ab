#include "runtime/NumberFormat.h"

#include <algorithm>
#include <cstring>

#include "runtime/DecimalDigits.h"
#include "runtime/Exceptions.h"
#include "runtime/ExtendedBits.h"
#include "runtime/Messages.h"

namespace tavimo {

namespace {

constexpr std::size_t kMaxPatternLength = 224;
constexpr std::size_t kMaxSeparatorBytes = 4;  // one UTF-8 character
constexpr int kNoZero = 32767;

// The text is gathered in the result string itself, written by index into
// room made ahead (at first the string's own inline room, so a short text
// takes no allocation and no copy) and cut to its length at the end. Its
// length has no small bound: a zero section used for a rounded-away value
// of exponent E writes E digits (up to 4933), each possibly with a group
// separator.
class TextBuffer {
 public:
  TextBuffer() : text_(kFirstRoom, '\0') {}
  void Put(char c) {
    if (size_ == text_.size()) Grow(1);
    text_[size_++] = c;
  }
  void Put(std::string_view s) {
    if (s.empty()) return;  // an absent separator's view may have no data at all
    if (s.size() > text_.size() - size_) Grow(s.size());
    std::memcpy(text_.data() + size_, s.data(), s.size());
    size_ += s.size();
  }
  void PutUnsigned(unsigned value, int minDigits) {
    char digits[12];
    char* const end = digits + sizeof digits;
    const char* const begin = WriteIntegerDigits(value, minDigits, end);
    Put(std::string_view(begin, static_cast<std::size_t>(end - begin)));
  }
  std::string Text() {
    text_.resize(size_);
    return std::move(text_);
  }

 private:
  static constexpr std::size_t kFirstRoom = 15;  // the inline room of a std::string
  void Grow(std::size_t more) { text_.resize(std::max(text_.size() * 2, size_ + more)); }
  std::string text_;
  std::size_t size_ = 0;
};

std::string_view Separator(const std::string& s) {
  return std::string_view(s).substr(0, kMaxSeparatorBytes);
}

bool IsQuote(char c) { return c == '\'' || c == '"'; }

// Index just past the quoted text that starts at `open`; the end when unterminated.
std::size_t SkipQuoted(std::string_view text, std::size_t open) {
  const std::size_t close = text.find(text[open], open + 1);
  return close == std::string_view::npos ? text.size() : close + 1;
}

bool IsScientificMarker(std::string_view s, std::size_t i) {
  return (s[i] == 'E' || s[i] == 'e') && i + 1 < s.size() && (s[i + 1] == '+' || s[i + 1] == '-');
}

struct Sections {
  std::string_view part[3];
  int count = 0;
};

// Up to three sections split at ";" outside quotes; each ends at its ";".
Sections SplitSections(std::string_view pattern) {
  Sections sections;
  std::size_t start = 0;
  std::size_t i = 0;
  while (sections.count < 3) {
    while (i < pattern.size() && pattern[i] != ';') i = IsQuote(pattern[i]) ? SkipQuoted(pattern, i) : i + 1;
    sections.part[sections.count++] = pattern.substr(start, i - start);
    if (i >= pattern.size()) break;
    start = ++i;
  }
  return sections;
}

struct SectionLayout {
  int digitCount = 0;
  int decimalIndex = 0;
  int mandatoryInteger = 0;
  int mandatoryFraction = 0;
  bool grouping = false;
  bool scientific = false;
  // Placeholders and separators only, and few of them: written by WritePlain.
  bool plain = false;
};

// Few enough for the text to fit the writer's buffer: 18 integer digits at
// most (larger values take the general form), each with a separator of 4
// bytes, and as many fraction digits.
constexpr int kPlainMaxPlaceholders = 24;

SectionLayout ScanSection(std::string_view s) {
  SectionLayout layout;
  int decimalIndex = -1;
  int firstZero = kNoZero;
  int lastZero = 0;
  std::size_t i = 0;
  while (i < s.size()) {
    const char c = s[i];
    if (c == '#') {
      ++layout.digitCount;
    } else if (c == '0') {
      if (firstZero == kNoZero) firstZero = layout.digitCount;
      lastZero = ++layout.digitCount;
    } else if (c == '.') {
      if (decimalIndex < 0) decimalIndex = layout.digitCount;
    } else if (c == ',') {
      layout.grouping = true;
    } else if (IsQuote(c)) {
      i = SkipQuoted(s, i);
      continue;
    } else if (IsScientificMarker(s, i)) {
      // The zeros after the sign size the exponent; they are no placeholders.
      layout.scientific = true;
      i += 2;
      while (i < s.size() && s[i] == '0') ++i;
      continue;
    }
    ++i;
  }
  layout.decimalIndex = decimalIndex < 0 ? layout.digitCount : decimalIndex;
  layout.plain = layout.digitCount <= kPlainMaxPlaceholders &&
                 s.find_first_not_of("#0.,") == std::string_view::npos;
  const int mandatoryInteger = layout.decimalIndex - firstZero;
  const int mandatoryFraction = lastZero - layout.decimalIndex;
  layout.mandatoryInteger = mandatoryInteger > 0 ? mandatoryInteger : 0;
  layout.mandatoryFraction = mandatoryFraction > 0 ? mandatoryFraction : 0;
  return layout;
}

// Writes a section's text around the digits, walking its characters once.
class PatternWriter {
 public:
  PatternWriter(const SectionLayout& layout, const DecimalDigits& digits, const NumberFormatSettings& settings)
      : layout_(layout),
        digits_(digits),
        next_(digits.digits),
        decimalSeparator_(Separator(settings.decimalSeparator)),
        thousandsSeparator_(layout.grouping ? Separator(settings.thousandsSeparator) : std::string_view()) {
    if (layout.scientific) {
      place_ = layout.decimalIndex;
      delta_ = 0;
    } else {
      place_ = digits.exponent > layout.decimalIndex ? digits.exponent : layout.decimalIndex;
      delta_ = digits.exponent - layout.decimalIndex;
    }
  }

  void Write(std::string_view section, bool writeSign, TextBuffer& out) {
    out_ = &out;
    if (writeSign && digits_.negative) out.Put('-');
    std::size_t i = 0;
    while (i < section.size()) {
      const char c = section[i];
      if (c == '#' || c == '0') {
        Placeholder();
      } else if (c == '.' || c == ',') {
        // Positions only: the separators are written by the digits.
      } else if (IsQuote(c)) {
        const std::size_t close = section.find(c, i + 1);
        if (close == std::string_view::npos) {
          out.Put(section.substr(i + 1));
          return;
        }
        out.Put(section.substr(i + 1, close - i - 1));
        i = close;
      } else if (IsScientificMarker(section, i)) {
        i = Exponent(section, i);
        continue;
      } else {
        out.Put(c);
      }
      ++i;
    }
  }

 private:
  void Placeholder() {
    if (delta_ > 0) {
      // The first placeholder also carries the integer digits beyond the pattern's.
      for (; delta_ > 0; --delta_) NextDigit();
      NextDigit();
    } else if (delta_ < 0) {
      ++delta_;
      if (place_ <= layout_.mandatoryInteger) Emit('0');
      else --place_;
    } else {
      NextDigit();
    }
  }

  void NextDigit() {
    if (*next_ != '\0') Emit(*next_++);
    else if (place_ > -layout_.mandatoryFraction) Emit('0');
    else --place_;
  }

  void Emit(char c) {
    if (place_ == 0) {
      out_->Put(decimalSeparator_);
      out_->Put(c);
    } else {
      out_->Put(c);
      if (place_ > 1 && place_ % 3 == 1) out_->Put(thousandsSeparator_);
    }
    --place_;
  }

  std::size_t Exponent(std::string_view section, std::size_t i) {
    out_->Put(section[i]);
    const bool plus = section[i + 1] == '+';
    i += 2;
    int zeros = 0;
    while (i < section.size() && section[i] == '0') {
      ++zeros;
      ++i;
    }
    const int exponent = digits_.digits[0] == '\0' ? 0 : digits_.exponent - layout_.decimalIndex;
    if (exponent < 0) out_->Put('-');
    else if (plus) out_->Put('+');
    out_->PutUnsigned(static_cast<unsigned>(exponent < 0 ? -exponent : exponent), zeros < 4 ? zeros : 4);
    return i;
  }

  const SectionLayout& layout_;
  const DecimalDigits& digits_;
  const char* next_;
  std::string_view decimalSeparator_;
  std::string_view thousandsSeparator_;
  TextBuffer* out_ = nullptr;
  int place_ = 0;
  int delta_ = 0;
};

// What PatternWriter writes for a plain section, without walking it: the
// places from the highest, max(exponent, decimal index), down to the last
// fraction placeholder's. A place above the digits is a mandatory integer
// zero or nothing; below it the next digit, a mandatory fraction zero, or
// nothing. The decimal separator comes before the first fraction digit, a
// group separator after each integer digit at place 4, 7, ...
void WritePlain(const SectionLayout& layout, const DecimalDigits& digits, const NumberFormatSettings& settings,
                bool writeSign, TextBuffer& out) {
  const std::string_view decimalSeparator = Separator(settings.decimalSeparator);
  const std::string_view thousandsSeparator = layout.grouping ? Separator(settings.thousandsSeparator) : std::string_view();
  const int exponent = digits.exponent;
  const int last = layout.decimalIndex - layout.digitCount + 1;
  const char* next = digits.digits;
  if (writeSign && digits.negative) out.Put('-');
  for (int place = exponent > layout.decimalIndex ? exponent : layout.decimalIndex; place >= last; --place) {
    char c;
    if (place > exponent) {
      if (place > layout.mandatoryInteger) continue;
      c = '0';
    } else if (*next != '\0') {
      c = *next++;
    } else if (place > -layout.mandatoryFraction) {
      c = '0';
    } else {
      continue;
    }
    if (place == 0) {
      out.Put(decimalSeparator);
      out.Put(c);
    } else {
      out.Put(c);
      if (place > 1 && place % 3 == 1) out.Put(thousandsSeparator);
    }
  }
}

bool IsSpecial(const DecimalDigits& d) {
  return d.exponent == DecimalDigits::kInfinity || d.exponent == DecimalDigits::kNaN;
}

}  // namespace

// A pattern split into its sections and each section's layout, made once
// for the pattern a thread formats with last: one pattern formats thousands
// of values in a row (a chart's marks, a batch's columns).
class ParsedPattern {
 public:
  // The parse of `pattern`, valid until the next call on this thread.
  static const ParsedPattern& Of(std::string_view pattern) {
    thread_local ParsedPattern last;
    if (!last.valid_ || pattern != last.text_) {
      last.text_.assign(pattern);
      last.sections_ = SplitSections(last.text_);
      for (int i = 0; i < last.sections_.count; ++i) last.layouts_[i] = ScanSection(last.sections_.part[i]);
      last.valid_ = true;
    }
    return last;
  }
  const Sections& sections() const { return sections_; }
  const SectionLayout& layout(int section) const { return layouts_[section]; }

 private:
  std::string text_;
  Sections sections_;
  SectionLayout layouts_[3];
  bool valid_ = false;
};

std::string FormatFloatPattern(std::string_view pattern, long double value, const NumberFormatSettings& settings) {
  if (pattern.size() > kMaxPatternLength) throw EConvertError(std::string(messages::kFormatTooLong));
  const ParsedPattern& parsed = ParsedPattern::Of(pattern);
  const Sections& sections = parsed.sections();
  const auto usable = [&](int section) { return section < sections.count && !sections.part[section].empty(); };

  const ExtendedBits bits = BitsOf(value);
  // Only all-zero bits select the zero section; a negative zero is negative.
  int chosen = (bits.significand == 0 && bits.signAndExponent == 0) ? 2 : (bits.signAndExponent & 0x8000) ? 1 : 0;
  // A missing or empty section falls back to the first one, and only when
  // that is empty too to the general form: ";0.00" formats -1.5 as "1.50".
  if (!usable(chosen)) chosen = 0;
  if (!usable(chosen)) return FormatFloatGeneral(value, 15, settings);

  const SectionLayout* layout = &parsed.layout(chosen);
  const DecimalDigits digits = layout->scientific
                                   ? ToDecimalDigits(value, layout->digitCount, 9999)
                                   : ToDecimalDigits(value, 18, layout->digitCount - layout->decimalIndex);
  if (IsSpecial(digits) || (!layout->scientific && digits.exponent > 18)) {
    return FormatFloatGeneral(value, 15, settings);
  }
  if (digits.digits[0] == '\0') {
    // A value that rounds away keeps its digits but takes the zero section's
    // text. After a scientific section without placeholders that includes its
    // exponent: a plain zero section then writes that many zeros.
    const int zero = usable(2) ? 2 : 0;
    if (!usable(zero)) return FormatFloatGeneral(value, 15, settings);
    if (zero != chosen) {
      chosen = zero;
      layout = &parsed.layout(chosen);
    }
  }

  TextBuffer out;
  if (layout->plain) WritePlain(*layout, digits, settings, chosen == 0, out);
  else PatternWriter(*layout, digits, settings).Write(sections.part[chosen], chosen == 0, out);
  return out.Text();
}

std::string FormatFloatGeneral(long double value, int precision, const NumberFormatSettings& settings) {
  if (precision < 2) precision = 2;
  if (precision > 18) precision = 18;
  const DecimalDigits d = ToDecimalDigits(value, precision, 9999);
  if (d.exponent == DecimalDigits::kInfinity) return d.negative ? "-INF" : "INF";
  if (d.exponent == DecimalDigits::kNaN) return "NAN";
  if (d.digits[0] == '\0') return "0";

  const std::string_view decimalSeparator = Separator(settings.decimalSeparator);
  const std::string_view digits(d.digits);
  const int count = static_cast<int>(digits.size());
  const int e = d.exponent;
  char buffer[64];
  std::size_t n = 0;
  auto put = [&](char c) { buffer[n++] = c; };
  auto putText = [&](std::string_view s) {
    std::memcpy(buffer + n, s.data(), s.size());
    n += s.size();
  };
  if (d.negative) put('-');
  if (e > precision || e < -3) {
    put(digits[0]);
    if (count > 1) {
      putText(decimalSeparator);
      putText(digits.substr(1));
    }
    put('E');
    const int x = e - 1;
    if (x < 0) put('-');
    char exponentDigits[12];
    char* const end = exponentDigits + sizeof exponentDigits;
    const char* const begin = WriteIntegerDigits(static_cast<std::uint32_t>(x < 0 ? -x : x), 1, end);
    putText(std::string_view(begin, static_cast<std::size_t>(end - begin)));
  } else if (e > 0) {
    for (int i = 0; i < e; ++i) put(i < count ? digits[static_cast<std::size_t>(i)] : '0');
    if (count > e) {
      putText(decimalSeparator);
      putText(digits.substr(static_cast<std::size_t>(e)));
    }
  } else {
    put('0');
    putText(decimalSeparator);
    for (int i = 0; i < -e; ++i) put('0');
    putText(digits);
  }
  return std::string(buffer, n);
}

}  // namespace tavimo
