// Reaction statistics of a hand-worked zigzag, the exact tolerance edge, and
// the share and distance texts.

#include <gtest/gtest.h>

#include <vector>

#include "history/Reactions.h"
#include "history/Scan.h"
#include "runtime/Exceptions.h"

namespace tavimo {
namespace {

SwingPoint Pivot(SwingKind kind, double price, bool confirmed = true) {
  SwingPoint point;
  point.kind = kind;
  point.price = price;
  point.confirmed = confirmed;
  return point;
}

TEST(Reactions, AHandWorkedZigzagCountsHitsResumedAndDecided) {
  // Depths: 50/100 = 0.5 (then 300 lies above 200: resumed), 150/50 = 3
  // (the open extreme 250 is not below 150: undecided).
  const std::vector<SwingPoint> points = {Pivot(SwingKind::Low, 100), Pivot(SwingKind::High, 200),
                                          Pivot(SwingKind::Low, 150), Pivot(SwingKind::High, 300),
                                          Pivot(SwingKind::Low, 250, false)};
  ReactionStats stats = EmptyReactionStats({"0.5", "0.618", "3", "1/2"});
  AddReactions(points, ReactionTolerance("0"), stats);
  EXPECT_EQ(stats.legs, 2u);
  EXPECT_EQ(stats.depths, (std::vector<double>{0.5, 3.0}));
  const struct {
    std::uint64_t hits, resumed, decided;
  } expected[] = {{1, 1, 1}, {0, 0, 0}, {1, 0, 0}, {1, 1, 1}};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(stats.ratios[i].hits, expected[i].hits) << stats.ratios[i].ratio;
    EXPECT_EQ(stats.ratios[i].resumed, expected[i].resumed) << stats.ratios[i].ratio;
    EXPECT_EQ(stats.ratios[i].decided, expected[i].decided) << stats.ratios[i].ratio;
  }
  // An open extreme already beyond decides the last depth; fewer than three pivots add nothing.
  stats = EmptyReactionStats({"3"});
  std::vector<SwingPoint> beyond = points;
  beyond.back().price = 149;
  AddReactions(beyond, ReactionTolerance("0"), stats);
  EXPECT_EQ(stats.ratios[0].resumed, 1u);
  EXPECT_EQ(stats.ratios[0].decided, 1u);
  AddReactions({points[0], points[1], points[4]}, ReactionTolerance("0"), stats);
  EXPECT_EQ(stats.legs, 2u);
}

TEST(Reactions, ADepthExactlyOnTheToleranceEdgeIsAHit) {
  // 618/1000 = 0.618 lies exactly 0.118 from 0.5, which doubles cannot tell.
  const std::vector<SwingPoint> points = {Pivot(SwingKind::Low, 0), Pivot(SwingKind::High, 1000),
                                          Pivot(SwingKind::Low, 382), Pivot(SwingKind::High, 2000, false)};
  for (const auto& [tolerance, hits] : {std::pair{"0.118", 1u}, {"0.11799999999999999", 0u}, {"0.1180000000001", 1u}}) {
    ReactionStats stats = EmptyReactionStats({"0.5"});
    AddReactions(points, ReactionTolerance(tolerance), stats);
    EXPECT_EQ(stats.ratios[0].hits, hits) << tolerance;
  }
  EXPECT_THROW(ReactionTolerance("-0.1"), Exception);
  EXPECT_THROW(ReactionTolerance("1e400"), Exception);
  EXPECT_THROW(ReactionTolerance("x"), Exception);
}

TEST(Reactions, SharesAndDistancesRoundTheExactQuotientHalfAwayFromZero) {
  const struct {
    std::uint64_t part, whole;
    const char* text;
  } shares[] = {{1, 3, "33.3"}, {2, 3, "66.7"}, {1, 16, "6.3"}, {1, 8, "12.5"}, {0, 5, "0.0"}, {5, 5, "100.0"}, {0, 0, "-"}};
  for (const auto& c : shares) EXPECT_EQ(ShareText(c.part, c.whole), c.text) << c.part << "/" << c.whole;
  const struct {
    double close, level;
    const char* text;
  } distances[] = {  // the double nearest 99.995 lies above it: 0.004999...{20000, 19999, "0.01"},  {20000, 20001, "-0.01"}, {20000, 19999.5, "0.00"},
                   {100, 99.995, "0.00"},   {50, 25, "50.00"},       {3, 4, "-33.33"},
                   {20000, 19997, "0.02"},  {0, 1, "-"}};
  for (const auto& c : distances) EXPECT_EQ(DistanceText(c.close, c.level), c.text) << c.close << " " << c.level;
}

}  // namespace
}  // namespace tavimo
