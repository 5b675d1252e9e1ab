#include "calc/ComputeCommand.h"

#include "runtime/FloatFaults.h"
#include "runtime/NumberParse.h"

namespace tavimo {

namespace {

struct ModeInfo {
  ComputeMode mode;
  std::string_view name;
  std::string_view caption;
};

constexpr std::array<ModeInfo, 4> kModeInfo = {{
    {ComputeMode::Rise, "rise", "低点上涨"},
    {ComputeMode::Decline, "decline", "高点下跌"},
    {ComputeMode::Resistance, "resistance", "反弹阻力"},
    {ComputeMode::Support, "support", "回调支撑"},
}};

const ModeInfo& InfoOf(ComputeMode mode) {
  for (const ModeInfo& info : kModeInfo)
    if (info.mode == mode) return info;
  return kModeInfo[0];
}

// A price is parsed in extended precision and stored as the nearest double.
double ConvertPrice(std::string_view text) { return StoreAsDouble(ParseFloatText(text)); }

std::optional<std::string_view> EmptyBoxMessage(ComputeMode mode, std::string_view lowText,
                                                std::string_view highText) {
  switch (mode) {
    case ComputeMode::Rise:
      if (lowText.empty()) return kEmptyLowMessage;
      break;
    case ComputeMode::Decline:
      if (highText.empty()) return kEmptyHighMessage;
      break;
    case ComputeMode::Resistance:
    case ComputeMode::Support:
      if (highText.empty() || lowText.empty()) return kEmptyBothMessage;
      break;
  }
  return std::nullopt;
}

}  // namespace

std::string_view ComputeButtonCaption(ComputeMode mode) { return InfoOf(mode).caption; }

std::string_view ComputeModeName(ComputeMode mode) { return InfoOf(mode).name; }

std::optional<ComputeMode> ComputeModeFromName(std::string_view name) {
  for (const ModeInfo& info : kModeInfo)
    if (info.name == name) return info.mode;
  return std::nullopt;
}

ComputeOutcome RunCompute(ComputeMode mode, std::string_view lowText, std::string_view highText,
                          const RatioList& ratios) {
  ComputeOutcome outcome;
  outcome.emptyBoxMessage = EmptyBoxMessage(mode, lowText, highText);
  if (outcome.emptyBoxMessage) return outcome;

  switch (mode) {
    case ComputeMode::Rise:
      outcome.levels = BuildRiseTable(ratios, ConvertPrice(lowText));
      break;
    case ComputeMode::Decline:
      outcome.levels = BuildDeclineTable(ratios, ConvertPrice(highText));
      break;
    case ComputeMode::Resistance: {
      const double low = ConvertPrice(lowText);
      const double high = ConvertPrice(highText);
      outcome.levels = BuildResistanceTable(ratios, low, high);
      break;
    }
    case ComputeMode::Support: {
      const double low = ConvertPrice(lowText);
      const double high = ConvertPrice(highText);
      outcome.levels = BuildSupportTable(ratios, low, high);
      break;
    }
  }
  return outcome;
}

}  // namespace tavimo
