#include "calc/LevelScale.h"

#include <cmath>

namespace tavimo {

long double LogScaleLevel(long double base, double from, double to, long double r) {
  // The result's relative error is the absolute error of z = r ln(to/from),
  // so ln(to/from) must be accurate relative to itself. Near 1 the quotient
  // would lose that to its own rounding: there the difference, exact for
  // prices within a factor of two of each other, goes through log1p.
  const long double change = (static_cast<long double>(to) - from) / from;
  const long double logRatio =
      std::fabs(change) <= 0.5L ? std::log1p(change) : std::log(static_cast<long double>(to) / from);
  const long double z = r * logRatio;
  return base * std::exp(z);
}

}  // namespace tavimo
