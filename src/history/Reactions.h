#pragma once
// Reaction statistics: how deep each retracement of a file's zigzag went,
// measured against every ratio of the list, and whether the move resumed
// afterwards. The counts are sums, so the statistics of many files (or of
// many machines' groups of files) add up.

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "history/ExactNumber.h"
#include "history/Swings.h"
#include "runtime/NumberFormatSettings.h"

namespace tavimo {

// "%s" is the text as given.
inline constexpr std::string_view kInvalidToleranceMessage = "Invalid tolerance '%s'.";
inline constexpr std::string_view kDefaultToleranceText = "0.03";

struct RatioReaction {
  std::string ratio;  // the entry's text
  double value = 0.0;  // as the level computation reads it
  std::uint64_t hits = 0;
  std::uint64_t resumed = 0;
  std::uint64_t decided = 0;
};

struct ReactionStats {
  std::uint64_t legs = 0;        // depths measured
  std::vector<double> depths;    // each depth, rounded, in file order
  std::vector<RatioReaction> ratios;
};

// How far a depth may lie from a ratio and still count as a hit: a decimal
// text at or above 0, kept exactly.
class ReactionTolerance : public ExactTextParameter {
 public:
  // |d - r| <= T exactly, for the depth d = |end - turn| / |turn - before|
  // of a retracement (turn != before).
  bool Holds(double before, double turn, double end, double r) const;
  // The same with the depth in doubles, |end - turn| / |turn - before|,
  // computed once for every ratio. Inline: it runs for every depth and ratio
  // of a file, and only a depth within a few units of its last place of
  // r - T or r + T takes the exact test.
  bool Holds(double before, double turn, double end, double depth, double r) const {
    const double distance = std::fabs(depth - r);
    const double margin = 1e-12 * (depth + std::fabs(r) + rounded_);
    if (std::isfinite(depth)) {
      if (distance < rounded_ - margin) return true;
      if (distance > rounded_ + margin) return false;
    }
    return HoldsExactly(before, turn, end, r);
  }
  // Raises EConvertError kInvalidToleranceMessage for a text that is not a
  // number, is below 0 or lies beyond the double range.
  explicit ReactionTolerance(std::string_view text = kDefaultToleranceText,
                             const NumberFormatSettings& settings = NumberFormatSettings());

 private:
  // |a - r b| <= T b with a and b the exact spans.
  bool HoldsExactly(double before, double turn, double end, double r) const;
  double rounded_ = 0.0;  // T as a double, 0 for a zero tolerance
};

// The statistics before any file, one row per ratio entry (ParseRatio's
// errors for an entry that is not a ratio).
ReactionStats EmptyReactionStats(const std::vector<std::string>& ratios);

// Adds the depths of one file's swing points (confirmed pivots, then the
// open extreme, as FindSwings gives them): d_j = |p_j - p_j-1| / |p_j-1 -
// p_j-2| for j = 2 .. m over the confirmed pivots p_0 .. p_m. A hit is
// resumed when the point after p_j (the open extreme after p_m) lies beyond
// p_j-1, decided when that point is a pivot or already lies beyond.
void AddReactions(const std::vector<SwingPoint>& points, const ReactionTolerance& tolerance, ReactionStats& stats);

// 100 x part / whole with exactly one decimal, the exact quotient rounded
// half away from zero; "-" when whole is 0.
std::string ShareText(std::uint64_t part, std::uint64_t whole);

}  // namespace tavimo
