#pragma once
// The scan of many instruments: for each price file, where its last close
// stands against the levels of its current leg.

#include <cstddef>
#include <string>
#include <vector>

#include "calc/LevelView.h"
#include "calc/RatioList.h"
#include "history/PriceFile.h"
#include "history/Swings.h"
#include "runtime/NumberFormatSettings.h"

namespace tavimo {

// One file's line: every field as text; "-" after the close for a file
// without a leg yet.
struct ScanRow {
  std::string file;
  std::size_t bars = 0;
  std::string lastTime, close;
  std::string leg, low, high, mode, ratio, level, distance;
};

// The current leg (leg 1) of the file's swings, its levels as the leg's mode
// computes them (shown as the presentation shows them: tick-rounded with a
// tick), and the entry whose level is nearest the last close (ties: the
// earlier entry). The file has at least one bar. Raises the level
// computation's errors.
ScanRow ScanPrices(const std::string& file, const PriceFileResult& prices, const SwingChange& change,
                   const RatioList& ratios, const LevelPresentation& presentation);

// 100 x (close - level) / close with exactly two decimals, the exact
// quotient rounded half away from zero; "-" for a close of 0.
std::string DistanceText(double close, double level);

// The shortest text that reads back to the same double, as price columns
// and the batch's level column write it.
std::string ShortestText(double value);
// ShortestText with the settings' decimal separator: a price box or a
// price argument reads it back to the same double.
std::string PriceBoxText(double value, const NumberFormatSettings& settings = GlobalNumberFormatSettings());

}  // namespace tavimo
