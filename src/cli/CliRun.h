#pragma once
// One run of tavimo-cli from its arguments to its output, exit status and
// messages. Only batch touches streams, and only those it is given.

#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "calc/ComputeMode.h"
#include "calc/LevelView.h"
#include "calc/RatioList.h"
#include "cli/ChartOutput.h"
#include "cli/CliArguments.h"
#include "settings/SettingsFile.h"

namespace tavimo::cli {

struct CliResult {
  int exitStatus = 0;  // 0 done, 1 empty box or conversion error, 2 usage error
  // For stdout; empty whenever exitStatus is not 0, except where bad rows
  // were skipped (batch, price files): then what the good rows gave.
  std::string out;
  std::string err;     // for stderr
};

inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// Where batch streams: its input for "--input -", its rows and its bad-row
// lines. A stream not given is empty input, or collected in CliResult.
struct CliStreams {
  std::istream* input = nullptr;
  std::ostream* output = nullptr;
  std::ostream* errors = nullptr;
};

// `arguments` are the words after the program name. Never raises.
CliResult RunCli(const std::vector<std::string>& arguments, const CliStreams& streams = {});

// The run for options already parsed (a usage error is not possible here).
CliResult RunCliOptions(const CliOptions& options, const CliStreams& streams = {});

// How the levels of a run are shown: the options given, else what the
// window has stored in data.ini (stored: read once per run, only when an
// option leaves something to it), so that tavimo-cli
// prints what the window copies. The scale is the one chosen; each mode
// takes it where it applies, so a stored log scale leaves rise and decline
// linear beside the others, as the window does. Raises EConvertError
// kInvalidTickMessage for a tick that is not above zero.
LevelPresentation ResolveLevelPresentation(const CliOptions& options, const StoredSettings& stored);

// The picture --png, --size and --scale ask for.
ChartRequest PictureRequest(const CliOptions& options);

// A failure: the message on a line of its own.
CliResult FailedRun(std::string message);

// The ratio list of a run: --ratios, taken as the same text stored in
// data.ini would be read (trimmed and unquoted, so a blank text is the
// default list too), else the list of data.ini, exactly as the window loads it.
RatioList CliRatioList(const CliOptions& options, const StoredSettings& stored);

}  // namespace tavimo::cli
