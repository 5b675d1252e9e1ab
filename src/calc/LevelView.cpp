#include "calc/LevelView.h"

#include "runtime/NumberFormat.h"

namespace tavimo {

ShownLevel ShowLevel(double level, const PriceTick* tick, TickRounding rounding,
                     const NumberFormatSettings& settings) {
  if (tick == nullptr) return {level, FormatFloatPattern(kLevelMarkPattern, level, settings)};
  TickedLevel ticked = tick->Round(level, rounding, settings);
  return {ticked.level, std::move(ticked.text)};
}

std::vector<LevelRow> MakeLevelRows(const RatioList& ratios, const LevelTable& levels, const PriceTick* tick,
                                    TickRounding rounding, const NumberFormatSettings& settings) {
  std::vector<LevelRow> rows;
  rows.reserve(ratios.size());
  for (std::size_t i = 0; i < ratios.size() && i < levels.size(); ++i) {
    ShownLevel shown = ShowLevel(levels[i], tick, rounding, settings);
    rows.push_back({ratios[i], shown.level, std::move(shown.mark)});
  }
  return rows;
}

LevelView ViewLevels(const ComputeRequest& request, const RatioList& ratios, const LevelPresentation& presentation,
                     const NumberFormatSettings& settings) {
  ComputeRequest onScale = request;
  onScale.scale = ScaleForMode(presentation.scale, request.mode);
  const ComputeOutcome outcome = RunCompute(onScale, ratios, settings);
  LevelView view;
  view.emptyBoxMessage = outcome.emptyBoxMessage;
  if (view.emptyBoxMessage) return view;
  const PriceTick* tick = presentation.tick ? &*presentation.tick : nullptr;
  view.rows = MakeLevelRows(ratios, outcome.levels, tick, presentation.rounding, settings);
  view.tickedMarks = tick != nullptr;
  return view;
}

LevelView ViewUncomputedLevels(const RatioList& ratios, const NumberFormatSettings& settings) {
  LevelView view;
  view.rows = MakeLevelRows(ratios, LevelTable(ratios.size(), 0.0), nullptr, TickRounding::Nearest, settings);
  return view;
}

}  // namespace tavimo
