#include "calc/LevelTable.h"

#include "runtime/FloatFaults.h"

static_assert(sizeof(long double) >= 10, "levels are computed in x87 extended precision");

namespace tavimo {

namespace {

// The steps are separate long double statements so the order of operations,
// and with it the last bit of every level, is fixed.
template <typename Level>
LevelTable BuildTable(const RatioList& ratios, Level level) {
  LevelTable table(ratios.size(), 0.0);
  for (std::size_t i = 0; i < ratios.size(); ++i) {
    const long double r = ParseRatio(ratios[i]);
    table[i] = level(r);
  }
  return table;
}

}  // namespace

LevelTable BuildRiseTable(const RatioList& ratios, double low) {
  return BuildTable(ratios, [low](long double r) {
    if (r >= 1.0L) return 0.0;  // still converted above, so a bad entry fails here too
    const long double factor = r + 1.0L;
    const long double level = factor * low;
    return StoreAsDouble(level);
  });
}

LevelTable BuildDeclineTable(const RatioList& ratios, double high) {
  return BuildTable(ratios, [high](long double r) {
    if (r >= 1.0L) return 0.0;
    const long double factor = 1.0L - r;
    const long double level = factor * high;
    return StoreAsDouble(level);
  });
}

LevelTable BuildResistanceTable(const RatioList& ratios, double low, double high) {
  const long double d = static_cast<long double>(high) - low;
  return BuildTable(ratios, [low, d](long double r) {
    const long double p = r * d;
    const long double level = low + p;
    return StoreAsDouble(level);
  });
}

LevelTable BuildSupportTable(const RatioList& ratios, double low, double high) {
  const long double d = static_cast<long double>(high) - low;
  return BuildTable(ratios, [high, d](long double r) {
    const long double p = r * d;
    const long double level = high - p;
    return StoreAsDouble(level);
  });
}

}  // namespace tavimo
