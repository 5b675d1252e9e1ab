#include "calc/ComputeMode.h"

namespace tavimo {

namespace {

struct ModeInfo {
  ComputeMode mode;
  std::string_view name;
  std::string_view caption;
};

constexpr std::array<ModeInfo, 6> kModeInfo = {{
    {ComputeMode::Rise, "rise", "低点上涨"},
    {ComputeMode::Decline, "decline", "高点下跌"},
    {ComputeMode::Resistance, "resistance", "反弹阻力"},
    {ComputeMode::Support, "support", "回调支撑"},
    {ComputeMode::ProjectionUp, "projection-up", "起点上涨"},
    {ComputeMode::ProjectionDown, "projection-down", "起点下跌"},
}};

const ModeInfo& InfoOf(ComputeMode mode) {
  for (const ModeInfo& info : kModeInfo)
    if (info.mode == mode) return info;
  return kModeInfo[0];
}

}  // namespace

std::string_view ComputeButtonCaption(ComputeMode mode) { return InfoOf(mode).caption; }

std::string_view ComputeModeName(ComputeMode mode) { return InfoOf(mode).name; }

std::optional<ComputeMode> ComputeModeFromName(std::string_view name) {
  for (const ModeInfo& info : kModeInfo)
    if (info.name == name) return info.mode;
  return std::nullopt;
}

}  // namespace tavimo
