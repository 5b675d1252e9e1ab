#include "confluence/Confluence.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "calc/LevelTable.h"

namespace tavimo {

std::vector<ConfluenceLevel> CollectConfluenceLevels(const std::vector<ConfluenceWave>& waves, const RatioList& ratios,
                                                     const std::vector<ComputeMode>& modes, LevelScale scale) {
  const std::vector<double> ratioValues = ParseRatioValues(ratios);
  std::vector<ConfluenceLevel> levels;
  for (std::size_t w = 0; w < waves.size(); ++w) {
    const ConfluenceWave& wave = waves[w];
    const LevelPrices prices{wave.low, wave.high, wave.from.value_or(0.0)};
    for (std::size_t m = 0; m < modes.size(); ++m) {
      const ComputeMode mode = modes[m];
      const LevelScale modeScale = ScaleForMode(scale, mode);
      // A wave without a third price has no projection; the others still do.
      if (NeedsFrom(mode) && !wave.from) continue;
      CheckLogScalePrices(mode, modeScale, prices);
      for (std::size_t i = 0; i < ratioValues.size(); ++i) {
        if (SkipsRatio(mode, ratioValues[i])) continue;
        levels.push_back({w, m, mode, i, LevelFor(mode, modeScale, ratioValues[i], prices)});
      }
    }
  }
  // Collected in wave, mode, ratio order, so a stable sort by value alone
  // breaks ties exactly in that order.
  std::stable_sort(levels.begin(), levels.end(),
                   [](const ConfluenceLevel& a, const ConfluenceLevel& b) { return a.level < b.level; });
  return levels;
}

std::vector<ConfluenceZone> SweepConfluenceZones(const std::vector<ConfluenceLevel>& sortedLevels,
                                                 long double tolerancePercent, std::size_t minWaves) {
  std::vector<ConfluenceZone> zones;
  for (std::size_t i = 0; i < sortedLevels.size();) {
    const double anchor = sortedLevels[i].level;
    const long double widened = std::fabs(static_cast<long double>(anchor)) * tolerancePercent;
    const long double width = widened / 100.0L;
    const long double limit = anchor + width;
    ConfluenceZone zone;
    std::vector<std::size_t> waves;
    for (; i < sortedLevels.size() && (zone.members.empty() || sortedLevels[i].level <= limit); ++i) {
      zone.members.push_back(sortedLevels[i]);
      waves.push_back(sortedLevels[i].wave);
    }
    std::sort(waves.begin(), waves.end());
    zone.waves = static_cast<std::size_t>(std::unique(waves.begin(), waves.end()) - waves.begin());
    if (zone.waves < minWaves) continue;
    zone.low = zone.members.front().level;
    zone.high = zone.members.back().level;
    zones.push_back(std::move(zone));
  }
  std::stable_sort(zones.begin(), zones.end(), [](const ConfluenceZone& a, const ConfluenceZone& b) {
    if (a.waves != b.waves) return a.waves > b.waves;
    if (a.members.size() != b.members.size()) return a.members.size() > b.members.size();
    return a.low < b.low;
  });
  return zones;
}

std::vector<ConfluenceZone> FindConfluenceZones(const std::vector<ConfluenceWave>& waves, const RatioList& ratios,
                                                const ConfluenceOptions& options) {
  const std::vector<ConfluenceLevel> levels = CollectConfluenceLevels(waves, ratios, options.modes, options.scale);
  return SweepConfluenceZones(levels, options.tolerancePercent,
                              options.minWaves.value_or(DefaultMinWaves(waves.size())));
}

}  // namespace tavimo
