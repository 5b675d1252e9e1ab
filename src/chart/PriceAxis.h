#pragma once
// The labels of a price chart's price axis: round prices a label height
// plus a gap apart or more. On a linear scale a step of 1, 2 or 5 times a
// power of ten; on a log scale whichever gives the most labels that keep
// the gap, among those steps (for a narrow range) and the 1-2-5 and
// powers-of-ten series of each decade.

#include <string>
#include <vector>

#include "chart/PriceView.h"

namespace tavimo::chart {

struct TPriceLabel {
  double price = 0;
  int y = 0;  // the label's middle, inside the plot rectangle
  std::string text;
};

// From the top of the plot down. Empty when the plot has no height.
std::vector<TPriceLabel> ChoosePriceLabels(const TPriceView& view, const Rect& plot, int labelHeight,
                                           int minimumGap);

}  // namespace tavimo::chart
