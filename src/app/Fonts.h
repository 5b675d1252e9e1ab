#pragma once
// Fonts of the window controls, named as the window tables name them
// ("宋体" with a pixel height, "MS Sans Serif") and mapped to the faces
// installed here the same way the chart maps its fonts.

#include <QFont>
#include <string>

namespace tavimo::app {

// height < 0 is a pixel height, as in the chart's fonts.
QFont ControlFont(const std::string& face, int height, bool bold = false);

// The main window's font A: "宋体", 13 pixels, regular.
QFont FontA();

}  // namespace tavimo::app
