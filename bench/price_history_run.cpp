// The price-history library outside the benchmark harness, for the
// whole-process and the same-data comparisons (bench/price_file_compare.sh,
// bench/swings_compare.sh):
//   price_history_run generate ROWS SEED [hours] > file.csv   a download file
//   price_history_run walk ROWS SEED [line] > hl.bin          ROWS highs, then ROWS lows, as doubles
//                                                             (line: the highs twice, a one-price series)
//   price_history_run read FILE.csv                           reads it, prints the bar count
//   price_history_run swings HL.bin CHANGE RUNS               times FindSwings RUNS times

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "PriceHistoryInput.h"
#include "history/PriceFile.h"
#include "history/Swings.h"
#include "runtime/Exceptions.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: price_history_run generate ROWS SEED [hours] | walk ROWS SEED [line] | read FILE"
               " | swings FILE CHANGE RUNS\n");
  return 2;
}

void WriteOut(const std::string& part) { std::fwrite(part.data(), 1, part.size(), stdout); }

// Only what a caller of the library does: read the file, use the bars.
int Read(const char* path) {
  const tavimo::PriceFileRead read = tavimo::ReadPriceFile(path);
  if (!read.error.empty()) {
    std::fprintf(stderr, "%s\n", read.error.c_str());
    return 1;
  }
  std::printf("%zu\n", read.result.bars.Size());
  if (!read.result.badRows.empty() || !read.result.duplicates.empty())
    std::fprintf(stderr, "%zu bad rows, %zu duplicates\n", read.result.badRows.size(),
                 read.result.duplicates.size());
  return 0;
}

int Walk(std::size_t rows, std::uint64_t seed, bool line) {
  tavimo::bench::PriceWalk walk(seed);
  std::vector<double> high(rows), low(rows);
  for (std::size_t i = 0; i < rows; ++i) {
    const tavimo::bench::WalkBar bar = walk.Next();
    high[i] = bar.high;
    low[i] = bar.low;
  }
  std::fwrite(high.data(), sizeof(double), rows, stdout);
  std::fwrite(line ? high.data() : low.data(), sizeof(double), rows, stdout);
  return 0;
}

// Reads the highs and lows once, then times each call of FindSwings alone.
int Swings(const char* path, const char* changeText, int runs) {
  std::FILE* file = std::fopen(path, "rb");
  if (file == nullptr) {
    std::fprintf(stderr, "cannot read '%s': %s\n", path, std::strerror(errno));
    return 1;
  }
  std::vector<double> values;
  double chunk[4096];
  for (std::size_t got; (got = std::fread(chunk, sizeof(double), 4096, file)) > 0;)
    values.insert(values.end(), chunk, chunk + got);
  std::fclose(file);
  if (values.empty() || values.size() % 2 != 0) {
    std::fprintf(stderr, "'%s' does not hold as many highs as lows\n", path);
    return 1;
  }
  const std::size_t count = values.size() / 2;
  const tavimo::SwingChange change(changeText);
  std::vector<double> seconds;
  std::size_t points = 0;
  for (int run = 0; run < runs; ++run) {
    const auto start = std::chrono::steady_clock::now();
    const std::vector<tavimo::SwingPoint> found = tavimo::FindSwings(values.data(), values.data() + count, count, change);
    seconds.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    points = found.size();
  }
  std::sort(seconds.begin(), seconds.end());
  std::printf("bars %zu points %zu median %.6f min %.6f max %.6f\n", count, points, seconds[seconds.size() / 2],
              seconds.front(), seconds.back());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  const std::string command = argv[1];
  try {
    if (command == "generate" && (argc == 4 || argc == 5)) {
      const bool hourly = argc == 5 && std::string(argv[4]) == "hours";
      if (argc == 5 && !hourly) return Usage();
      tavimo::bench::GenerateDownloadFile(std::strtoull(argv[2], nullptr, 10), std::strtoull(argv[3], nullptr, 10),
                                          hourly ? tavimo::bench::BarSpacing::Hours
                                                 : tavimo::bench::BarSpacing::Weekdays,
                                          WriteOut);
      return 0;
    }
    if (command == "walk" && (argc == 4 || (argc == 5 && std::string(argv[4]) == "line")))
      return Walk(std::strtoull(argv[2], nullptr, 10), std::strtoull(argv[3], nullptr, 10), argc == 5);
    if (command == "read" && argc == 3) return Read(argv[2]);
    if (command == "swings" && argc == 5) {
      const int runs = std::atoi(argv[4]);
      if (runs < 1) return Usage();
      return Swings(argv[2], argv[3], runs);
    }
  } catch (const tavimo::Exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  return Usage();
}
