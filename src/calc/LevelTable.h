#pragma once
// The price levels of one computation, one per ratio list entry, and the
// ways of building them from the low and the high of the previous wave (and,
// for the projections, a third price).

#include <vector>

#include "calc/LevelFormula.h"
#include "calc/RatioList.h"

namespace tavimo {

// Slot i is the level of entry i. The table is always exactly as long as the
// list it was built from, so a list of more than 21 entries is served whole
// and no slot beyond the list exists to be read.
using LevelTable = std::vector<double>;

// Every entry is converted with ParseRatio, in order, and its error ends the
// build. Intermediates are extended precision; each level is rounded once to
// double and raises EOverflow beyond the double range (underflow is silent).

// (r + 1) * low for r < 1; entries with r >= 1 keep 0.
LevelTable BuildRiseTable(const RatioList& ratios, double low);
// (1 - r) * high for r < 1; entries with r >= 1 keep 0.
LevelTable BuildDeclineTable(const RatioList& ratios, double high);
// low + r * (high - low).
LevelTable BuildResistanceTable(const RatioList& ratios, double low, double high);
// high - r * (high - low).
LevelTable BuildSupportTable(const RatioList& ratios, double low, double high);
// from + r * (high - low) and from - r * (high - low).
LevelTable BuildProjectionUpTable(const RatioList& ratios, double low, double high, double from);
LevelTable BuildProjectionDownTable(const RatioList& ratios, double low, double high, double from);

// Any mode on either scale (LevelFor); the prices a mode does not read are ignored.
LevelTable BuildLevelTable(ComputeMode mode, LevelScale scale, const RatioList& ratios, const LevelPrices& prices);

// Every entry's value, converted once in list order (the first error ends
// it), for callers that build many tables from one list.
std::vector<double> ParseRatioValues(const RatioList& ratios);

}  // namespace tavimo
