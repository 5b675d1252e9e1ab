// The number text conversions against the C library and the standard
// library's own fast conversions, on the same texts and values: the parser
// against strtold and std::from_chars<double>, the chart's value pattern
// against printf-style formatting and std::to_chars(fixed, 3) with three
// decimals, each into a std::string as the chart needs one.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchRatio.h"
#include "runtime/NumberFormat.h"
#include "runtime/NumberParse.h"

namespace {

// Typical price and ratio texts as the user types them.
const std::vector<std::string>& PriceTexts() {
  static const std::vector<std::string> texts = {"10",     "20",    "0.618",  "1.809",     "12345.678", "-0.5",
                                                 "1e3",    "0.191", "0.236",  "0.382",     "0.5",       "1.618",
                                                 "3.1416", "25.87", "100.05", "2.5E-3",    "1",         "1234.5",
                                                 "7.08",   "0.809", "1.382",  "99999.999", "42",        "0.001"};
  return texts;
}

// Level values as the chart shows them: prices, ratios and their products.
const std::vector<long double>& LevelValues() {
  static const std::vector<long double> values = [] {
    std::vector<long double> v;
    for (const std::string& text : PriceTexts()) v.push_back(static_cast<double>(std::strtold(text.c_str(), nullptr)));
    for (double ratio : {0.191, 0.236, 1.0 / 3.0, 0.382, 0.5, 0.618, 2.0 / 3.0, 0.809, 1.191, 1.618})
      v.push_back(10.0 + ratio * 10.0);
    v.push_back(1234567.891);
    v.push_back(999.9996);
    return v;
  }();
  return values;
}

void BM_ParseFloatText(benchmark::State& state) {
  const auto& texts = PriceTexts();
  for (auto _ : state) {
    for (const std::string& text : texts) {
      long double value = tavimo::ParseFloatText(text);
      benchmark::DoNotOptimize(value);
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(texts.size()));
}
BENCHMARK(BM_ParseFloatText);

void BM_strtold(benchmark::State& state) {
  const auto& texts = PriceTexts();
  for (auto _ : state) {
    for (const std::string& text : texts) {
      long double value = std::strtold(text.c_str(), nullptr);
      benchmark::DoNotOptimize(value);
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(texts.size()));
}
BENCHMARK(BM_strtold);

void BM_from_chars(benchmark::State& state) {
  const auto& texts = PriceTexts();
  for (auto _ : state) {
    for (const std::string& text : texts) {
      double value = 0;
      std::from_chars(text.data(), text.data() + text.size(), value);
      benchmark::DoNotOptimize(value);
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(texts.size()));
}
BENCHMARK(BM_from_chars);

void BM_FormatFloatPattern(benchmark::State& state) {
  const auto& values = LevelValues();
  for (auto _ : state) {
    for (long double value : values) {
      std::string text = tavimo::FormatFloatPattern("#,##0.###", value);
      benchmark::DoNotOptimize(text.data());
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(values.size()));
}
BENCHMARK(BM_FormatFloatPattern);

// The baseline also builds a std::string, as the chart needs one.
void BM_snprintf(benchmark::State& state) {
  const auto& values = LevelValues();
  for (auto _ : state) {
    for (long double value : values) {
      char buffer[64];
      const int n = std::snprintf(buffer, sizeof buffer, "%.3Lf", value);
      std::string text(buffer, static_cast<std::size_t>(n));
      benchmark::DoNotOptimize(text.data());
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(values.size()));
}
BENCHMARK(BM_snprintf);

void BM_to_chars_fixed3(benchmark::State& state) {
  const auto& values = LevelValues();
  for (auto _ : state) {
    for (long double value : values) {
      char buffer[64];
      const std::to_chars_result end =
          std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value), std::chars_format::fixed, 3);
      std::string text(buffer, end.ptr);
      benchmark::DoNotOptimize(text.data());
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(values.size()));
}
BENCHMARK(BM_to_chars_fixed3);

void BM_FormatFloatGeneral(benchmark::State& state) {
  const auto& values = LevelValues();
  for (auto _ : state) {
    for (long double value : values) {
      std::string text = tavimo::FormatFloatGeneral(value, 15);
      benchmark::DoNotOptimize(text.data());
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(values.size()));
}
BENCHMARK(BM_FormatFloatGeneral);

void BM_snprintf_general(benchmark::State& state) {
  const auto& values = LevelValues();
  for (auto _ : state) {
    for (long double value : values) {
      char buffer[64];
      const int n = std::snprintf(buffer, sizeof buffer, "%.15Lg", value);
      std::string text(buffer, static_cast<std::size_t>(n));
      benchmark::DoNotOptimize(text.data());
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(values.size()));
}
BENCHMARK(BM_snprintf_general);

TAVIMO_BENCH_RATIO("BM_ParseFloatText", "BM_strtold", "<= 1.0");
TAVIMO_BENCH_RATIO("BM_ParseFloatText", "BM_from_chars", "<= 1.3");
TAVIMO_BENCH_RATIO("BM_FormatFloatPattern", "BM_snprintf", "<= 1.0");
TAVIMO_BENCH_RATIO("BM_FormatFloatPattern", "BM_to_chars_fixed3", "<= 1.3");
TAVIMO_BENCH_RATIO("BM_FormatFloatGeneral", "BM_snprintf_general", "<= 1.0");

}  // namespace
