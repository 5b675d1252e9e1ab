#pragma once
// The chart engine's error classes and the English messages they carry.

#include <string_view>

#include "runtime/Exceptions.h"

namespace tavimo::chart {

TAVIMO_EXCEPTION_CLASS(ChartException, Exception)
TAVIMO_EXCEPTION_CLASS(AxisException, ChartException)
TAVIMO_EXCEPTION_CLASS(BarException, ChartException)

namespace messages {
inline constexpr std::string_view kAxisMinimum = "Axis Minimum Value must be <= Maximum";
inline constexpr std::string_view kAxisMaximum = "Axis Maximum Value must be >= Minimum";
inline constexpr std::string_view kAxisIncrement = "Axis increment must be >= 0";
inline constexpr std::string_view kLabelsSeparation = "Labels Separation % must be greater than 0";
inline constexpr std::string_view kAngle = "%s Angle must be between 0 and 359 degrees";
inline constexpr std::string_view kAxisLabelsAngleName = "Axis Labels";
inline constexpr std::string_view kBarWidthPercent = "Bar Width Percent must be between 1 and 100";
inline constexpr std::string_view kBarOffsetPercent = "Bar Offset Percent must be between -100% and 100%";
}  // namespace messages

}  // namespace tavimo::chart
