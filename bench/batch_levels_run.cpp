// The batch outside the benchmark harness, for measuring a whole process:
//   batch_levels_run generate ROWS > input.csv    the benchmark's input
//   batch_levels_run [MODE,...] < input.csv > out  levels with the default ratios
// The second form prints rows, bytes written and seconds on stderr.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <streambuf>
#include <string>
#include <vector>

#include "BatchInput.h"
#include "batch/BatchLevels.h"
#include "calc/RatioList.h"
#include "runtime/Exceptions.h"

namespace {

// Passes blocks on to stdout and counts them.
class CountingStdout : public std::streambuf {
 public:
  std::uint64_t Count() const { return count_; }

 protected:
  std::streamsize xsputn(const char* data, std::streamsize n) override {
    count_ += static_cast<std::uint64_t>(n);
    return static_cast<std::streamsize>(std::fwrite(data, 1, static_cast<std::size_t>(n), stdout));
  }
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    ++count_;
    return std::fputc(c, stdout) == EOF ? traits_type::eof() : c;
  }
  int sync() override { return std::fflush(stdout) == 0 ? 0 : -1; }

 private:
  std::uint64_t count_ = 0;
};

std::vector<tavimo::ComputeMode> ModesFrom(const std::string& list) {
  std::vector<tavimo::ComputeMode> modes;
  for (std::size_t at = 0; at <= list.size();) {
    std::size_t comma = list.find(',', at);
    if (comma == std::string::npos) comma = list.size();
    const auto mode = tavimo::ComputeModeFromName(list.substr(at, comma - at));
    if (!mode) {
      std::fprintf(stderr, "unknown mode '%s'\n", list.substr(at, comma - at).c_str());
      std::exit(2);
    }
    modes.push_back(*mode);
    at = comma + 1;
  }
  return modes;
}

}  // namespace

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  if (argc == 3 && std::string(argv[1]) == "generate") {
    tavimo::bench::GenerateBatchInput(std::strtoull(argv[2], nullptr, 10), [](const std::string& part) {
      std::fwrite(part.data(), 1, part.size(), stdout);
    });
    return 0;
  }
  tavimo::BatchOptions options;
  options.modes = argc >= 2
                      ? ModesFrom(argv[1])
                      : std::vector<tavimo::ComputeMode>(tavimo::kComputeModes.begin(), tavimo::kComputeModes.end());
  CountingStdout counter;
  std::ostream out(&counter);
  const auto start = std::chrono::steady_clock::now();
  try {
    const tavimo::BatchSummary summary =
        tavimo::RunBatch(std::cin, out, tavimo::SplitRatioText(tavimo::DefaultRatioText), options,
                         [](const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); });
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    std::fprintf(stderr, "rows %llu levels %llu bytes %llu seconds %.3f\n",
                 static_cast<unsigned long long>(summary.rows), static_cast<unsigned long long>(summary.levels),
                 static_cast<unsigned long long>(counter.Count()), seconds.count());
    return summary.badRows != 0 || summary.outputFailed || summary.inputFailed ? 1 : 0;
  } catch (const tavimo::Exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
}
