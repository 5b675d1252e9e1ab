#pragma once
// Confluence of several waves: every level of every wave in every chosen
// mode, swept in ascending order into price zones where levels of different
// waves cluster, strongest zone first.

#include <cstddef>
#include <optional>
#include <vector>

#include "calc/ComputeMode.h"
#include "calc/LevelFormula.h"
#include "calc/LevelScale.h"
#include "calc/RatioList.h"

namespace tavimo {

inline constexpr long double kDefaultConfluenceTolerance = 0.5L;  // percent

// One wave: its low and high and, for the projections, its third price C.
struct ConfluenceWave {
  double low = 0.0;
  double high = 0.0;
  std::optional<double> from;
};

// One level of the sweep and where it came from.
struct ConfluenceLevel {
  std::size_t wave = 0;       // index into the waves, 0-based
  std::size_t modeIndex = 0;  // index into the modes as given
  ComputeMode mode = ComputeMode::Resistance;
  std::size_t ratio = 0;  // index into the ratio list
  double level = 0.0;
};

struct ConfluenceZone {
  double low = 0.0;                      // the lowest member's level
  double high = 0.0;                     // the highest member's level
  std::size_t waves = 0;                 // distinct waves among the members
  std::vector<ConfluenceLevel> members;  // ascending, as the sweep met them
};

struct ConfluenceOptions {
  std::vector<ComputeMode> modes;  // in the order that breaks ties
  LevelScale scale = LevelScale::Linear;  // as chosen; each mode takes it where it applies
  // As ParseFloatText reads it: the tolerance is never stored, so it keeps
  // its extended value.
  long double tolerancePercent = kDefaultConfluenceTolerance;
  // Zones with fewer distinct waves are dropped; none: DefaultMinWaves.
  std::optional<std::size_t> minWaves;
};

// 2, or 1 when only one wave is given.
constexpr std::size_t DefaultMinWaves(std::size_t waveCount) { return waveCount == 1 ? 1 : 2; }

// Every level of every wave in every mode, sorted ascending by value; ties
// by wave, then mode in the order given, then ratio index. Rise and decline
// leave out ratios of 1 and more; a wave without C has no projection levels.
// The ratios are converted once, in list order (ParseRatio's errors
// propagate). Each mode computes on the scale as it takes it (ScaleForMode:
// rise and decline stay linear); on the log scale a price at or below zero
// raises EConvertError kLogScalePricesMessage; a level beyond the double
// range raises EOverflow.
std::vector<ConfluenceLevel> CollectConfluenceLevels(const std::vector<ConfluenceWave>& waves, const RatioList& ratios,
                                                     const std::vector<ComputeMode>& modes, LevelScale scale);

// The sweep over sorted levels: the first level not in a zone opens one with
// anchor a; each following level v joins while v <= a + |a| x P / 100 (in
// extended precision). Zones with fewer than minWaves distinct waves are
// dropped; the rest are ordered by distinct waves, then by level count, both
// descending, then by their lowest level ascending.
std::vector<ConfluenceZone> SweepConfluenceZones(const std::vector<ConfluenceLevel>& sortedLevels,
                                                 long double tolerancePercent, std::size_t minWaves);

// Collect and sweep.
std::vector<ConfluenceZone> FindConfluenceZones(const std::vector<ConfluenceWave>& waves, const RatioList& ratios,
                                                const ConfluenceOptions& options);

}  // namespace tavimo
