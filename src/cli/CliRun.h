#pragma once
// One run of tavimo-cli from its arguments to its output, exit status and
// messages, without touching the process's streams.

#include <string>
#include <vector>

#include "cli/CliArguments.h"

namespace tavimo::cli {

struct CliResult {
  int exitStatus = 0;  // 0 done, 1 empty box or conversion error, 2 usage error
  std::string out;     // for stdout; empty whenever exitStatus is not 0
  std::string err;     // for stderr
};

inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// `arguments` are the words after the program name. Never raises.
CliResult RunCli(const std::vector<std::string>& arguments);

// The run for options already parsed (a usage error is not possible here).
CliResult RunCliOptions(const CliOptions& options);

}  // namespace tavimo::cli
