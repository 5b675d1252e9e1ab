#pragma once
// The batch benchmark's input: a header and `rows` waves of two-decimal
// prices, the same every time, as the benchmark, its driver and the pandas
// comparison all read it.

#include <cstdint>
#include <cstdio>
#include <string>

namespace tavimo::bench {

// Appends "low,high" and then one "LOW,HIGH" line per row: lows from 1.00
// to 999.99, highs up to 500.00 above them.
template <typename Sink>
void GenerateBatchInput(std::size_t rows, Sink&& sink) {
  std::uint64_t state = 0x9E3779B97F4A7C15u;
  const auto next = [&](std::uint64_t range) {
    state = state * 6364136223846793005u + 1442695040888963407u;
    return (state >> 33) % range;
  };
  sink(std::string("low,high\n"));
  std::string block;
  for (std::size_t i = 0; i < rows; ++i) {
    const std::uint64_t low = 100 + next(99900);
    const std::uint64_t high = low + 1 + next(50000);
    char line[48];
    const int length =
        std::snprintf(line, sizeof line, "%llu.%02llu,%llu.%02llu\n", static_cast<unsigned long long>(low / 100),
                      static_cast<unsigned long long>(low % 100), static_cast<unsigned long long>(high / 100),
                      static_cast<unsigned long long>(high % 100));
    block.append(line, static_cast<std::size_t>(length));
    if (block.size() >= (1u << 20)) {
      sink(block);
      block.clear();
    }
  }
  sink(block);
}

inline std::string BatchInputText(std::size_t rows) {
  std::string text;
  GenerateBatchInput(rows, [&](const std::string& part) { text += part; });
  return text;
}

}  // namespace tavimo::bench
