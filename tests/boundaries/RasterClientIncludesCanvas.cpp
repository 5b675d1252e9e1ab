// Must not compile: a target linking the raster canvas, as tavimo-cli does,
// does not get Qt; it uses chart/RasterOutput.h (IncludeBoundary test).
#include "chart/RasterCanvas.h"
