#include "calc/LevelTable.h"

namespace tavimo {

LevelTable BuildLevelTable(ComputeMode mode, LevelScale scale, const RatioList& ratios, const LevelPrices& prices) {
  LevelTable table(ratios.size(), 0.0);
  for (std::size_t i = 0; i < ratios.size(); ++i) {
    // A skipped entry is still converted, so a bad entry fails there too.
    const long double r = ParseRatio(ratios[i]);
    table[i] = LevelFor(mode, scale, r, prices);
  }
  return table;
}

LevelTable BuildRiseTable(const RatioList& ratios, double low) {
  return BuildLevelTable(ComputeMode::Rise, LevelScale::Linear, ratios, {low, 0.0, 0.0});
}

LevelTable BuildDeclineTable(const RatioList& ratios, double high) {
  return BuildLevelTable(ComputeMode::Decline, LevelScale::Linear, ratios, {0.0, high, 0.0});
}

LevelTable BuildResistanceTable(const RatioList& ratios, double low, double high) {
  return BuildLevelTable(ComputeMode::Resistance, LevelScale::Linear, ratios, {low, high, 0.0});
}

LevelTable BuildSupportTable(const RatioList& ratios, double low, double high) {
  return BuildLevelTable(ComputeMode::Support, LevelScale::Linear, ratios, {low, high, 0.0});
}

LevelTable BuildProjectionUpTable(const RatioList& ratios, double low, double high, double from) {
  return BuildLevelTable(ComputeMode::ProjectionUp, LevelScale::Linear, ratios, {low, high, from});
}

LevelTable BuildProjectionDownTable(const RatioList& ratios, double low, double high, double from) {
  return BuildLevelTable(ComputeMode::ProjectionDown, LevelScale::Linear, ratios, {low, high, from});
}

std::vector<double> ParseRatioValues(const RatioList& ratios) {
  std::vector<double> values;
  values.reserve(ratios.size());
  for (const std::string& entry : ratios) values.push_back(ParseRatio(entry));
  return values;
}

}  // namespace tavimo
