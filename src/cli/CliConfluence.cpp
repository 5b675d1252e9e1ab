#include "cli/CliConfluence.h"

#include <string>
#include <vector>

#include "calc/ComputeCommand.h"
#include "confluence/Confluence.h"
#include "confluence/ConfluenceText.h"
#include "runtime/ErrorText.h"
#include "runtime/Exceptions.h"

namespace tavimo::cli {

CliResult RunConfluenceCommand(const CliOptions& options, const StoredSettings& stored) {
  const RatioList ratios = CliRatioList(options, stored);
  const LevelPresentation shown = ResolveLevelPresentation(options, stored);
  std::vector<ConfluenceWave> waves;
  waves.reserve(options.waves.size());
  for (std::size_t i = 0; i < options.waves.size(); ++i) {
    const CliWave& text = options.waves[i];
    try {
      ConfluenceWave wave;
      wave.low = ConvertPrice(text.lowText);
      wave.high = ConvertPrice(text.highText);
      if (text.fromText) wave.from = ConvertPrice(*text.fromText);
      waves.push_back(wave);
    } catch (const Exception& error) {
      return FailedRun("wave " + std::to_string(i + 1) + ": " + ErrorBoxText(error.Message()));
    }
  }
  ConfluenceOptions confluence;
  confluence.modes = options.modes;
  confluence.scale = shown.scale;
  confluence.tolerancePercent = options.tolerancePercent;
  confluence.minWaves = options.minWaves;
  const std::vector<ConfluenceZone> zones = FindConfluenceZones(waves, ratios, confluence);
  const std::vector<ConfluenceZoneRow> rows =
      MakeConfluenceRows(zones, ratios, shown.tick ? &*shown.tick : nullptr, shown.rounding);
  return {kExitDone, FormatConfluenceRows(options.format, options.tolerancePercent, rows), {}};
}

}  // namespace tavimo::cli
