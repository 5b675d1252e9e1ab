// Batch levels for a million waves (TAVIMO_BATCH_ROWS overrides the count):
// the four window modes and the sixteen default ratios, 64 output rows per
// wave, written to a sink that only counts bytes. The baseline makes the same
// CSV in a straightforward loop of strtod and snprintf; before it is timed,
// both outputs for the first rows are compared line by line.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <istream>
#include <ostream>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "BatchInput.h"
#include "BenchRatio.h"
#include "batch/BatchLevels.h"
#include "calc/ComputeMode.h"
#include "calc/RatioList.h"

namespace {

std::size_t BenchRows() {
  const char* rows = std::getenv("TAVIMO_BATCH_ROWS");
  return rows != nullptr ? static_cast<std::size_t>(std::strtoull(rows, nullptr, 10)) : 1000000u;
}

const std::string& Input() {
  static const std::string text = tavimo::bench::BatchInputText(BenchRows());
  return text;
}

// Reads a string in place, without copying it into the stream.
class MemoryInput : public std::streambuf {
 public:
  explicit MemoryInput(const std::string& text) {
    char* begin = const_cast<char*>(text.data());
    setg(begin, begin, begin + text.size());
  }
};

// Counts what is written and keeps nothing.
class CountingOutput : public std::streambuf {
 public:
  std::uint64_t Count() const { return count_; }

 protected:
  std::streamsize xsputn(const char*, std::streamsize n) override {
    count_ += static_cast<std::uint64_t>(n);
    return n;
  }
  int_type overflow(int_type c) override {
    if (!traits_type::eq_int_type(c, traits_type::eof())) ++count_;
    return traits_type::not_eof(c);
  }

