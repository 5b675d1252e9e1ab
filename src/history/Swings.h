#pragma once
// Swings of a price history: the percent zigzag on highs and lows, without
// look-ahead, and the legs between its points.

#include <cstddef>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/ComputeMode.h"
#include "history/ExactNumber.h"
#include "runtime/NumberFormatSettings.h"

namespace tavimo {

// "%s" is the text as given.
inline constexpr std::string_view kInvalidChangeMessage = "Invalid change '%s'.";
inline constexpr std::string_view kDefaultChangeText = "5";

// The change P in percent that turns a swing, 0 < P < 100, kept as the
// exact decimal of its text: every threshold test is exact.
class SwingChange : public ExactTextParameter {
 public:
  // Raises EConvertError kInvalidChangeMessage for a text that is not a
  // number or lies outside (0, 100).
  explicit SwingChange(std::string_view text = kDefaultChangeText,
                       const NumberFormatSettings& settings = NumberFormatSettings());

  // The rise or the fall from one base, prepared once for the many prices
  // tested against it: a price beyond `surely` reaches it, one short of
  // `surelyNot` does not, and only one between needs the exact test.
  struct Threshold {
    double base;
    double surely;
    double surelyNot;
  };
  Threshold RiseFrom(double base) const { return Prepare(base, upFactor_, true); }
  Threshold FallFrom(double base) const { return Prepare(base, downFactor_, false); }
  bool ReachesRise(double x, const Threshold& from) const {
    if (x > from.surely) return true;
    if (x < from.surelyNot) return false;
    return ExactSign(x, from.base, upScaled_) >= 0;
  }
  bool ReachesFall(double x, const Threshold& from) const {
    if (x < from.surely) return true;
    if (x > from.surelyNot) return false;
    return ExactSign(x, from.base, downScaled_) <= 0;
  }

  // 1 + P/100 and 1 - P/100 rounded, with the margin beyond which the fast
  // test is trusted: what a vector test of many bars at once needs to make
  // the same decisions as Prepare.
  double UpFactor() const { return upFactor_; }
  double DownFactor() const { return downFactor_; }
  // Far above the rounding of the two double operations behind t; below
  // kSmallest (and for infinities) only the exact test is trusted.
  static constexpr double kMargin = 1e-14;
  static constexpr double kSmallest = 1e-290;

  // x >= base x (1 + P/100) and x <= base x (1 - P/100), exactly.
  bool ReachesRise(double x, double base) const {
    const double t = base * upFactor_;
    const double margin = (t < 0 ? -t : t) * kMargin;
    if (t >= kSmallest || t <= -kSmallest) {
      if (x > t + margin) return true;
      if (x < t - margin) return false;
    }
    return ExactSign(x, base, upScaled_) >= 0;
  }
  bool ReachesFall(double x, double base) const {
    const double t = base * downFactor_;
    const double margin = (t < 0 ? -t : t) * kMargin;
    if (t >= kSmallest || t <= -kSmallest) {
      if (x < t - margin) return true;
      if (x > t + margin) return false;
    }
    return ExactSign(x, base, downScaled_) <= 0;
  }

 private:
  // The sign of x x scale_ - base x factor, exactly.
  int ExactSign(double x, double base, const ExactNumber& factor) const;
  static Threshold Prepare(double base, double factor, bool rise) {
    const double t = base * factor;
    const double margin = (t < 0 ? -t : t) * kMargin;
    if (!(t >= kSmallest || t <= -kSmallest)) return {base, rise ? kInfinity : -kInfinity, rise ? -kInfinity : kInfinity};
    return rise ? Threshold{base, t + margin, t - margin} : Threshold{base, t - margin, t + margin};
  }
  static constexpr double kInfinity = std::numeric_limits<double>::infinity();

  double upFactor_ = 0.0, downFactor_ = 0.0;  // 1 ± P/100 rounded, for the fast test
  // 1 ± P/100 = (scale_ ± P x 10^s) / scale_ with scale_ = 100 x 10^s.
  ExactNumber scale_, upScaled_, downScaled_;
};

enum class SwingKind { Low, High };
std::string_view SwingKindName(SwingKind kind);  // "low", "high"

struct SwingPoint {
  std::size_t bar = 0;
  SwingKind kind = SwingKind::Low;
  double price = 0.0;
  bool confirmed = false;
  std::size_t confirmedBar = 0;  // the bar that confirmed it, when confirmed
};

// The confirmed pivots in order, then the open leg's extreme (not
// confirmed); empty before the first leg is known. high and low hold
// `count` finite prices each.
std::vector<SwingPoint> FindSwings(const double* high, const double* low, std::size_t count,
                                   const SwingChange& change);

// A leg between two swing points.
struct SwingLeg {
  SwingPoint from;
  SwingPoint to;
  bool up = false;
  double low = 0.0;
  double high = 0.0;
  // Support for an up leg (the pullback after a rise), resistance for a down leg.
  ComputeMode mode = ComputeMode::Support;
};

// Leg n, from 1: leg 1 runs from the last confirmed pivot to the open
// extreme, leg 2 between the last two confirmed pivots, and so on. nullopt
// when there are not that many.
std::optional<SwingLeg> LegOf(const std::vector<SwingPoint>& points, std::size_t n);

}  // namespace tavimo
