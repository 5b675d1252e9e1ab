// Start-up of the desktop program against the smallest Qt Widgets program,
// and against that program showing one label of Chinese text in the main
// window's face (the font's loading is then in both):
// the time from spawning the process to its first painted frame, and the
// peak resident memory of the whole run. Needs a display (bench/app_startup.sh
// provides one with Xvfb).

#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <string>
#include <vector>

#include "BenchRatio.h"

extern char** environ;

namespace {

long long MonotonicNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

struct RunResult {
  bool ok = false;
  double secondsToFirstFrame = 0;
  long peakKilobytes = 0;
  double cpuSeconds = 0;  // user + system time of the whole run
};

// Spawns program with TAVIMO_EXIT_AFTER_FIRST_PAINT=1 and reads the time of
// its first frame from its output.
RunResult RunOnce(const char* program, const char* argument) {
  RunResult result;
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return result;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
  std::vector<std::string> environment = {"TAVIMO_EXIT_AFTER_FIRST_PAINT=1"};
  for (char** e = environ; *e; ++e)
    if (std::strncmp(*e, "TAVIMO_EXIT_AFTER_FIRST_PAINT=", 30) != 0) environment.emplace_back(*e);
  std::vector<char*> envp;
  for (std::string& e : environment) envp.push_back(e.data());
  envp.push_back(nullptr);
  char* argv[] = {const_cast<char*>(program), const_cast<char*>(argument), nullptr};

  const long long start = MonotonicNanoseconds();
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, program, &actions, nullptr, argv, envp.data());
  posix_spawn_file_actions_destroy(&actions);
  close(pipeFds[1]);
  if (spawned != 0) {
    close(pipeFds[0]);
    return result;
  }
  std::string output;
  char buffer[256];
  ssize_t n;
  while ((n = read(pipeFds[0], buffer, sizeof buffer)) > 0) output.append(buffer, static_cast<std::size_t>(n));
  close(pipeFds[0]);
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  long long painted = 0;
  const std::size_t at = output.find("first frame painted at ");
  if (at == std::string::npos || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return result;
  painted = std::atoll(output.c_str() + at + 23);
  result.ok = painted > start;
  result.secondsToFirstFrame = static_cast<double>(painted - start) / 1e9;
  result.peakKilobytes = usage.ru_maxrss;
  result.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                      static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  return result;
}

constexpr int kRuns = 21;

struct Samples {
  std::vector<double> seconds;
  std::vector<double> cpuSeconds;
  long peakKilobytes = 0;
  bool ok = true;
};

// The programs are run in turn, rotating which goes first, so a change in
// the machine's load during the run hits all alike.
std::map<std::string, Samples>& InterleavedSamples() {
  // Never destroyed: the summary below reads it when the program ends.
  static auto* samples = new std::map<std::string, Samples>([] {
    std::map<std::string, Samples> s;
    struct Program {
      const char* name;
      const char* path;
      const char* argument;
    };
    const Program programs[] = {{"minimal", MINIMAL_PROGRAM, nullptr},
                                {"chinese", MINIMAL_PROGRAM, "--chinese-label"},
                                {"tavimo", TAVIMO_PROGRAM, nullptr}};
    for (int run = 0; run < kRuns; ++run) {
      for (int k = 0; k < 3; ++k) {
        const auto& [name, program, argument] = programs[(run + k) % 3];
        const RunResult result = RunOnce(program, argument);
        Samples& mine = s[name];
        if (!result.ok) {
          mine.ok = false;
          continue;
        }
        mine.seconds.push_back(result.secondsToFirstFrame);
        mine.cpuSeconds.push_back(result.cpuSeconds);
        mine.peakKilobytes = std::max(mine.peakKilobytes, result.peakKilobytes);
      }
    }
    return s;
  }());
  return *samples;
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

void Startup(benchmark::State& state, const char* name) {
  const Samples& samples = InterleavedSamples()[name];
  if (!samples.ok || samples.seconds.size() != static_cast<std::size_t>(kRuns)) {
    state.SkipWithError("the program did not report its first frame (is DISPLAY set?)");
    return;
  }
  std::size_t i = 0;
  for (auto _ : state) state.SetIterationTime(samples.seconds[i++ % samples.seconds.size()]);
  state.counters["median_ms"] = Median(samples.seconds) * 1e3;
  state.counters["cpu_ms"] = Median(samples.cpuSeconds) * 1e3;
  state.counters["peak_MiB"] = static_cast<double>(samples.peakKilobytes) / 1024.0;
}

void Startup_Tavimo(benchmark::State& state) { Startup(state, "tavimo"); }
void Startup_Minimal(benchmark::State& state) { Startup(state, "minimal"); }
void Startup_ChineseLabel(benchmark::State& state) { Startup(state, "chinese"); }

BENCHMARK(Startup_Minimal)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(kRuns);
BENCHMARK(Startup_ChineseLabel)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(kRuns);
BENCHMARK(Startup_Tavimo)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(kRuns);
TAVIMO_BENCH_RATIO("Startup_Tavimo/iterations:21/manual_time", "Startup_ChineseLabel/iterations:21/manual_time", "<= 1.15");
TAVIMO_BENCH_RATIO("Startup_Tavimo/iterations:21/manual_time", "Startup_Minimal/iterations:21/manual_time", "<= 1.3");

// Medians and the memory comparison, printed when the program ends.
struct Summary {
  ~Summary() {
    auto& samples = InterleavedSamples();
    if (samples.size() != 3) return;
    const Samples& t = samples.at("tavimo");
    const Samples& m = samples.at("minimal");
    const Samples& c = samples.at("chinese");
    if (t.seconds.empty() || m.seconds.empty() || c.seconds.empty()) return;
    std::printf("median time to first frame: tavimo %.1f ms, minimal %.1f ms, ratio %.3f  (target <= 1.3)\n",
                Median(t.seconds) * 1e3, Median(m.seconds) * 1e3, Median(t.seconds) / Median(m.seconds));
    std::printf("median CPU time of the run: tavimo %.1f ms, minimal %.1f ms\n", Median(t.cpuSeconds) * 1e3,
                Median(m.cpuSeconds) * 1e3);
    std::printf("peak memory: tavimo %.1f MiB, minimal %.1f MiB, difference %.1f MiB  (target <= 15 MiB)\n",
                static_cast<double>(t.peakKilobytes) / 1024.0, static_cast<double>(m.peakKilobytes) / 1024.0,
                static_cast<double>(t.peakKilobytes - m.peakKilobytes) / 1024.0);
    std::printf("against the Chinese label: time ratio %.3f  (target <= 1.15), memory %.1f MiB, difference %.1f MiB"
                "  (target <= 6 MiB)\n",
                Median(t.seconds) / Median(c.seconds), static_cast<double>(c.peakKilobytes) / 1024.0,
                static_cast<double>(t.peakKilobytes - c.peakKilobytes) / 1024.0);
  }
} summary;

}  // namespace
