#pragma once
// The level view: a computation turned into the rows of level and mark text
// that every output shows (the window's chart and clipboard, tavimo-cli's
// lines and pictures), and the one rule for showing a single level, which the
// confluence zones and the batch rows use, so a tick and the mark pattern
// give the same text everywhere.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/ComputeCommand.h"
#include "calc/LevelScale.h"
#include "calc/LevelTable.h"
#include "calc/PriceTick.h"
#include "calc/RatioList.h"
#include "runtime/NumberFormatSettings.h"

namespace tavimo {

// The pattern of the chart's value marks; the chart's default value format,
// which the window and tavimo-cli both check against it.
inline constexpr std::string_view kLevelMarkPattern = "#,##0.###";

struct LevelRow {
  std::string ratio;  // the entry's text
  double level = 0.0;
  std::string mark;  // the level as the chart's value mark shows it
};

// How the user has chosen to see levels: a price tick (none: the mark
// pattern), its rounding, and the scale, which each mode takes where it
// applies (ScaleForMode), so rise and decline stay linear.
struct LevelPresentation {
  std::optional<PriceTick> tick;
  TickRounding rounding = TickRounding::Nearest;
  LevelScale scale = LevelScale::Linear;
};

// One level as shown: with a tick, the double nearest to its multiple and
// the tick's text of it (PriceTick::Round's errors); without, the level
// itself and its kLevelMarkPattern text.
struct ShownLevel {
  double level = 0.0;
  std::string mark;
};
ShownLevel ShowLevel(double level, const PriceTick* tick, TickRounding rounding,
                     const NumberFormatSettings& settings = GlobalNumberFormatSettings());

// One row per entry that has a level, each shown as ShowLevel shows it.
std::vector<LevelRow> MakeLevelRows(const RatioList& ratios, const LevelTable& levels, const PriceTick* tick = nullptr,
                                    TickRounding rounding = TickRounding::Nearest,
                                    const NumberFormatSettings& settings = GlobalNumberFormatSettings());

struct LevelView {
  // The message for an empty needed box; then there are no rows.
  std::optional<std::string_view> emptyBoxMessage;
  std::vector<LevelRow> rows;
  bool tickedMarks = false;  // the marks are a tick's texts, not the chart's own
};

// The command as a button runs it (RunCompute, on the presentation's scale
// as the request's mode takes it; the request's own scale is not read), its
// levels shown. Everything is formatted before it returns: all rows or an
// exception.
LevelView ViewLevels(const ComputeRequest& request, const RatioList& ratios, const LevelPresentation& presentation,
                     const NumberFormatSettings& settings = GlobalNumberFormatSettings());

// The rows before any computation: every entry at 0, as the chart's bars start.
LevelView ViewUncomputedLevels(const RatioList& ratios,
                               const NumberFormatSettings& settings = GlobalNumberFormatSettings());

}  // namespace tavimo
