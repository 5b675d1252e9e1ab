// The confluence sweep: which levels take part, their order, the zone
// boundary, the strength order and the dropping of weak zones.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "CalcTestSupport.h"
#include "confluence/Confluence.h"
#include "runtime/Exceptions.h"

namespace tavimo {
namespace {

using testing::Raises;

// "w1 resistance 0.5=15" per member, zones separated by " | ".
std::string Describe(const std::vector<ConfluenceZone>& zones, const RatioList& ratios) {
  std::string text;
  for (const ConfluenceZone& zone : zones) {
    if (!text.empty()) text += " | ";
    text += std::to_string(zone.waves) + " waves:";
    for (const ConfluenceLevel& member : zone.members) {
      char level[32];
      std::snprintf(level, sizeof level, "%.6g", member.level);
      text += " w" + std::to_string(member.wave + 1) + " " + std::string(ComputeModeName(member.mode)) + " " +
              ratios[member.ratio] + "=" + level;
    }
  }
  return text;
}

TEST(Confluence, ZonesByStrengthWithTiesInWaveModeRatioOrder) {
  // Levels: 13.82 (w1 support 0.618), 14.292 (w2 support 0.618), 15 four
  // times, 15.708 (w2 resistance 0.618), 16.18 (w1 resistance 0.618).
  const RatioList ratios = {"0.5", "0.618"};
  const std::vector<ConfluenceWave> waves = {{10, 20, {}}, {12, 18, {}}};
  ConfluenceOptions options{{ComputeMode::Support, ComputeMode::Resistance}, LevelScale::Linear, 5.0, {}};
  EXPECT_EQ(Describe(FindConfluenceZones(waves, ratios, options), ratios),
            "2 waves: w1 support 0.5=15 w1 resistance 0.5=15 w2 support 0.5=15 w2 resistance 0.5=15"
            " w2 resistance 0.618=15.708 | 2 waves: w1 support 0.618=13.82 w2 support 0.618=14.292");
  // At the default half percent only the four levels at 15 cluster; 16.18
  // stands alone and is dropped.
  options.tolerancePercent = kDefaultConfluenceTolerance;
  const std::vector<ConfluenceZone> zones = FindConfluenceZones(waves, ratios, options);
  ASSERT_EQ(zones.size(), 1u);
  EXPECT_EQ(zones[0].members.size(), 4u);
  EXPECT_EQ(zones[0].low, 15.0);
  EXPECT_EQ(zones[0].high, 15.0);
  options.minWaves = 1;
  EXPECT_EQ(FindConfluenceZones(waves, ratios, options).size(), 5u);
}

TEST(Confluence, LevelExactlyOnTheToleranceJoins) {
  // Anchor 100 at 0.5 %: the limit is exactly 100.5.
  const RatioList ratios = {"0"};
  const ConfluenceOptions options{{ComputeMode::Resistance}, LevelScale::Linear, 0.5, {}};
  const auto zoneCount = [&](double second) {
    return FindConfluenceZones({{100, 200, {}}, {second, 200, {}}}, ratios, options).size();
  };
  EXPECT_EQ(zoneCount(100.5), 1u);
  EXPECT_EQ(zoneCount(std::nextafter(100.5, 200.0)), 0u);
  // The limit is formed in extended precision: 10 + 10 x 0.5 / 100 lies
  // below the double 10.05, which therefore opens a zone of its own (in
  // doubles the limit would be that very double).
  const auto tenCount = [&](double second) {
    return FindConfluenceZones({{10, 20, {}}, {second, 20, {}}}, ratios, options).size();
  };
  EXPECT_EQ(tenCount(10.05), 0u);
  EXPECT_EQ(tenCount(std::nextafter(10.05, 0.0)), 1u);
  // A negative anchor widens upwards as well.
  EXPECT_EQ(FindConfluenceZones({{-100, 0, {}}, {-99.5, 0, {}}}, ratios, options).size(), 1u);
}

TEST(Confluence, RiseAndDeclineLeaveOutRatiosFromOneUp) {
  const RatioList ratios = {"0.5", "1", "2"};
  const std::vector<ConfluenceLevel> levels =
      CollectConfluenceLevels({{10, 20, {}}}, ratios, {ComputeMode::Rise, ComputeMode::Decline}, LevelScale::Linear);
  ASSERT_EQ(levels.size(), 2u);
  EXPECT_EQ(levels[0].level, 10.0);  // decline 0.5 of 20
  EXPECT_EQ(levels[1].level, 15.0);  // rise 0.5 of 10
  // One wave: zones of one wave are kept.
  EXPECT_EQ(FindConfluenceZones({{10, 20, {}}}, ratios, {{ComputeMode::Rise}, LevelScale::Linear, 0.5, {}}).size(), 1u);
}

TEST(Confluence, WaveWithoutThirdPriceHasNoProjections) {
  const RatioList ratios = {"0.5"};
  const std::vector<ConfluenceLevel> levels = CollectConfluenceLevels(
      {{10, 20, {}}, {10, 20, 30.0}}, ratios, {ComputeMode::ProjectionUp, ComputeMode::Resistance}, LevelScale::Linear);
  ASSERT_EQ(levels.size(), 3u);
  EXPECT_EQ(levels[2].wave, 1u);
  EXPECT_EQ(levels[2].mode, ComputeMode::ProjectionUp);
  EXPECT_EQ(levels[2].level, 35.0);
}

TEST(Confluence, LogScaleRulesHold) {
  const RatioList ratios = {"0.5"};
  // Each mode takes the scale as it applies to it: decline beside resistance stays linear.
  const std::vector<ConfluenceLevel> mixed =
      CollectConfluenceLevels({{10, 40, {}}}, ratios, {ComputeMode::Resistance, ComputeMode::Decline}, LevelScale::Log);
  ASSERT_EQ(mixed.size(), 2u);
  EXPECT_EQ(mixed[0].mode, ComputeMode::Resistance);  // equal levels keep the modes' order
  EXPECT_EQ(mixed[0].level, 20.0);                    // 10 x (40 / 10)^0.5
  EXPECT_EQ(mixed[1].mode, ComputeMode::Decline);
  EXPECT_EQ(mixed[1].level, 20.0);  // (1 - 0.5) x 40
  EXPECT_TRUE(Raises<EConvertError>(
      [&] {
        CollectConfluenceLevels({{10, 20, {}}, {0, 20, {}}}, ratios, {ComputeMode::Support}, LevelScale::Log);
      },
      "Log scale needs prices above zero."));
  EXPECT_EQ(CollectConfluenceLevels({{10, 40, {}}}, ratios, {ComputeMode::Resistance}, LevelScale::Log)[0].level, 20.0);
}

}  // namespace
}  // namespace tavimo
