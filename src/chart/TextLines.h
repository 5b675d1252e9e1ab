#pragma once
// Multi-line chart texts: marks and labels break into lines at a carriage
// return; a trailing empty part is not a line, so "" has no lines at all.

#include <string_view>

#include "chart/Canvas.h"

namespace tavimo::chart {

inline constexpr char kMarkLineBreak = '\r';

// Calls f(line) for every line of text, top to bottom.
template <class F>
void ForEachTextLine(std::string_view text, F&& f) {
  while (!text.empty()) {
    const std::size_t at = text.find(kMarkLineBreak);
    if (at == std::string_view::npos) {
      f(text);
      return;
    }
    f(text.substr(0, at));
    text.remove_prefix(at + 1);
  }
}

inline int CountTextLines(std::string_view text) {
  int n = 0;
  ForEachTextLine(text, [&](std::string_view) { ++n; });
  return n;
}

// The width of the widest line in the canvas' current font.
inline int MultiLineWidth(TCanvas& canvas, std::string_view text) {
  int widest = 0;
  ForEachTextLine(text, [&](std::string_view line) {
    const int w = canvas.MeasureWidth(line);
    if (w > widest) widest = w;
  });
  return widest;
}

}  // namespace tavimo::chart
