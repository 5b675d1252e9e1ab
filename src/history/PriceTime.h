#pragma once
// The times of price bars: seconds since 1970-01-01 00:00:00, without a zone,
// read from the date, date-time, time-of-day and epoch forms price files use,
// and written back as text.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tavimo {

// Days since 1970-01-01 of a proleptic Gregorian date; nullopt when the date
// does not exist (month 13, February 30).
std::optional<std::int64_t> DaysFromCivil(std::int64_t year, int month, int day);

// A date (YYYY-MM-DD, YYYY/MM/DD, YYYY.MM.DD or YYYYMMDD), optionally
// followed by a blank or T and HH:MM or HH:MM:SS (a fraction of a second and
// a trailing Z dropped); or an integer of 9 or more digits, an epoch in UTC:
// seconds below 10^11, milliseconds below 10^14, microseconds below 10^17.
// Blanks around the text are ignored.
std::optional<std::int64_t> ParsePriceTime(std::string_view text);

// A separate time of day: HH:MM, HH:MM:SS or HHMMSS, as seconds since midnight.
std::optional<std::int64_t> ParseTimeOfDay(std::string_view text);
// The same limited to the colon forms, which tell the headerless history
// export's time column from a price.
bool IsColonTimeOfDay(std::string_view text);

// Whether a text reads as an epoch: an integer of 9 or more digits.
bool IsEpochText(std::string_view text);

enum class TimeTextForm { Date, DateTime };

// Date when every time is at midnight, else DateTime.
TimeTextForm TimeTextFormFor(const std::int64_t* times, std::size_t count);

// YYYY-MM-DD or YYYY-MM-DD HH:MM:SS.
void AppendTimeText(std::string& out, std::int64_t time, TimeTextForm form);
std::string TimeText(std::int64_t time, TimeTextForm form);

}  // namespace tavimo
