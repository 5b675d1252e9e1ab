#pragma once
// Pairs a benchmark with the baseline it is compared to; after the run the
// shared main prints each pair's times and their ratio.

#include <string>
#include <vector>

namespace tavimo::bench {

struct RatioPair {
  std::string subject;   // benchmark name as registered
  std::string baseline;  // benchmark name as registered
  std::string target;    // what the ratio must meet, in words ("<= 1.0")
};

std::vector<RatioPair>& RatioPairs();

// Registers a pair at static-initialisation time: TAVIMO_BENCH_RATIO(ours, theirs, "<= 1.0").
struct RatioRegistrar {
  RatioRegistrar(std::string subject, std::string baseline, std::string target) {
    RatioPairs().push_back({std::move(subject), std::move(baseline), std::move(target)});
  }
};

}  // namespace tavimo::bench

#define TAVIMO_BENCH_CONCAT2(a, b) a##b
#define TAVIMO_BENCH_CONCAT(a, b) TAVIMO_BENCH_CONCAT2(a, b)
#define TAVIMO_BENCH_RATIO(subject, baseline, target) \
  static ::tavimo::bench::RatioRegistrar TAVIMO_BENCH_CONCAT(ratio_registrar_, __LINE__)(subject, baseline, target)
