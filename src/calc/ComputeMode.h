#pragma once
// The ways of deriving a price level from a ratio: the window's four buttons
// and the two three-point projections, with their names and captions.

#include <array>
#include <optional>
#include <string_view>

#include "runtime/EnumNames.h"

namespace tavimo {

enum class ComputeMode { Rise, Decline, Resistance, Support, ProjectionUp, ProjectionDown };

// The modes of the window's four compute buttons, in button order.
inline constexpr std::array<ComputeMode, 4> kComputeModes = {ComputeMode::Rise, ComputeMode::Decline,
                                                             ComputeMode::Resistance, ComputeMode::Support};
// Every mode, in the order of the enumeration.
inline constexpr std::array<ComputeMode, 6> kAllComputeModes = {ComputeMode::Rise,         ComputeMode::Decline,
                                                                ComputeMode::Resistance,   ComputeMode::Support,
                                                                ComputeMode::ProjectionUp, ComputeMode::ProjectionDown};

// The caption of the mode's button ("低点上涨", "高点下跌", "反弹阻力", "回调支撑";
// the projections, which have no button, "起点上涨" and "起点下跌").
// The names tavimo-cli and its outputs use, in the order of kAllComputeModes.
inline constexpr std::array<NamedValue<ComputeMode>, 6> kComputeModeNames = {
    {{ComputeMode::Rise, "rise"}, {ComputeMode::Decline, "decline"}, {ComputeMode::Resistance, "resistance"},
     {ComputeMode::Support, "support"}, {ComputeMode::ProjectionUp, "projection-up"},
     {ComputeMode::ProjectionDown, "projection-down"}}};

std::string_view ComputeButtonCaption(ComputeMode mode);
// The mode's command-line name: "rise", "decline", "resistance", "support",
// "projection-up", "projection-down".
std::string_view ComputeModeName(ComputeMode mode);
std::optional<ComputeMode> ComputeModeFromName(std::string_view name);

// The projections start from a third price, C, besides the low and the high.
constexpr bool IsProjectionMode(ComputeMode mode) {
  return mode == ComputeMode::ProjectionUp || mode == ComputeMode::ProjectionDown;
}
// Rise and decline use the low or the high alone and leave out ratios of 1 and more.
constexpr bool IsSingleAnchorMode(ComputeMode mode) {
  return mode == ComputeMode::Rise || mode == ComputeMode::Decline;
}

}  // namespace tavimo
