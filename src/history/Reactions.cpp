#include "history/Reactions.h"

#include <cfloat>
#include <cmath>

#include "calc/RatioList.h"
#include "runtime/Exceptions.h"
#include "runtime/Messages.h"

namespace tavimo {

ReactionTolerance::ReactionTolerance(std::string_view text, const NumberFormatSettings& settings)
    : ExactTextParameter(text, settings, kInvalidToleranceMessage,
                         [](const ExactDecimal& t) { return t.zero || !t.negative; }),
      rounded_(Exact().zero ? 0.0 : Exact().rounded) {}

bool ReactionTolerance::Holds(double before, double turn, double end, double r) const {
  return Holds(before, turn, end, std::fabs(end - turn) / std::fabs(turn - before), r);
}

bool ReactionTolerance::HoldsExactly(double before, double turn, double end, double r) const {
  // |a - r b| <= D 10^e b, with a and b the exact spans and T = D 10^e.
  const ExactNumber a = (ExactNumber::FromDouble(end) - ExactNumber::FromDouble(turn)).Abs();
  const ExactNumber b = (ExactNumber::FromDouble(turn) - ExactNumber::FromDouble(before)).Abs();
  ExactNumber left = (a - ExactNumber::FromDouble(r) * b).Abs();
  ExactNumber right = Exact().zero ? ExactNumber() : Exact().digits * b;
  if (!Exact().zero) {
    if (Exact().exponent >= 0) right = right * ExactNumber::PowerOfTen(Exact().exponent);
    else left = left * ExactNumber::PowerOfTen(-Exact().exponent);
  }
  return Compare(left, right) <= 0;
}

ReactionStats EmptyReactionStats(const std::vector<std::string>& ratios) {
  ReactionStats stats;
  for (const std::string& entry : ratios) stats.ratios.push_back({entry, ParseRatio(entry)});
  return stats;
}

namespace {

bool Beyond(const SwingPoint& point, const SwingPoint& reference) {
  return reference.kind == SwingKind::High ? point.price > reference.price : point.price < reference.price;
}

}  // namespace

void AddReactions(const std::vector<SwingPoint>& points, const ReactionTolerance& tolerance, ReactionStats& stats) {
  if (points.empty()) return;
  // The last point is the open extreme; the confirmed pivots come before it.
  const std::size_t confirmed = points.back().confirmed ? points.size() : points.size() - 1;
  for (std::size_t j = 2; j < confirmed; ++j) {
    const SwingPoint& before = points[j - 2];
    const SwingPoint& turn = points[j - 1];
    const SwingPoint& end = points[j];
    if (turn.price == before.price) continue;  // no swing to measure against
    ++stats.legs;
    const double depth = std::fabs(end.price - turn.price) / std::fabs(turn.price - before.price);
    stats.depths.push_back(depth);
    // p_j+1, or the open extreme after the last pivot.
    const bool hasNext = j + 1 < points.size();
    const SwingPoint& next = points[hasNext ? j + 1 : j];
    const bool resumed = hasNext && Beyond(next, turn);
    const bool decided = hasNext && (next.confirmed || resumed);
    for (RatioReaction& ratio : stats.ratios) {
      if (!tolerance.Holds(before.price, turn.price, end.price, depth, ratio.value)) continue;
      ++ratio.hits;
      if (resumed) ++ratio.resumed;
      if (decided) ++ratio.decided;
    }
  }
}

std::string ShareText(std::uint64_t part, std::uint64_t whole) {
  if (whole == 0) return "-";
  // 1000 x part / whole rounded half up (both are at or above zero).
  const unsigned __int128 scaled = static_cast<unsigned __int128>(part) * 1000u;
  unsigned __int128 tenths = scaled / whole;
  if (2 * (scaled % whole) >= whole) ++tenths;
  const auto whole_tenths = static_cast<std::uint64_t>(tenths);
  return std::to_string(whole_tenths / 10) + "." + std::to_string(whole_tenths % 10);
}

}  // namespace tavimo
