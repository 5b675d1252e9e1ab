#pragma once
// The level one ratio gives in one mode: the single formula behind every
// level table, the confluence sweep and the batch, so all of them agree to
// the last bit.

#include "calc/ComputeMode.h"
#include "calc/LevelScale.h"

namespace tavimo {

// The prices of one wave: its low and high, and for the projections the
// third price C where the retracement ended.
struct LevelPrices {
  double low = 0.0;
  double high = 0.0;
  double from = 0.0;
};

// Which prices a mode reads.
constexpr bool NeedsLow(ComputeMode mode) { return mode != ComputeMode::Decline; }
constexpr bool NeedsHigh(ComputeMode mode) { return mode != ComputeMode::Rise; }
constexpr bool NeedsFrom(ComputeMode mode) { return IsProjectionMode(mode); }

// Rise and decline have no level for ratios of 1 and more (a table keeps 0
// there, the confluence leaves them out).
constexpr bool SkipsRatio(ComputeMode mode, long double r) { return IsSingleAnchorMode(mode) && r >= 1.0L; }

// The level of ratio value r, computed in extended precision and rounded
// once to double; 0 where SkipsRatio. Linear: rise (r + 1) x low, decline
// (1 - r) x high, resistance low + r x d, support high - r x d, projections
// C + r x d and C - r x d, with d = high - low and p = r x d formed first.
// Log: resistance low (high/low)^r, support high (low/high)^r, projections
// C (high/low)^r and C (low/high)^r. Raises EOverflow beyond the double range,
// and EConvertError kLogScaleModesMessage for rise or decline on a log scale.
double LevelFor(ComputeMode mode, LevelScale scale, long double r, const LevelPrices& prices);

// Raises EConvertError kLogScalePricesMessage when, on a log scale, a price
// the mode reads is zero or below.
void CheckLogScalePrices(ComputeMode mode, LevelScale scale, const LevelPrices& prices);

}  // namespace tavimo
