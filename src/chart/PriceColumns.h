#pragma once
// The bars of one price history as the price chart reads them: views of the
// history's columns (the chart copies nothing, so the columns must live as
// long as the views that read them).

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <span>

namespace tavimo::chart {

struct TPriceColumns {
  std::span<const std::int64_t> time;  // seconds since 1970, no zone
  std::span<const double> open, high, low, close;

  // The shortest price column, so columns of unequal length are never read
  // beyond one's end.
  int Count() const {
    const std::size_t n = std::min({open.size(), high.size(), low.size(), close.size()});
    return n > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(n);
  }
};

}  // namespace tavimo::chart
