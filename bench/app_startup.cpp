// Start-up of the desktop program against the smallest Qt Widgets program:
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
};

// Spawns program with TAVIMO_EXIT_AFTER_FIRST_PAINT=1 and reads the time of
// its first frame from its output.
RunResult RunOnce(const char* program) {
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
  char* argv[] = {const_cast<char*>(program), nullptr};

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
  return result;
}

std::map<std::string, long> peakKilobytes;

void Startup(benchmark::State& state, const char* name, const char* program) {
  long peak = 0;
  for (auto _ : state) {
    const RunResult run = RunOnce(program);
    if (!run.ok) {
      state.SkipWithError("the program did not report its first frame (is DISPLAY set?)");
      return;
    }
    state.SetIterationTime(run.secondsToFirstFrame);
    peak = std::max(peak, run.peakKilobytes);
  }
  state.counters["peak_MiB"] = static_cast<double>(peak) / 1024.0;
  peakKilobytes[name] = peak;
}

void Startup_Tavimo(benchmark::State& state) { Startup(state, "tavimo", TAVIMO_PROGRAM); }
void Startup_Minimal(benchmark::State& state) { Startup(state, "minimal", MINIMAL_PROGRAM); }

BENCHMARK(Startup_Minimal)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(15);
BENCHMARK(Startup_Tavimo)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(15);
TAVIMO_BENCH_RATIO("Startup_Tavimo/iterations:15/manual_time", "Startup_Minimal/iterations:15/manual_time", "<= 1.3");

// The memory comparison, printed when the program ends.
struct MemoryReport {
  ~MemoryReport() {
    const auto t = peakKilobytes.find("tavimo");
    const auto m = peakKilobytes.find("minimal");
    if (t == peakKilobytes.end() || m == peakKilobytes.end()) return;
    std::printf("peak memory: tavimo %.1f MiB, minimal %.1f MiB, difference %.1f MiB  (target <= 15 MiB)\n",
                static_cast<double>(t->second) / 1024.0, static_cast<double>(m->second) / 1024.0,
                static_cast<double>(t->second - m->second) / 1024.0);
  }
} memoryReport;

}  // namespace
