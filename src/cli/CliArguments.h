#pragma once
// The command line of tavimo-cli: the command (the levels of a MODE,
// confluence, batch or ratios) and its options, turned into the options of
// one run or a usage error. Options are rows of one table (see
// CliArguments.cpp), which also writes the usage text.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/ComputeCommand.h"
#include "confluence/Confluence.h"
#include "calc/LevelScale.h"
#include "calc/LevelText.h"
#include "calc/PriceTick.h"
#include "chart/MainChart.h"

namespace tavimo::cli {

enum class CliCommand {
  Levels,      // MODE: the levels of one wave, and the chart
  Ratios,      // ratios: the stored ratio list
  Confluence,  // confluence: the zones where the levels of several waves meet
  Batch,       // batch: the levels of many waves, CSV in and out
  Swings,      // swings: the zigzag of a price file
  Stats,       // stats: the reaction statistics of price files
  Scan,        // scan: the current leg of many price files against its levels
  Chart,       // chart: a price file's candles, swings and levels as a picture
};

// One --wave LOW:HIGH[:C], its texts as typed (converted as price boxes are).
struct CliWave {
  std::string lowText;
  std::string highText;
  std::optional<std::string> fromText;
};

struct CliOptions {
  CliCommand command = CliCommand::Levels;
  ComputeMode mode = ComputeMode::Rise;
  // The price box texts as typed; an option not given is an empty box.
  std::string lowText;
  std::string highText;
  std::string fromText;  // C, read by the projections
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
  std::optional<std::string> setRatiosText;  // --set TEXT
  bool resetRatios = false;                  // --reset
  // How levels are shown, for MODE, confluence and batch alike. None: as the
  // window has them stored (data.ini); an empty tick text: no tick.
  std::optional<std::string> tickText;
  TickRounding rounding = TickRounding::Nearest;
  std::optional<LevelScale> scale;
  // "confluence" (CliConfluence.h).
  std::vector<CliWave> waves;
  std::vector<ComputeMode> modes;  // confluence --modes, or batch's MODE list; in the order given
  long double tolerancePercent = kDefaultConfluenceTolerance;
  std::optional<std::size_t> minWaves;
  // "batch" (CliBatch.h): the CSV input, "-" for standard input.
  std::string inputPath = "-";
  // Price files (CliHistory.h): every --input in order (stats; MODE and
  // swings take one), or scan's FILEs; the wave of MODE then comes from leg
  // legNumber of the file, and MODE auto is that leg's own mode.
  std::vector<std::string> inputPaths;
  std::optional<std::string> changeText;     // --change P, checked when the run starts
  std::optional<std::string> toleranceText;  // stats --tolerance T, likewise
  // chart --from/--to: the times of the first and last bars in view, checked when the run starts.
  std::optional<std::string> spanFromText, spanToText;
  std::size_t legNumber = 1;
  bool autoMode = false;
  bool pricesGiven = false;  // --low or --high, which leave no room for --input
};

struct CliParseResult {
  CliOptions options;
  std::optional<std::string> usageError;  // set when the arguments are not usable
};

// `arguments` are the words after the program name. They are read in order;
// the first error, or --help, ends the reading. A first word "ratios",
// "confluence" or "batch" starts that command; any other run is MODE's. An
// option's value is the next word whatever it looks like ("--low -5"), or
// follows "=" in the same word ("--low=-5", "--low=" for an empty box). "--"
// ends the options.
CliParseResult ParseCliArguments(const std::vector<std::string>& arguments);

// The usage text's parts that come from the option table: the
// " [--name VALUE]..." synopsis of a command's line, and the option list,
// one "  --name VALUE  help" line per option with the helps in one column.
enum class UsageCommand { Levels, Chart, Confluence, Batch, Swings, Stats, Scan, PriceChart };
std::string OptionSynopsis(UsageCommand command);
std::string OptionList();

std::string_view OutputFormatName(OutputFormat format);

// The modes confluence uses without --modes: those of a wave's own two
// prices and of its third.
inline constexpr std::array<ComputeMode, 4> kDefaultConfluenceModes = {
    ComputeMode::Resistance, ComputeMode::Support, ComputeMode::ProjectionUp, ComputeMode::ProjectionDown};

}  // namespace tavimo::cli
