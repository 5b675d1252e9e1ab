#pragma once
// Generated price histories for the price chart's tests: a column store the
// views read, filled by a fixed pseudo-random walk so every run sees the same bars.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "chart/PriceColumns.h"

namespace tavimo::chart::testing {

inline constexpr std::int64_t kDay = 86400;
// 2024-01-01 00:00, a Monday.
inline constexpr std::int64_t kJanuary1st2024 = 1704067200;

struct PriceHistory {
  std::vector<std::int64_t> time;
  std::vector<double> open, high, low, close;

  TPriceColumns Columns() const { return TPriceColumns{time, open, high, low, close}; }
  void Add(std::int64_t t, double o, double h, double l, double c) {
    time.push_back(t);
    open.push_back(o);
    high.push_back(h);
    low.push_back(l);
    close.push_back(c);
  }
  // A bar at each of the times, its prices walking from `start`.
  static PriceHistory Walk(const std::vector<std::int64_t>& times, double start = 100) {
    PriceHistory h;
    std::uint32_t seed = 12345;
    const auto next = [&seed] {
      seed = seed * 1664525u + 1013904223u;
      return static_cast<double>(seed >> 8) / (1u << 24);  // 0 ... 1
    };
    double price = start;
    for (std::int64_t t : times) {
      const double o = price;
      const double c = o * (1 + (next() - 0.5) * 0.04);
      h.Add(t, o, std::max(o, c) * (1 + next() * 0.01), std::min(o, c) * (1 - next() * 0.01), c);
      price = c;
    }
    return h;
  }
};

// Midnight of each weekday from `from` for `days` calendar days.
inline std::vector<std::int64_t> WeekdayTimes(std::int64_t from, int days) {
  std::vector<std::int64_t> times;
  for (int d = 0; d < days; ++d) {
    const std::int64_t t = from + d * kDay;
    const std::int64_t weekday = (t / kDay + 3) % 7;  // 0 Monday (1970-01-01 was a Thursday)
    if (weekday < 5) times.push_back(t);
  }
  return times;
}

// Minute bars of a session from `open` to `close` seconds after midnight, on each of the days.
inline std::vector<std::int64_t> SessionMinutes(const std::vector<std::int64_t>& days, int open, int close) {
  std::vector<std::int64_t> times;
  for (std::int64_t day : days)
    for (int s = open; s < close; s += 60) times.push_back(day + s);
  return times;
}

}  // namespace tavimo::chart::testing
