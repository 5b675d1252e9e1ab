#pragma once
// Levels for many waves at once: CSV rows of low and high (and C for the
// projections) in, one CSV row per input row, mode and ratio out. Both ends
// are streams read and written in large blocks, so memory stays flat however
// long the input is.

#include <cstdint>
#include <functional>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "calc/ComputeMode.h"
#include "calc/LevelScale.h"
#include "calc/PriceTick.h"
#include "calc/RatioList.h"
#include "runtime/NumberFormatSettings.h"

namespace tavimo {

inline constexpr std::string_view kBatchNoHeaderMessage = "The input has no header line.";
// "%s" is the column's name.
inline constexpr std::string_view kBatchNoColumnMessage = "The input has no column '%s'.";
inline constexpr std::string_view kBatchTooManyFieldsMessage = "The row has more fields than the header.";

struct BatchOptions {
  std::vector<ComputeMode> modes;  // written in this order for every row
  LevelScale scale = LevelScale::Linear;
  std::optional<PriceTick> tick;  // rounds every level, and writes its text
  TickRounding rounding = TickRounding::Nearest;
};

struct BatchSummary {
  std::uint64_t rows = 0;     // records after the header
  std::uint64_t badRows = 0;  // reported and skipped
  std::uint64_t levels = 0;   // output rows written
  bool inputFailed = false;   // the input stream broke off (not its end)
  bool outputFailed = false;  // the output stream refused a write; nothing more was written
};

// Reads the header (columns low, high and, with a projection mode, from,
// matched without regard to case or surrounding blanks; the first of equal
// names counts) and writes it back followed by ",mode,ratio,level,text".
// Then, per row, mode and ratio: the row as read (short rows padded with
// empty fields), the mode's name, the ratio entry, the level as the shortest
// text that reads back to the same double, and its mark text ("#,##0.###",
// or the tick's text), each line ended by CRLF. The levels are those of the
// single command: the same empty-cell checks (EmptyBoxMessage, mode by mode),
// conversions (low, high, C), log-scale checks and formulas, rise and decline
// writing 0 for ratios of 1 and more, each mode on the scale as it takes it
// (ScaleForMode). A row that fails any of them is
// skipped, and reportBadRow gets "line N: <message>", N the input line its
// record starts on (the header is line 1; a byte order mark takes none).
//
// Raises before anything is written: the ratios' errors (ParseRatio), an
// input without a header or a needed column (EConvertError with the
// messages above).
BatchSummary RunBatch(std::istream& input, std::ostream& output, const RatioList& ratios, const BatchOptions& options,
                      const std::function<void(const std::string&)>& reportBadRow,
                      const NumberFormatSettings& settings = GlobalNumberFormatSettings());

}  // namespace tavimo
