#include "history/PriceTime.h"

#include <cstdio>

#include "runtime/AppendedText.h"

namespace tavimo {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// Reads exactly `count` digits at `p`.
bool Digits(std::string_view text, std::size_t& p, int count, int& value) {
  if (p + count > text.size()) return false;
  value = 0;
  for (int i = 0; i < count; ++i) {
    if (!IsDigit(text[p + i])) return false;
    value = value * 10 + (text[p + i] - '0');
  }
  p += count;
  return true;
}

// HH:MM or HH:MM:SS with an optional fraction of a second and Z, to the end of the text.
std::optional<std::int64_t> ColonTimeOfDay(std::string_view text) {
  std::size_t p = 0;
  int hour, minute, second = 0;
  if (!Digits(text, p, 2, hour) || p >= text.size() || text[p++] != ':' || !Digits(text, p, 2, minute))
    return std::nullopt;
  if (p < text.size() && text[p] == ':') {
    ++p;
    if (!Digits(text, p, 2, second)) return std::nullopt;
    if (p < text.size() && text[p] == '.') {
      ++p;
      const std::size_t begin = p;
      while (p < text.size() && IsDigit(text[p])) ++p;
      if (p == begin) return std::nullopt;
    }
  }
  if (p < text.size() && text[p] == 'Z') ++p;
  if (p != text.size() || hour > 23 || minute > 59 || second > 59) return std::nullopt;
  return hour * 3600 + minute * 60 + second;
}

}  // namespace

std::optional<std::int64_t> DaysFromCivil(std::int64_t year, int month, int day) {
  static constexpr int kMonthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12 || day < 1) return std::nullopt;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  if (day > kMonthDays[month - 1] + (month == 2 && leap)) return std::nullopt;
  // Years counted from March, so the leap day is the last day of its year.
  year -= month <= 2;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const std::int64_t yearOfEra = year - era * 400;
  const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

bool IsEpochText(std::string_view text) {
  text = TrimBlanks(text);
  if (text.size() < 9) return false;
  for (char c : text)
    if (!IsDigit(c)) return false;
  return true;
}

std::optional<std::int64_t> ParsePriceTime(std::string_view text) {
  text = TrimBlanks(text);
  if (IsEpochText(text) && text.size() != 8) {
    if (text.size() > 17) return std::nullopt;
    std::int64_t value = 0;
    for (char c : text) value = value * 10 + (c - '0');
    if (value < 100000000000) return value;
    if (value < 100000000000000) return value / 1000;
    return value / 1000000;
  }
  std::size_t p = 0;
  int year, month, day;
  if (!Digits(text, p, 4, year)) return std::nullopt;
  if (p < text.size() && (text[p] == '-' || text[p] == '/' || text[p] == '.')) {
    const char separator = text[p++];
    if (!Digits(text, p, 2, month) || p >= text.size() || text[p++] != separator || !Digits(text, p, 2, day))
      return std::nullopt;
  } else if (!Digits(text, p, 2, month) || !Digits(text, p, 2, day)) {
    return std::nullopt;
  }
  const std::optional<std::int64_t> days = DaysFromCivil(year, month, day);
  if (!days) return std::nullopt;
  std::int64_t seconds = 0;
  if (p < text.size()) {
    if (text[p] != ' ' && text[p] != 'T') return std::nullopt;
    const std::optional<std::int64_t> time = ColonTimeOfDay(text.substr(p + 1));
    if (!time) return std::nullopt;
    seconds = *time;
  }
  return *days * kSecondsPerDay + seconds;
}

bool IsColonTimeOfDay(std::string_view text) { return ColonTimeOfDay(TrimBlanks(text)).has_value(); }

std::optional<std::int64_t> ParseTimeOfDay(std::string_view text) {
  text = TrimBlanks(text);
  if (text.size() == 6) {
    std::size_t p = 0;
    int hour, minute, second;
    if (Digits(text, p, 2, hour) && Digits(text, p, 2, minute) && Digits(text, p, 2, second)) {
      if (hour > 23 || minute > 59 || second > 59) return std::nullopt;
      return hour * 3600 + minute * 60 + second;
    }
  }
  return ColonTimeOfDay(text);
}

TimeTextForm TimeTextFormFor(const std::int64_t* times, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i)
    if (((times[i] % kSecondsPerDay) + kSecondsPerDay) % kSecondsPerDay != 0) return TimeTextForm::DateTime;
  return TimeTextForm::Date;
}

void AppendTimeText(std::string& out, std::int64_t time, TimeTextForm form) {
  std::int64_t days = time / kSecondsPerDay, seconds = time % kSecondsPerDay;
  if (seconds < 0) seconds += kSecondsPerDay, --days;
  // The inverse of DaysFromCivil.
  const std::int64_t z = days + 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t dayOfEra = z - era * 146097;
  const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const std::int64_t mp = (5 * dayOfYear + 2) / 153;
  const int day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  const long long year = yearOfEra + era * 400 + (month <= 2);
  char buffer[64];
  int length;
  if (form == TimeTextForm::Date)
    length = std::snprintf(buffer, sizeof buffer, "%04lld-%02d-%02d", year, month, day);
  else
    length = std::snprintf(buffer, sizeof buffer, "%04lld-%02d-%02d %02d:%02d:%02d", year, month, day,
                           static_cast<int>(seconds / 3600), static_cast<int>(seconds / 60 % 60),
                           static_cast<int>(seconds % 60));
  out.append(buffer, static_cast<std::size_t>(length));
}

std::string TimeText(std::int64_t time, TimeTextForm form) { return AppendedText(AppendTimeText, time, form); }

}  // namespace tavimo
