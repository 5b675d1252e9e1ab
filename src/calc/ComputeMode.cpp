#include "calc/ComputeMode.h"

namespace tavimo {

namespace {

constexpr std::array<NamedValue<ComputeMode>, 6> kCaptions = {
    {{ComputeMode::Rise, "低点上涨"}, {ComputeMode::Decline, "高点下跌"}, {ComputeMode::Resistance, "反弹阻力"},
     {ComputeMode::Support, "回调支撑"}, {ComputeMode::ProjectionUp, "起点上涨"},
     {ComputeMode::ProjectionDown, "起点下跌"}}};

}  // namespace

std::string_view ComputeButtonCaption(ComputeMode mode) { return NameOf(kCaptions, mode); }

std::string_view ComputeModeName(ComputeMode mode) { return NameOf(kComputeModeNames, mode); }

std::optional<ComputeMode> ComputeModeFromName(std::string_view name) { return ValueNamed(kComputeModeNames, name); }

}  // namespace tavimo
