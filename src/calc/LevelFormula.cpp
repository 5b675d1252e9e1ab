#include "calc/LevelFormula.h"

#include <string>

#include "runtime/Exceptions.h"
#include "runtime/FloatFaults.h"

static_assert(sizeof(long double) >= 10, "levels are computed in x87 extended precision");

namespace tavimo {

namespace {

// The steps are separate long double statements so the order of operations,
// and with it the last bit of every level, is fixed.
double LinearLevel(ComputeMode mode, long double r, const LevelPrices& prices) {
  const long double d = static_cast<long double>(prices.high) - prices.low;
  switch (mode) {
    case ComputeMode::Rise: {
      if (r >= 1.0L) return 0.0;
      const long double factor = r + 1.0L;
      const long double level = factor * prices.low;
      return StoreAsDouble(level);
    }
    case ComputeMode::Decline: {
      if (r >= 1.0L) return 0.0;
      const long double factor = 1.0L - r;
      const long double level = factor * prices.high;
      return StoreAsDouble(level);
    }
    case ComputeMode::Resistance: {
      const long double p = r * d;
      const long double level = prices.low + p;
      return StoreAsDouble(level);
    }
    case ComputeMode::Support: {
      const long double p = r * d;
      const long double level = prices.high - p;
      return StoreAsDouble(level);
    }
    case ComputeMode::ProjectionUp: {
      const long double p = r * d;
      const long double level = prices.from + p;
      return StoreAsDouble(level);
    }
    case ComputeMode::ProjectionDown: {
      const long double p = r * d;
      const long double level = prices.from - p;
      return StoreAsDouble(level);
    }
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
