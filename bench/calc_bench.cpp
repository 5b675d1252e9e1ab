// One resistance command with the default list, as a button press runs it:
// two price texts and sixteen ratios parsed, the table built, and sixteen
// value marks formatted. The baseline does the same work with strtod,
// strtol and snprintf.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchRatio.h"
#include "calc/ComputeCommand.h"
#include "calc/RatioList.h"
#include "runtime/NumberFormat.h"

namespace {

constexpr const char* kMarkPattern = "#,##0.###";

void ResistanceCommand(benchmark::State& state) {
  const tavimo::RatioList ratios = tavimo::SplitRatioText(tavimo::DefaultRatioText);
  std::vector<std::string> marks(ratios.size());
  for (auto _ : state) {
    const tavimo::ComputeOutcome outcome = tavimo::RunCompute(tavimo::ComputeMode::Resistance, "10", "20", ratios);
    for (std::size_t i = 0; i < outcome.levels.size(); ++i)
      marks[i] = tavimo::FormatFloatPattern(kMarkPattern, outcome.levels[i]);
    benchmark::DoNotOptimize(marks.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(ResistanceCommand);

// The two halves of the command, to see where its time goes.
void ResistanceLevelsOnly(benchmark::State& state) {
  const tavimo::RatioList ratios = tavimo::SplitRatioText(tavimo::DefaultRatioText);
  for (auto _ : state) {
    tavimo::ComputeOutcome outcome = tavimo::RunCompute(tavimo::ComputeMode::Resistance, "10", "20", ratios);
    benchmark::DoNotOptimize(outcome.levels.data());
  }
}
BENCHMARK(ResistanceLevelsOnly);

void SixteenMarksOnly(benchmark::State& state) {
  const tavimo::LevelTable levels =
      tavimo::RunCompute(tavimo::ComputeMode::Resistance, "10", "20", tavimo::SplitRatioText(tavimo::DefaultRatioText))
          .levels;
  std::vector<std::string> marks(levels.size());
  for (auto _ : state) {
    for (std::size_t i = 0; i < levels.size(); ++i) marks[i] = tavimo::FormatFloatPattern(kMarkPattern, levels[i]);
    benchmark::DoNotOptimize(marks.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(SixteenMarksOnly);

double ParseRatioWithC(const std::string& entry) {
  const std::size_t slash = entry.find('/');
  if (slash == std::string::npos) return std::strtod(entry.c_str(), nullptr);
  const long numerator = std::strtol(entry.c_str(), nullptr, 10);
  const long denominator = std::strtol(entry.c_str() + slash + 1, nullptr, 10);
  return static_cast<double>(numerator) / static_cast<double>(denominator);
}

void ResistanceWithCLibrary(benchmark::State& state) {
  const tavimo::RatioList ratios = tavimo::SplitRatioText(tavimo::DefaultRatioText);
  std::vector<double> levels(ratios.size());
  std::vector<std::string> marks(ratios.size());
  const std::string lowText = "10", highText = "20";
  for (auto _ : state) {
    const double low = std::strtod(lowText.c_str(), nullptr);
    const double high = std::strtod(highText.c_str(), nullptr);
    for (std::size_t i = 0; i < ratios.size(); ++i) levels[i] = low + ParseRatioWithC(ratios[i]) * (high - low);
    for (std::size_t i = 0; i < ratios.size(); ++i) {
      char buffer[32];
      const int length = std::snprintf(buffer, sizeof buffer, "%.3f", levels[i]);
      marks[i].assign(buffer, static_cast<std::size_t>(length));
    }
    benchmark::DoNotOptimize(marks.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(ResistanceWithCLibrary);

TAVIMO_BENCH_RATIO("ResistanceCommand", "ResistanceWithCLibrary", "report; absolute target < 5 us");

}  // namespace
