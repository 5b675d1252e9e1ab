#pragma once
// The default colour palette that automatic point and series colours come from.

#include <array>

#include "chart/Color.h"

namespace tavimo::chart {

inline constexpr std::array<TColor, 16> kDefaultPalette = {
    clRed,  clGreen, clYellow, clBlue,   clWhite, clGray,   clFuchsia, clTeal,
    clNavy, clMaroon, clLime,  clOlive, clPurple, clSilver, clAqua,    clBlack};

// The palette colour of point (or series) index i >= 0; the palette repeats every 16 entries.
inline constexpr TColor PaletteColor(int index) {
  const int n = static_cast<int>(kDefaultPalette.size());
  const int i = index % n;
  return kDefaultPalette[static_cast<std::size_t>(i < 0 ? i + n : i)];
}

}  // namespace tavimo::chart
