#pragma once
// The four compute commands without a window: check the price box texts,
// convert them and build the level table. The desktop window and tavimo-cli
// both run them and only present the outcome.

#include <array>
#include <optional>
#include <string_view>

#include "calc/LevelTable.h"
#include "calc/RatioList.h"

namespace tavimo {

enum class ComputeMode { Rise, Decline, Resistance, Support };

inline constexpr std::array<ComputeMode, 4> kComputeModes = {ComputeMode::Rise, ComputeMode::Decline,
                                                             ComputeMode::Resistance, ComputeMode::Support};

// The answers to an empty price box, and the caption of their message box.
inline constexpr std::string_view kEmptyLowMessage = "请输入低点数据！";
inline constexpr std::string_view kEmptyHighMessage = "请输入高点数据！";
inline constexpr std::string_view kEmptyBothMessage = "请输入低点和高点数据！";
inline constexpr std::string_view kEmptyBoxCaption = "错误";

// The caption of the mode's button ("低点上涨", "高点下跌", "反弹阻力", "回调支撑").
std::string_view ComputeButtonCaption(ComputeMode mode);
// The mode's command-line name: "rise", "decline", "resistance", "support".
std::string_view ComputeModeName(ComputeMode mode);
std::optional<ComputeMode> ComputeModeFromName(std::string_view name);

// Either the message for an empty needed box (nothing was converted) or all
// the levels.
struct ComputeOutcome {
  std::optional<std::string_view> emptyBoxMessage;
  LevelTable levels;
};

// The command as a button runs it. An empty box is a text of length zero
// (blanks are text and fail conversion). Resistance and support look at the
// high box first. The low text is converted before the high one; conversion
// and ratio errors propagate as exceptions, so the caller gets all levels or
// none.
ComputeOutcome RunCompute(ComputeMode mode, std::string_view lowText, std::string_view highText,
                          const RatioList& ratios);

}  // namespace tavimo
