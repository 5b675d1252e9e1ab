#include "confluence/ConfluenceInput.h"

#include <cfloat>

#include "calc/ComputeCommand.h"
#include "runtime/Exceptions.h"
#include "runtime/NumberParse.h"

namespace tavimo {

namespace {
// The price, or the problem's message (empty for an empty cell).
std::optional<double> ReadCell(const std::string& text, LevelScale scale, const NumberFormatSettings& settings,
                               std::string& message) {
  if (text.empty()) return std::nullopt;
  try {
    const double price = ConvertPrice(text, settings);
    if (scale == LevelScale::Log && !(price > 0.0)) {
      message = std::string(kLogScalePricesMessage);
      return std::nullopt;
    }
    return price;
  } catch (const Exception& e) {
    message = e.Message();
    return std::nullopt;
  }
}
}  // namespace

ConfluenceInput ReadConfluenceWaves(const std::vector<WaveRowTexts>& rows, LevelScale scale,
                                    const NumberFormatSettings& settings) {
  ConfluenceInput input;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const WaveRowTexts& row = rows[i];
    if (row.low.empty() && row.high.empty() && row.from.empty()) continue;
    const struct {
      WaveCell cell;
      const std::string& text;
    } cells[] = {{WaveCell::Low, row.low}, {WaveCell::High, row.high}, {WaveCell::From, row.from}};
    std::optional<double> values[3];
    bool wrong = false;
    for (std::size_t c = 0; c < 3 && !wrong; ++c) {
      std::string message;
      values[c] = ReadCell(cells[c].text, scale, settings, message);
      // Only C may stay empty.
      if (!values[c] && (!cells[c].text.empty() || cells[c].cell != WaveCell::From)) {
        input.problems.push_back({i, cells[c].cell, std::move(message)});
        wrong = true;
      }
    }
    if (wrong) continue;
    input.waves.push_back({*values[0], *values[1], values[2]});
    input.waveRows.push_back(i);
  }
  return input;
}

std::optional<long double> ReadConfluenceTolerance(std::string_view text, const NumberFormatSettings& settings) {
  long double value = 0.0L;
  // Beyond the double range it could not be written back (the JSON would say null).
  if (!ScanFloatText(text, value, settings) || !(value >= 0.0L) || value > DBL_MAX) return std::nullopt;
  return value;
}

}  // namespace tavimo