 private:
  std::uint64_t count_ = 0;
};

std::uint64_t RunOurs(const std::string& input, std::ostream& out) {
  MemoryInput buffer(input);
  std::istream in(&buffer);
  const tavimo::BatchOptions options{
      {tavimo::kComputeModes.begin(), tavimo::kComputeModes.end()}, tavimo::LevelScale::Linear, {}, {}};
  const tavimo::BatchSummary summary =
      tavimo::RunBatch(in, out, tavimo::SplitRatioText(tavimo::DefaultRatioText), options, [](const std::string&) {});
  return summary.rows;
}

// The same CSV as C programmers would write it.
struct CRatio {
  std::string text;
  double value;
};

std::vector<CRatio> CRatios() {
  std::vector<CRatio> ratios;
  const std::string list(tavimo::DefaultRatioText);
  for (std::size_t at = 0; at <= list.size();) {
    std::size_t comma = list.find(',', at);
    if (comma == std::string::npos) comma = list.size();
    const std::string text = list.substr(at, comma - at);
    const char* slash = std::strchr(text.c_str(), '/');
    const double value = slash != nullptr ? static_cast<double>(std::strtol(text.c_str(), nullptr, 10)) /
                                                static_cast<double>(std::strtol(slash + 1, nullptr, 10))
                                          : std::strtod(text.c_str(), nullptr);
    ratios.push_back({text, value});
    at = comma + 1;
  }
  return ratios;
}

// The shortest of %.15g, %.16g and %.17g that reads back to the value.
int ShortestWithPrintf(char* out, std::size_t size, double value) {
  for (int precision = 15; precision < 17; ++precision) {
    const int length = std::snprintf(out, size, "%.*g", precision, value);
    if (std::strtod(out, nullptr) == value) return length;
  }
  return std::snprintf(out, size, "%.17g", value);
}

// "#,##0.###" with printf: three decimals, trailing zeros dropped, groups of three.
void AppendMarkWithPrintf(std::string& out, double value) {
  char fixed[64];
  int length = std::snprintf(fixed, sizeof fixed, "%.3f", value);
  while (fixed[length - 1] == '0') --length;
  if (fixed[length - 1] == '.') --length;
  fixed[length] = '\0';
  const char* digits = fixed;
  bool negative = false;
  if (*digits == '-') {
    ++digits;
    negative = std::strcmp(digits, "0") != 0;
  }
  const char* point = std::strchr(digits, '.');
  const std::size_t integerDigits = point != nullptr ? static_cast<std::size_t>(point - digits) : std::strlen(digits);
  std::string text = negative ? "-" : "";
  for (std::size_t i = 0; i < integerDigits; ++i) {
    if (i != 0 && (integerDigits - i) % 3 == 0) text += ',';
    text += digits[i];
  }
  if (point != nullptr) text += point;
  if (text.find(',') != std::string::npos) {
    out += '"';
    out += text;
    out += '"';
  } else {
    out += text;
  }
}

void RunWithCLibrary(const std::string& input, std::ostream& out) {
  static const char* const kModes[] = {"rise", "decline", "resistance", "support"};
  const std::vector<CRatio> ratios = CRatios();
  const char* p = input.c_str();
  const char* const end = p + input.size();
  const char* headerEnd = std::strchr(p, '\n');
  std::string buffer(p, static_cast<std::size_t>(headerEnd - p));
  buffer += ",mode,ratio,level,text\r\n";
  p = headerEnd + 1;
  while (p < end) {
    const char* lineEnd = std::strchr(p, '\n');
    if (lineEnd == nullptr) lineEnd = end;
    char* next;
    const double low = std::strtod(p, &next);
    const double high = std::strtod(next + 1, nullptr);
    const std::size_t lineLength = static_cast<std::size_t>(lineEnd - p);
    for (int mode = 0; mode < 4; ++mode) {
      for (const CRatio& ratio : ratios) {
        const long double r = ratio.value;
        const long double d = static_cast<long double>(high) - low;
        double level = 0.0;
        if (mode == 0) level = r < 1.0L ? static_cast<double>((r + 1.0L) * low) : 0.0;
        if (mode == 1) level = r < 1.0L ? static_cast<double>((1.0L - r) * high) : 0.0;
        if (mode == 2) level = static_cast<double>(low + r * d);
        if (mode == 3) level = static_cast<double>(high - r * d);
        buffer.append(p, lineLength);
        buffer += ',';
        buffer += kModes[mode];
        buffer += ',';
        buffer += ratio.text;
        buffer += ',';
        char number[32];
        buffer.append(number, static_cast<std::size_t>(ShortestWithPrintf(number, sizeof number, level)));
        buffer += ',';
        AppendMarkWithPrintf(buffer, level);
        buffer += "\r\n";
      }
    }
    if (buffer.size() >= (1u << 20)) {
      out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
      buffer.clear();
    }
    p = lineEnd + 1;
  }
  out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
}

// Lines in which the two outputs differ, over the first `rows` waves.
std::size_t DifferingLines(std::size_t rows) {
  const std::string input = tavimo::bench::BatchInputText(rows);
  std::ostringstream ours;
  std::ostringstream theirs;
  RunOurs(input, ours);
  RunWithCLibrary(input, theirs);
  std::istringstream a(ours.str());
  std::istringstream b(theirs.str());
  std::size_t differing = 0;
  std::string lineA;
  std::string lineB;
  bool moreA = true;
  bool moreB = true;
  while ((moreA = static_cast<bool>(std::getline(a, lineA))) | (moreB = static_cast<bool>(std::getline(b, lineB)))) {
    if (!moreA || !moreB || lineA != lineB) {
      if (differing < 5) std::fprintf(stderr, "differs:\n  %s\n  %s\n", lineA.c_str(), lineB.c_str());
      ++differing;
    }
  }
  return differing;
}

void Report(benchmark::State& state, std::uint64_t bytes) {
  const auto rows = static_cast<double>(BenchRows());
  state.counters["rows/s"] = benchmark::Counter(rows, benchmark::Counter::kIsIterationInvariantRate);
  state.counters["levels"] = benchmark::Counter(rows * 64);
  state.counters["MB"] = benchmark::Counter(static_cast<double>(bytes) / 1e6);
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
}

void BatchLevels(benchmark::State& state) {
  const std::string& input = Input();
  std::uint64_t bytes = 0;
  for (auto _ : state) {
    CountingOutput counter;
    std::ostream out(&counter);
    benchmark::DoNotOptimize(RunOurs(input, out));
    bytes = counter.Count();
  }
  Report(state, bytes);
}
BENCHMARK(BatchLevels)->Unit(benchmark::kMillisecond);

void BatchLevelsWithCLibrary(benchmark::State& state) {
  state.counters["differing lines in 100k rows"] = static_cast<double>(DifferingLines(100000));
  const std::string& input = Input();
  std::uint64_t bytes = 0;
  for (auto _ : state) {
    CountingOutput counter;
    std::ostream out(&counter);
    RunWithCLibrary(input, out);
    bytes = counter.Count();
  }
  Report(state, bytes);
}
BENCHMARK(BatchLevelsWithCLibrary)->Unit(benchmark::kMillisecond);

TAVIMO_BENCH_RATIO("BatchLevels", "BatchLevelsWithCLibrary", "<= 1.0 (at least as fast)");

}  // namespace
