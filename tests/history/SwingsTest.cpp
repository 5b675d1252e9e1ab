#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "CalcTestSupport.h"
#include "history/Swings.h"
#include "runtime/Exceptions.h"

namespace tavimo {
namespace {

struct Point {
  std::size_t bar;
  SwingKind kind;
  double price;
  bool confirmed;
  std::size_t confirmedBar;
  bool operator==(const Point&) const = default;
};

std::vector<Point> Swings(const std::vector<double>& high, const std::vector<double>& low, const char* change = "5") {
  std::vector<Point> out;
  for (const SwingPoint& p : FindSwings(high.data(), low.data(), high.size(), SwingChange(change)))
    out.push_back({p.bar, p.kind, p.price, p.confirmed, p.confirmed ? p.confirmedBar : 0});
  return out;
}

TEST(SwingsTest, ATieExactlyOnTheThresholdTurnsTheSwing) {
  // 100 to 105 is exactly 5 %, and 105 down to 99.75 exactly 5 % again.
  const std::vector<Point> expected = {
      {0, SwingKind::Low, 100, true, 1}, {1, SwingKind::High, 105, true, 2}, {2, SwingKind::Low, 99.75, false, 0}};
  EXPECT_EQ(Swings({100, 105, 100}, {100, 105, 99.75}), expected);
  // Just short of the threshold no leg is known yet.
  EXPECT_TRUE(Swings({100, 104.99999999999999}, {100, 104}).empty());
}

TEST(SwingsTest, ATieOnAThresholdThatNoDoubleHoldsIsDecidedExactly) {
  // The threshold is 3.003 exactly. The double nearest it lies above it; the
  // double below, which 3 x 1.001 gives in doubles, falls short.
  EXPECT_TRUE(Swings({3, 3.0029999999999997}, {3, 3.0029999999999997}, "0.1").empty());
  EXPECT_EQ(Swings({3, 3.003}, {3, 3.003}, "0.1").size(), 2u);
}

TEST(SwingsTest, ABarThatExtendsTheLegAndReversesItIsThePivot) {
  // Bar 2 makes a new high at 120 and its low of 100 falls more than 5 % below it.
  const std::vector<Point> expected = {
      {0, SwingKind::Low, 100, true, 1}, {2, SwingKind::High, 120, true, 2}, {2, SwingKind::Low, 100, false, 0}};
  EXPECT_EQ(Swings({100, 110, 120}, {100, 108, 100}), expected);
}

TEST(SwingsTest, EqualExtremesMoveToTheLaterBar) {
  const std::vector<Point> expected = {
      {1, SwingKind::Low, 100, true, 2}, {2, SwingKind::High, 105, false, 0}};
  EXPECT_EQ(Swings({100, 100, 105}, {100, 100, 104}), expected);
}

// The zigzag as its rules read, bar by bar, with the exact test per call:
// the reference the fast search is checked against.
std::vector<Point> ReferenceSwings(const std::vector<double>& high, const std::vector<double>& low,
                                   const SwingChange& change) {
  std::vector<Point> out;
  std::size_t highest = 0, lowest = 0, i = 0;
  bool up = false, started = false;
  for (; i < high.size() && !started; ++i) {
    if (high[i] >= high[highest]) highest = i;
    if (low[i] <= low[lowest]) lowest = i;
    if (lowest < highest && change.ReachesRise(high[highest], low[lowest]))
      out.push_back({lowest, SwingKind::Low, low[lowest], true, i}), up = started = true;
    else if (highest < lowest && change.ReachesFall(low[lowest], high[highest]))
      out.push_back({highest, SwingKind::High, high[highest], true, i}), started = true;
  }
  if (!started) return out;
  std::size_t extreme = up ? highest : lowest;
  for (; i < high.size(); ++i) {
    if (up ? high[i] >= high[extreme] : low[i] <= low[extreme]) extreme = i;
    if (up ? change.ReachesFall(low[i], high[extreme]) : change.ReachesRise(high[i], low[extreme])) {
      out.push_back({extreme, up ? SwingKind::High : SwingKind::Low, up ? high[extreme] : low[extreme], true, i});
      extreme = i;
      up = !up;
    }
  }
  out.push_back({extreme, up ? SwingKind::High : SwingKind::Low, up ? high[extreme] : low[extreme], false, 0});
  return out;
}

// Random walks of whole prices (ties exactly on the threshold, equal
// extremes) and of fine ones, with highs and lows and as one-price series.
TEST(SwingsTest, FindsWhatTheRulesGiveBarByBarOnRandomWalks) {
  std::mt19937_64 generator(77);
  for (int walk = 0; walk < 60; ++walk) {
    const bool whole = walk % 2 == 0, line = walk % 3 == 0;
    const char* changeText = whole ? "5" : (walk % 4 == 1 ? "2.5" : "0.7");
    std::vector<double> high, low;
    double price = 100;
    for (int bar = 0; bar < 3000; ++bar) {
      price = std::max(1.0, price + (static_cast<double>(generator() % 2001) - 1000) / (whole ? 200 : 137.0));
      const double h = whole ? std::round(price + generator() % 3) : price + (generator() % 1000) / 700.0;
      const double l = whole ? std::round(price - generator() % 3) : price - (generator() % 1000) / 700.0;
      high.push_back(h);
      low.push_back(line ? h : std::min(h, std::max(0.5, l)));
    }
    const SwingChange change(changeText);
    ASSERT_EQ(Swings(high, low, changeText), ReferenceSwings(high, low, change)) << "walk " << walk;
  }
}

TEST(SwingsTest, LegsCountBackFromTheOpenExtreme) {
  const std::vector<SwingPoint> points =
      FindSwings(std::vector<double>{100, 120, 100, 130}.data(), std::vector<double>{100, 120, 100, 130}.data(), 4,
                 SwingChange());
  ASSERT_EQ(points.size(), 4u);
  const std::optional<SwingLeg> current = LegOf(points, 1);
  ASSERT_TRUE(current);
  EXPECT_TRUE(current->up);
  EXPECT_EQ(current->mode, ComputeMode::Support);
  EXPECT_EQ(current->low, 100);
  EXPECT_EQ(current->high, 130);
  const std::optional<SwingLeg> previous = LegOf(points, 2);
  ASSERT_TRUE(previous);
  EXPECT_EQ(previous->mode, ComputeMode::Resistance);
  EXPECT_EQ(previous->high, 120);
  EXPECT_FALSE(LegOf(points, 4));
}

TEST(SwingsTest, RejectsAChangeOutsideZeroToOneHundred) {
  for (const char* text : {"0", "100", "-1", "abc", ""})
    EXPECT_TRUE(testing::Raises<EConvertError>([&] { SwingChange{text}; }, std::string("Invalid change '") + text + "'."))
        << text;
}

}  // namespace
}  // namespace tavimo
