// Runs the registered benchmarks and prints, for every registered pair, the
// two times per iteration and the ratio subject / baseline. With repetitions
// (--benchmark_repetitions=N, best with --benchmark_enable_random_interleaving)
// each time is the median of the repetitions, which a busy machine disturbs less.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <set>

#include "BenchRatio.h"

namespace tavimo::bench {

std::vector<RatioPair>& RatioPairs() {
  static std::vector<RatioPair> pairs;
  return pairs;
}

namespace {

class RecordingReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.iterations == 0) continue;
      const double ns = run.GetAdjustedRealTime() * Multiplier(run.time_unit);
      if (run.run_type == Run::RT_Iteration && !medians_.contains(run.benchmark_name()))
        nanoseconds_[run.benchmark_name()] = ns;
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
        nanoseconds_[run.run_name.str()] = ns;
        medians_.insert(run.run_name.str());
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  const std::map<std::string, double>& Nanoseconds() const { return nanoseconds_; }

 private:
  static double Multiplier(benchmark::TimeUnit unit) {
    switch (unit) {
      case benchmark::kSecond: return 1e9;
      case benchmark::kMillisecond: return 1e6;
      case benchmark::kMicrosecond: return 1e3;
      default: return 1.0;
    }
  }
  std::map<std::string, double> nanoseconds_;
  std::set<std::string> medians_;
};

}  // namespace
}  // namespace tavimo::bench

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  tavimo::bench::RecordingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  const auto& times = reporter.Nanoseconds();
  std::printf("\n%-48s %14s %14s %10s  %s\n", "subject / baseline", "subject ns", "baseline ns", "ratio", "target");
  for (const auto& pair : tavimo::bench::RatioPairs()) {
    const auto s = times.find(pair.subject);
    const auto b = times.find(pair.baseline);
    if (s == times.end() || b == times.end()) continue;
    std::printf("%-48s %14.1f %14.1f %10.3f  %s\n", (pair.subject + " / " + pair.baseline).c_str(), s->second,
                b->second, s->second / b->second, pair.target.c_str());
  }
  return 0;
}
