#pragma once
// Chart pictures outside the desktop window, for programs that stay free of
// the platform's graphics types: the raster canvas made ready and created
// behind the TCanvas interface, and its image as the bytes of a PNG file.
// The one PNG encoder of the program, which the window's pictures use too.

#include <memory>
#include <string>

#include "chart/Canvas.h"

// Named only, so that including this header brings in no Qt header.
class QImage;

namespace tavimo::chart {

// Text on the raster canvas needs the platform's GUI application for its
// fonts. A process without one gets one on the offscreen platform (a display
// is not needed), living to the end of the process; otherwise nothing happens.
void EnsureRasterFonts();

// A canvas drawing into an image, pixel for pixel as the window's chart does.
std::unique_ptr<TCanvas> MakeRasterCanvas();

// The image as the bytes of a PNG file. Throws std::runtime_error "cannot
// encode the chart as PNG: <reason>" when it cannot be encoded (an empty
// image, say); nothing is returned half made.
std::string EncodePng(const QImage& image);

// The image of a canvas made by MakeRasterCanvas, as last presented, encoded
// as EncodePng does. Throws std::invalid_argument for another canvas.
std::string EncodePng(const TCanvas& canvas);

}  // namespace tavimo::chart
