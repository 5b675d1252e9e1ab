#pragma once
// Linear or logarithmic spacing of the levels: on a log scale a ratio moves
// a price by a factor instead of a distance, so resistance, support and the
// projections become base x (to / from)^r.

#include <optional>
#include <string_view>

#include "calc/ComputeMode.h"
#include "runtime/EnumNames.h"

namespace tavimo {

enum class LevelScale { Linear, Log };

inline constexpr std::array<NamedValue<LevelScale>, 2> kLevelScaleNames = {
    {{LevelScale::Linear, "linear"}, {LevelScale::Log, "log"}}};
constexpr std::string_view LevelScaleName(LevelScale scale) { return NameOf(kLevelScaleNames, scale); }
constexpr std::optional<LevelScale> LevelScaleFromName(std::string_view name) {
  return ValueNamed(kLevelScaleNames, name);
}

// Rise and decline are proportional already; callers refuse log scale for
// them with this message (a usage error in the command-line tool).
inline constexpr std::string_view kLogScaleModesMessage = "Log scale applies to resistance, support and projections.";
inline constexpr std::string_view kLogScalePricesMessage = "Log scale needs prices above zero.";

constexpr bool LogScaleApplies(ComputeMode mode) { return !IsSingleAnchorMode(mode); }

// The scale a mode computes on when the user's setting is `chosen`: each
// mode that takes a log scale takes it, whatever modes run beside it; rise
// and decline stay linear, as the window greys log scale out for them.
constexpr LevelScale ScaleForMode(LevelScale chosen, ComputeMode mode) {
  return LogScaleApplies(mode) ? chosen : LevelScale::Linear;
}

// base x (to / from)^r in extended precision, for from and to above zero.
// Equal from and to give base exactly. Over the whole double range the
// result, rounded once to double, stays within 2^-50 of the exact value.
long double LogScaleLevel(long double base, double from, double to, long double r);

}  // namespace tavimo
