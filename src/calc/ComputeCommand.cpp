#include "calc/ComputeCommand.h"

#include <string>

#include "runtime/Exceptions.h"
#include "runtime/FloatFaults.h"
#include "runtime/NumberParse.h"

namespace tavimo {

std::optional<std::string_view> EmptyBoxMessage(ComputeMode mode, std::string_view lowText, std::string_view highText,
                                                std::string_view fromText) {
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
    case ComputeMode::ProjectionUp:
    case ComputeMode::ProjectionDown:
      if (highText.empty() || lowText.empty() || fromText.empty()) return kEmptyThreeMessage;
      break;
  }
  return std::nullopt;
}

double ConvertPrice(std::string_view text, const NumberFormatSettings& settings) {
  return StoreAsDouble(ParseFloatText(text, settings));
}

ComputeOutcome RunCompute(const ComputeRequest& request, const RatioList& ratios,
                          const NumberFormatSettings& settings) {
  ComputeOutcome outcome;
  outcome.emptyBoxMessage = EmptyBoxMessage(request.mode, request.lowText, request.highText, request.fromText);
  if (outcome.emptyBoxMessage) return outcome;

  // Checked before any conversion, as no text can make the combination work.
  if (request.scale == LevelScale::Log && !LogScaleApplies(request.mode))
    throw EConvertError(std::string(kLogScaleModesMessage));
  LevelPrices prices;
  if (NeedsLow(request.mode)) prices.low = ConvertPrice(request.lowText, settings);
  if (NeedsHigh(request.mode)) prices.high = ConvertPrice(request.highText, settings);
  if (NeedsFrom(request.mode)) prices.from = ConvertPrice(request.fromText, settings);
  CheckLogScalePrices(request.mode, request.scale, prices);
  outcome.levels = BuildLevelTable(request.mode, request.scale, ratios, prices);
  return outcome;
}

ComputeOutcome RunCompute(ComputeMode mode, std::string_view lowText, std::string_view highText,
                          const RatioList& ratios) {
  return RunCompute(ComputeRequest{mode, lowText, highText, {}, LevelScale::Linear}, ratios);
}

}  // namespace tavimo
