#pragma once
// The waves of a confluence as typed into a table, one row of texts per
// wave: which rows make waves, and for the others which cell is wrong and
// why, so an editor can skip them while the user is still typing.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "confluence/Confluence.h"
#include "calc/LevelScale.h"
#include "runtime/NumberFormatSettings.h"

namespace tavimo {

enum class WaveCell { Low, High, From };

// The texts of one row; from may be empty (a wave without C).
struct WaveRowTexts {
  std::string low;
  std::string high;
  std::string from;
};

// Why a row makes no wave: the first wrong cell in the order low, high, C,
// and the message (empty when the cell is empty).
struct WaveRowProblem {
  std::size_t row = 0;  // 0-based
  WaveCell cell = WaveCell::Low;
  std::string message;
};

struct ConfluenceInput {
  std::vector<ConfluenceWave> waves;
  std::vector<std::size_t> waveRows;  // the row each wave came from
  std::vector<WaveRowProblem> problems;
};

// Each row converted as a price box is (ConvertPrice): a row with every cell
// empty is left out silently; a row with an empty or unconvertible low or
// high, or an unconvertible C, is left out with its problem. On a log scale
// a price at or below zero is a problem too (kLogScalePricesMessage), since
// it would end the whole sweep.
ConfluenceInput ReadConfluenceWaves(const std::vector<WaveRowTexts>& rows, LevelScale scale,
                                    const NumberFormatSettings& settings = GlobalNumberFormatSettings());

// The tolerance in percent as typed (read as ParseFloatText reads it); none
// unless the text is a number from zero to the largest double.
std::optional<long double> ReadConfluenceTolerance(std::string_view text,
                                                   const NumberFormatSettings& settings = GlobalNumberFormatSettings());

}  // namespace tavimo
