#include "history/Swings.h"

#include <immintrin.h>

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

// FollowLeg eight bars at a time. A random walk turns every few bars, and
// bar by bar each turn is a mispredicted branch; here the running extreme
// of the bars, their thresholds and their turning prices are compared at
// once, and the first bar that may turn is found from the mask. A bar is
// passed over only when the fast test that FollowLeg makes would surely
// say no (the same product, margin and comparison); every other bar is
// decided by FollowLeg's own test, so the pivots are the same.
template <bool kUp>
__attribute__((target("avx2"))) inline __m256d RunningExtreme(__m256d x, __m256d before) {
  if constexpr (kUp) {
    const __m256d pairs = _mm256_max_pd(x, _mm256_permute4x64_pd(x, _MM_SHUFFLE(2, 1, 0, 0)));
    return _mm256_max_pd(_mm256_max_pd(pairs, _mm256_permute4x64_pd(pairs, _MM_SHUFFLE(1, 0, 0, 0))), before);
  } else {
    const __m256d pairs = _mm256_min_pd(x, _mm256_permute4x64_pd(x, _MM_SHUFFLE(2, 1, 0, 0)));
    return _mm256_min_pd(_mm256_min_pd(pairs, _mm256_permute4x64_pd(pairs, _MM_SHUFFLE(1, 0, 0, 0))), before);
  }
}

template <bool kUp>
__attribute__((target("avx2"))) std::size_t FollowLegManyAtATime(const double* high, const double* low,
                                                                   std::size_t count, const SwingChange& change,
                                                                   std::size_t i, std::size_t& extreme) {
  const double* extending = kUp ? high : low;
  const double* turning = kUp ? low : high;
  const __m256d factor = _mm256_set1_pd(kUp ? change.DownFactor() : change.UpFactor());
  const __m256d margin = _mm256_set1_pd(SwingChange::kMargin);
  const __m256d smallest = _mm256_set1_pd(SwingChange::kSmallest);
  const __m256d sign = _mm256_set1_pd(-0.0);
  std::size_t at = extreme;
  double value = extending[at];
  alignas(32) double running[8];
  // The bars that surely do not turn, as a mask of four, and the running extreme over them.
  const auto block = [&](const std::size_t from, const __m256d before, __m256d& extremes, unsigned& newExtremes)
      __attribute__((target("avx2"))) {
    const __m256d x = _mm256_loadu_pd(extending + from);
    extremes = RunningExtreme<kUp>(x, before);
    const __m256d t = _mm256_mul_pd(extremes, factor);
    const __m256d size = _mm256_andnot_pd(sign, t);
    const __m256d m = _mm256_mul_pd(size, margin);
    const __m256d y = _mm256_loadu_pd(turning + from);
    const __m256d away = kUp ? _mm256_cmp_pd(y, _mm256_add_pd(t, m), _CMP_GT_OQ)
                             : _mm256_cmp_pd(y, _mm256_sub_pd(t, m), _CMP_LT_OQ);
    const __m256d trusted = _mm256_cmp_pd(size, smallest, _CMP_GE_OQ);
    // A bar is the new extreme when it equals the running extreme there (ties: the later bar).
    newExtremes = static_cast<unsigned>(_mm256_movemask_pd(_mm256_cmp_pd(x, extremes, _CMP_EQ_OQ)));
    return ~static_cast<unsigned>(_mm256_movemask_pd(_mm256_and_pd(away, trusted))) & 0xFu;
  };
  // Eight bars a pass: most legs of a random walk end within them, so
  // whether they do is mostly foreseen.
  while (i + 8 <= count) {
    __m256d first, second;
    unsigned firstNew, secondNew;
    const unsigned firstMay = block(i, _mm256_set1_pd(value), first, firstNew);
    const unsigned secondMay = block(i + 4, _mm256_permute4x64_pd(first, _MM_SHUFFLE(3, 3, 3, 3)), second, secondNew);
    const unsigned mayTurn = firstMay | secondMay << 4;
    const unsigned newExtremes = firstNew | secondNew << 4;
    _mm256_store_pd(running, first);
    _mm256_store_pd(running + 4, second);
    const unsigned last = mayTurn != 0 ? static_cast<unsigned>(__builtin_ctz(mayTurn)) : 7u;
    const unsigned upToLast = newExtremes & ((2u << last) - 1);
    if (upToLast != 0) at = i + 31 - static_cast<unsigned>(__builtin_clz(upToLast));
    value = running[last];
    if (mayTurn == 0) {
      i += 8;
      continue;
    }
    const std::size_t bar = i + last;
    const SwingChange::Threshold turn = kUp ? change.FallFrom(value) : change.RiseFrom(value);
    if (kUp ? change.ReachesFall(turning[bar], turn) : change.ReachesRise(turning[bar], turn)) {
      extreme = at;
      return bar;
    }
    i = bar + 1;
  }
  extreme = at;
  return FollowLeg<kUp>(high, low, count, change, i, extreme);
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

  static const bool manyAtATime = __builtin_cpu_supports("avx2");
  std::size_t extreme = up ? highest : lowest;
  for (++i; i < count;) {
    std::size_t turned;
    if (manyAtATime)
      turned = up ? FollowLegManyAtATime<true>(high, low, count, change, i, extreme)
                  : FollowLegManyAtATime<false>(high, low, count, change, i, extreme);
    else
      turned = up ? FollowLeg<true>(high, low, count, change, i, extreme)
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
