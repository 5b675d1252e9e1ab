#pragma once
// The price-history benchmarks' input, the same for a given seed every time:
// a mean-reverting random walk of daily bars, written as a download file
// (Date,Open,High,Low,Close,Adj Close,Volume) or as raw highs and lows.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

#include "history/PriceTime.h"

namespace tavimo::bench {

// One bar of the walk; high >= max(open, close) and low <= min(open, close).
struct WalkBar {
  double open, high, low, close;
  std::uint64_t volume;
};

// The log price wanders with about 2% a day and drifts back towards 50, so a
// million bars stay between about 5 and 500 and turn 5% swings often.
class PriceWalk {
 public:
  explicit PriceWalk(std::uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15u + 1) {}

  WalkBar Next() {
    const double open = std::exp(logPrice_);
    logPrice_ += kReversion * (kMeanLog - logPrice_) + 0.02 * Normal();
    const double close = std::exp(logPrice_);
    const double top = open > close ? open : close;
    const double bottom = open < close ? open : close;
    const double high = top * (1.0 + 0.01 * std::fabs(Normal()));
    const double low = bottom * (1.0 - 0.01 * std::fabs(Normal()));
    return {open, high, low, close, 10000 + Below(5000000)};
  }

  // 0 .. range - 1.
  std::uint64_t Below(std::uint64_t range) {
    state_ = state_ * 6364136223846793005u + 1442695040888963407u;
    return (state_ >> 33) % range;
  }

 private:
  static constexpr double kReversion = 0.001;
  static constexpr double kMeanLog = 3.912;  // log 50

  double Uniform() {  // (0, 1)
    state_ = state_ * 6364136223846793005u + 1442695040888963407u;
    return (static_cast<double>(state_ >> 11) + 0.5) / 9007199254740992.0;
  }
  double Normal() {  // Box-Muller, one of the pair
    return std::sqrt(-2.0 * std::log(Uniform())) * std::cos(6.283185307179586 * Uniform());
  }

  std::uint64_t state_;
  double logPrice_ = kMeanLog;
};

// How the rows are timed. A million weekdays run from 1800 to beyond 5600,
// past the last date a nanosecond time stamp holds (2262-04-11); hourly
// bars from 1900 on stay inside it.
enum class BarSpacing { Weekdays, Hours };

// Writes the header and `rows` bars: weekdays from 1800-01-01 on, or hours
// from 1900-01-01 00:00:00 on. Each row has its prices with 2 to 6 decimals
// (the same count for its four prices, so rounding keeps high and low
// outside open and close); Adj Close has 6.
template <typename Sink>
void GenerateDownloadFile(std::size_t rows, std::uint64_t seed, BarSpacing spacing, Sink&& sink) {
  PriceWalk walk(seed);
  sink(std::string("Date,Open,High,Low,Close,Adj Close,Volume\n"));
  const bool hourly = spacing == BarSpacing::Hours;
  std::int64_t day = *DaysFromCivil(hourly ? 1900 : 1800, 1, 1);
  const std::int64_t start = day * 86400;
  std::string block;
  for (std::size_t i = 0; i < rows; ++i) {
    std::int64_t time = start + static_cast<std::int64_t>(i) * 3600;
    if (!hourly) {
      // 1970-01-01 (day 0) was a Thursday: day % 7 is 2 on Saturdays, 3 on Sundays.
      while ((day % 7 + 7) % 7 == 2 || (day % 7 + 7) % 7 == 3) ++day;
      time = day++ * 86400;
    }
    const std::string date = TimeText(time, hourly ? TimeTextForm::DateTime : TimeTextForm::Date);
    const WalkBar bar = walk.Next();
    const int decimals = 2 + static_cast<int>(walk.Below(5));
    const double adjusted = bar.close * 0.8731;
    char line[160];
    const int length = std::snprintf(line, sizeof line, "%s,%.*f,%.*f,%.*f,%.*f,%.6f,%llu\n", date.c_str(), decimals,
                                     bar.open, decimals, bar.high, decimals, bar.low, decimals, bar.close, adjusted,
                                     static_cast<unsigned long long>(bar.volume));
    block.append(line, static_cast<std::size_t>(length));
    if (block.size() >= (1u << 20)) {
      sink(block);
      block.clear();
    }
  }
  sink(block);
}

}  // namespace tavimo::bench
