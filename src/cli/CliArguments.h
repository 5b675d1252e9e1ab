#pragma once
// The command line of tavimo-cli: MODE and the options, turned into the
// options of one run or a usage error. Options are rows of one table (see
// CliArguments.cpp), which also writes the usage text.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/ComputeCommand.h"
#include "calc/LevelText.h"
#include "chart/MainChart.h"

namespace tavimo::cli {

struct CliOptions {
  ComputeMode mode = ComputeMode::Rise;
  // The price box texts as typed; an option not given is an empty box.
  std::string lowText;
  std::string highText;
  // A ratio list text replacing the stored list; none: the list of data.ini.
  std::optional<std::string> ratiosText;
  OutputFormat format = OutputFormat::Text;
  bool help = false;  // --help: print the usage and do nothing else
  // False only with --png or --layout: the chart as it looks at start-up.
  bool modeGiven = true;
  // The chart (ChartOutput.h): --png FILE, --size WxH, --scale S, --layout.
  std::optional<std::string> pngPath;
  int chartWidth = chart::kMainChartWidth;
  int chartHeight = chart::kMainChartHeight;
  double chartScale = 1.0;  // device pixels per pixel of the size
  bool layout = false;
  // "ratios" (CliRatios.h): print the stored ratio list text, or store one.
  bool ratiosCommand = false;
  std::optional<std::string> setRatiosText;  // --set TEXT
  bool resetRatios = false;                  // --reset
};

struct CliParseResult {
  CliOptions options;
  std::optional<std::string> usageError;  // set when the arguments are not usable
};

// `arguments` are the words after the program name. They are read in order;
// the first error, or --help, ends the reading. A first word "ratios" starts
// the ratios command, which takes --set TEXT or --reset. An option's value is the
// next word whatever it looks like ("--low -5"), or follows "=" in the same
// word ("--low=-5", "--low=" for an empty box). "--" ends the options.
CliParseResult ParseCliArguments(const std::vector<std::string>& arguments);

// The usage text printed by --help and after a usage error.
std::string UsageText();

std::string_view OutputFormatName(OutputFormat format);

}  // namespace tavimo::cli
