#pragma once
// A search over indexes for where a condition starts to hold, reading near
// indexes first: a chart walks its bars or pivots column by column, and the
// next column begins a little way on, not in the middle of what is left.

#include <algorithm>
#include <cstddef>

namespace tavimo::chart {

// The first index in [from, to) at which `beyond` holds, for a `beyond` that
// holds from some index on; `to` when it never does. Steps doubling from
// `from`, then bisects the last step.
template <class Beyond>
std::size_t FirstBeyond(std::size_t from, std::size_t to, Beyond&& beyond) {
  std::size_t lo = from, step = 1;
  while (lo < to && !beyond(lo)) {
    const std::size_t probe = std::min(to, lo + step);
    if (probe == to || beyond(probe)) {
      std::size_t hi = probe;  // beyond(hi) or hi == to; !beyond(lo)
      while (hi - lo > 1) {
        const std::size_t mid = lo + (hi - lo) / 2;
        if (beyond(mid)) hi = mid;
        else lo = mid;
      }
      return hi;
    }
    lo = probe;
    step *= 2;
  }
  return lo;
}

}  // namespace tavimo::chart
