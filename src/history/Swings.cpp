#include "history/Swings.h"

#include <emmintrin.h>

#include "runtime/Exceptions.h"
#include "runtime/Messages.h"

namespace tavimo {

SwingChange::SwingChange(std::string_view text, const NumberFormatSettings& settings)
    : ExactTextParameter(text, settings, kInvalidChangeMessage,
                         [](const ExactDecimal& p) { return !p.zero && !p.negative; }) {
  const ExactDecimal& p = Exact();
  const auto invalid = [&] { return EConvertError(messages::FormatMessage(kInvalidChangeMessage, Text())); };
  // P x 10^s as an integer, s the decimals of P.
  const int s = p.exponent < 0 ? -p.exponent : 0;
  const ExactNumber scaledP = p.exponent > 0 ? p.digits * ExactNumber::PowerOfTen(p.exponent) : p.digits;
  scale_ = ExactNumber::FromInteger(100) * ExactNumber::PowerOfTen(s);
  if (Compare(scaledP, scale_) >= 0) throw invalid();
  upScaled_ = scale_ + scaledP;
  downScaled_ = scale_ - scaledP;
  upFactor_ = static_cast<double>(1.0L + static_cast<long double>(Value()) / 100.0L);
  downFactor_ = static_cast<double>(1.0L - static_cast<long double>(Value()) / 100.0L);
}

int SwingChange::ExactSign(double x, double base, const ExactNumber& factor) const {
  return Compare(ExactNumber::FromDouble(x) * scale_, ExactNumber::FromDouble(base) * factor);
}

std::string_view SwingKindName(SwingKind kind) { return kind == SwingKind::Low ? "low" : "high"; }

namespace {

// The larger and the smaller of two finite prices, by the instructions
// themselves: the compiler would make a branch of the comparison, and which
// way it goes is hard to predict.
inline double Larger(double a, double b) { return _mm_cvtsd_f64(_mm_max_sd(_mm_set_sd(a), _mm_set_sd(b))); }
inline double Smaller(double a, double b) { return _mm_cvtsd_f64(_mm_min_sd(_mm_set_sd(a), _mm_set_sd(b))); }

// Follows a leg from bar i on: its extreme moves with each new high (up) or
// new low (down), and the turn is tested against the extreme so far.
// Returns the bar that turns the leg, or count. A trending leg makes a new
// extreme on many bars, unpredictably: the extreme's price and bar are
// taken without a branch and the threshold prepared again on every bar,
// so the only branch that goes either way is the turn itself. One loop for
// each direction, so neither tests which way it runs.
template <bool kUp>
std::size_t FollowLeg(const double* high, const double* low, std::size_t count, const SwingChange& change,
                      std::size_t i, std::size_t& extreme) {
  const double* extending = kUp ? high : low;
  const double* turning = kUp ? low : high;
  std::size_t at = extreme;
  double value = extending[at];
  for (; i < count; ++i) {
    const double next = extending[i];
    at = (kUp ? next >= value : next <= value) ? i : at;
    value = kUp ? Larger(value, next) : Smaller(value, next);
    const SwingChange::Threshold turn = kUp ? change.FallFrom(value) : change.RiseFrom(value);
    if (kUp ? change.ReachesFall(turning[i], turn) : change.ReachesRise(turning[i], turn)) break;
  }
  extreme = at;
  return i;
}

}  // namespace

std::vector<SwingPoint> FindSwings(const double* high, const double* low, std::size_t count,
                                   const SwingChange& change) {
  std::vector<SwingPoint> points;
  // Room for a pivot every other bar, far more than even a random walk turns
  // at a small change, so the points are written once instead of copied as
  // the vector grows; the room never written takes address space, no memory.
  points.reserve(count / 2 + 2);
  std::size_t i = 0;
  // Before the first leg: the highest high and the lowest low so far, each
  // at its latest bar.
  std::size_t highest = 0, lowest = 0;
  bool up = false, started = false;
  for (; i < count; ++i) {
    if (high[i] >= high[highest]) highest = i;
    if (low[i] <= low[lowest]) lowest = i;
    if (lowest < highest && change.ReachesRise(high[highest], low[lowest])) {
      points.push_back({lowest, SwingKind::Low, low[lowest], true, i});
      up = started = true;
      break;
    }
    if (highest < lowest && change.ReachesFall(low[lowest], high[highest])) {
      points.push_back({highest, SwingKind::High, high[highest], true, i});
      started = true;
      break;
    }
  }
  if (!started) return points;

  std::size_t extreme = up ? highest : lowest;
  for (++i; i < count;) {
    const std::size_t turned = up ? FollowLeg<true>(high, low, count, change, i, extreme)
                                  : FollowLeg<false>(high, low, count, change, i, extreme);
    if (turned == count) break;
    points.push_back({extreme, up ? SwingKind::High : SwingKind::Low, up ? high[extreme] : low[extreme], true, turned});
    extreme = turned;
    i = turned + 1;
    up = !up;
  }
  points.push_back({extreme, up ? SwingKind::High : SwingKind::Low, up ? high[extreme] : low[extreme], false, 0});
  return points;
}

std::optional<SwingLeg> LegOf(const std::vector<SwingPoint>& points, std::size_t n) {
  if (n == 0 || points.size() < n + 1) return std::nullopt;
  SwingLeg leg;
  leg.from = points[points.size() - 1 - n];
  leg.to = points[points.size() - n];
  leg.up = leg.from.kind == SwingKind::Low;
  leg.low = leg.up ? leg.from.price : leg.to.price;
  leg.high = leg.up ? leg.to.price : leg.from.price;
  leg.mode = leg.up ? ComputeMode::Support : ComputeMode::Resistance;
  return leg;
}

}  // namespace tavimo
