#include "app/Fonts.h"

#include "chart/Canvas.h"
#include "chart/RasterFonts.h"

namespace tavimo::app {

QFont ControlFont(const std::string& face, int height, bool bold) {
  chart::TFont font;
  font.face = face;
  font.height = height;
  font.bold = bold;
  return chart::MakeQFont(font);
}

QFont FontA() { return ControlFont("宋体", -13); }

}  // namespace tavimo::app
