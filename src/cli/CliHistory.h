#pragma once
// tavimo-cli on price files: swings, stats, scan, and the wave of MODE taken
// from a leg of a file (MODE --input, MODE auto).

#include "cli/CliArguments.h"
#include "cli/CliRun.h"

namespace tavimo::cli {

// Bad rows of a file are reported on stderr ("line N: <message>", after the
// file's name and ": " when the command reads several files) and skipped;
// the output is still written and the exit status is 1. A file that cannot
// be read, or holds no bar, ends the run (swings, stats) or is reported and
// skipped (scan).
CliResult RunSwingsCommand(const CliOptions& options);
CliResult RunStatsCommand(const CliOptions& options, const StoredSettings& stored);
CliResult RunScanCommand(const CliOptions& options, const StoredSettings& stored);
// chart: the candles (rising red, falling green, as the Chinese window
// draws them), the zigzag and the levels of leg legNumber, all bars in view.
CliResult RunChartCommand(const CliOptions& options, const StoredSettings& stored);

// MODE --input: options with --low and --high (and, for auto, the mode) set
// from leg legNumber of the file, texts that read back to the leg's prices
// exactly; or the failed run ("No leg N in '<file>'.", a file that cannot be
// read). Bad-row lines go to messages.
struct LegWave {
  std::optional<CliOptions> options;
  CliResult failure;
  std::string messages;
  bool badRows = false;
};
LegWave WaveFromLeg(const CliOptions& options);

}  // namespace tavimo::cli
