#pragma once
// Chart pictures outside the desktop window, for programs that stay free of
// the platform's graphics types: the raster canvas made ready and created
// behind the TCanvas interface, and its image as the bytes of a PNG file.

#include <memory>
#include <string>

#include "chart/Canvas.h"

namespace tavimo::chart {

// Text on the raster canvas needs the platform's GUI application for its
// fonts. A process without one gets one on the offscreen platform (a display
// is not needed), living to the end of the process; otherwise nothing happens.
void EnsureRasterFonts();

// A canvas drawing into an image, pixel for pixel as the window's chart does.
std::unique_ptr<TCanvas> MakeRasterCanvas();

// The image of a canvas made by MakeRasterCanvas, as last presented, encoded
// as PNG. Throws std::invalid_argument for another canvas and
// std::runtime_error when the image cannot be encoded.
std::string EncodePng(const TCanvas& canvas);

}  // namespace tavimo::chart
