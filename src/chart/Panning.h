#pragma once
// The mouse as the chart sees it: buttons, modifier keys, the panning record
// of a right-button drag and the wheel accumulator. TChart's mouse handlers
// (Panning.cpp) move the axis ranges with them.

namespace tavimo::chart {

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

// Modifier keys and held buttons, OR-ed together.
enum TShiftFlag : unsigned {
  ssShift = 1u << 0,
  ssAlt = 1u << 1,
  ssCtrl = 1u << 2,
  ssLeft = 1u << 3,
  ssRight = 1u << 4,
  ssMiddle = 1u << 5,
};
using TShiftState = unsigned;

enum class TPanningMode { pmNone, pmHorizontal, pmVertical, pmBoth };

// What a press landed on, first match wins.
enum class TChartClickedPart { cpNone, cpSeries, cpAxis, cpTitle, cpFoot, cpChartRect, cpLegend };

struct TZoomPanning {
  bool active = false;
  int pressX = 0;
  int pressY = 0;
  int lastX = 0;
  int lastY = 0;
};

// Mouse settings of the process: panning with the right button, no modifier keys needed.
inline constexpr TMouseButton kZoomButton = TMouseButton::mbLeft;
inline constexpr TMouseButton kPanningButton = TMouseButton::mbRight;
inline constexpr TShiftState kZoomModifiers = 0;
inline constexpr TShiftState kPanningModifiers = 0;
inline constexpr int kAxisHitTolerance = 3;
inline constexpr int kWheelNotch = 120;
inline constexpr double kWheelStepPercent = 3;

}  // namespace tavimo::chart
