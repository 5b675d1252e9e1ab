#include "calc/LevelFormula.h"

#include <string>

#include "runtime/Exceptions.h"
#include "runtime/FloatFaults.h"

static_assert(sizeof(long double) >= 10, "levels are computed in x87 extended precision");

namespace tavimo {

namespace {

// Every step is a long double: p = r x d is formed first and then moves the
// anchor, so the order of operations, and with it the last bit of every
// level, is fixed.
double LinearLevel(ComputeMode mode, long double r, const LevelPrices& prices) {
  if (SkipsRatio(mode, r)) return 0.0;
  const long double d = static_cast<long double>(prices.high) - prices.low;
  const long double p = r * d;
  switch (mode) {
    case ComputeMode::Rise: return StoreAsDouble((r + 1.0L) * prices.low);
    case ComputeMode::Decline: return StoreAsDouble((1.0L - r) * prices.high);
    case ComputeMode::Resistance: return StoreAsDouble(prices.low + p);
    case ComputeMode::Support: return StoreAsDouble(prices.high - p);
    case ComputeMode::ProjectionUp: return StoreAsDouble(prices.from + p);
    case ComputeMode::ProjectionDown: return StoreAsDouble(prices.from - p);
  }
  return 0.0;
}

double LogLevel(ComputeMode mode, long double r, const LevelPrices& prices) {
  switch (mode) {
    case ComputeMode::Resistance: return StoreAsDouble(LogScaleLevel(prices.low, prices.low, prices.high, r));
    case ComputeMode::Support: return StoreAsDouble(LogScaleLevel(prices.high, prices.high, prices.low, r));
    case ComputeMode::ProjectionUp: return StoreAsDouble(LogScaleLevel(prices.from, prices.low, prices.high, r));
    case ComputeMode::ProjectionDown: return StoreAsDouble(LogScaleLevel(prices.from, prices.high, prices.low, r));
    case ComputeMode::Rise:
    case ComputeMode::Decline: break;
  }
  throw EConvertError(std::string(kLogScaleModesMessage));
}

}  // namespace

double LevelFor(ComputeMode mode, LevelScale scale, long double r, const LevelPrices& prices) {
  return scale == LevelScale::Log ? LogLevel(mode, r, prices) : LinearLevel(mode, r, prices);
}

void CheckLogScalePrices(ComputeMode mode, LevelScale scale, const LevelPrices& prices) {
  if (scale != LevelScale::Log) return;
  const bool belowOrZero = (NeedsLow(mode) && !(prices.low > 0.0)) || (NeedsHigh(mode) && !(prices.high > 0.0)) ||
                           (NeedsFrom(mode) && !(prices.from > 0.0));
  if (belowOrZero) throw EConvertError(std::string(kLogScalePricesMessage));
}

}  // namespace tavimo
