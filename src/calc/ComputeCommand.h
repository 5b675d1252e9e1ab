#pragma once
// The compute commands without a window: check the price box texts,
// convert them and build the level table. The desktop window and tavimo-cli
// both run them and only present the outcome.

#include <optional>
#include <string_view>

#include "calc/ComputeMode.h"
#include "calc/LevelScale.h"
#include "calc/LevelTable.h"
#include "calc/RatioList.h"
#include "runtime/NumberFormatSettings.h"

namespace tavimo {

// The answers to an empty price box, and the caption of their message box.
inline constexpr std::string_view kEmptyLowMessage = "请输入低点数据！";
inline constexpr std::string_view kEmptyHighMessage = "请输入高点数据！";
inline constexpr std::string_view kEmptyBothMessage = "请输入低点和高点数据！";
inline constexpr std::string_view kEmptyThreeMessage = "请输入低点、高点和起点数据！";
inline constexpr std::string_view kEmptyBoxCaption = "错误";

// Either the message for an empty needed box (nothing was converted) or all
// the levels.
struct ComputeOutcome {
  std::optional<std::string_view> emptyBoxMessage;
  LevelTable levels;
};

// The box texts of one command as typed; a box the mode does not read is ignored.
struct ComputeRequest {
  ComputeMode mode = ComputeMode::Rise;
  std::string_view lowText;
  std::string_view highText;
  std::string_view fromText;  // C, read by the projections only
  LevelScale scale = LevelScale::Linear;
};

// The message for an empty box the mode reads, looked at in the order high,
// low, C; none when every needed box holds text. An empty box is a text of
// length zero (blanks are text and fail conversion).
std::optional<std::string_view> EmptyBoxMessage(ComputeMode mode, std::string_view lowText, std::string_view highText,
                                                std::string_view fromText = {});

// A price text parsed in extended precision and stored as the nearest double
// (EConvertError, EOverflow).
double ConvertPrice(std::string_view text, const NumberFormatSettings& settings = GlobalNumberFormatSettings());

// The command as a button runs it: the empty-box check, then the texts the
// mode reads converted in the order low, high, C, then on a log scale the
// prices checked to be above zero, then the table. Conversion, price and
// ratio errors propagate as exceptions, so the caller gets all levels or
// none. Log scale with rise or decline raises EConvertError
// kLogScaleModesMessage; callers refuse that combination before. The price
// texts are read in the separators given.
ComputeOutcome RunCompute(const ComputeRequest& request, const RatioList& ratios,
                          const NumberFormatSettings& settings = GlobalNumberFormatSettings());
// The same on a linear scale; a projection gets an empty C.
ComputeOutcome RunCompute(ComputeMode mode, std::string_view lowText, std::string_view highText,
                          const RatioList& ratios);

}  // namespace tavimo
