#include "batch/BatchLevels.h"

#include "calc/ComputeCommand.h"
#include "runtime/CsvReader.h"
#include "calc/LevelFormula.h"
#include "calc/LevelTable.h"
#include "calc/LevelText.h"
#include "calc/LevelView.h"
#include "runtime/ErrorText.h"
#include "runtime/Exceptions.h"
#include "runtime/Messages.h"
#include "runtime/CsvWriter.h"

namespace tavimo {

namespace {

// Output goes out in blocks of about this size.
constexpr std::size_t kOutputBlock = std::size_t(1) << 20;

constexpr std::size_t kNoColumn = static_cast<std::size_t>(-1);

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool SameName(std::string_view field, std::string_view name) {
  while (!field.empty() && IsBlank(field.front())) field.remove_prefix(1);
  while (!field.empty() && IsBlank(field.back())) field.remove_suffix(1);
  if (field.size() != name.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    char c = field[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != name[i]) return false;
  }
  return true;
}

std::size_t FindColumn(const CsvRecord& header, std::string_view name) {
  for (std::size_t i = 0; i < header.fields.size(); ++i)
    if (SameName(header.fields[i], name)) return i;
  return kNoColumn;
}

std::string_view Cell(const CsvRecord& record, std::size_t column) {
  return column < record.fields.size() ? record.fields[column] : std::string_view();
}

// Everything that stays the same from row to row, prepared once.
struct BatchPlan {
  const BatchOptions& options;
  const NumberFormatSettings& settings;
  std::vector<double> ratioValues = {};
  std::vector<std::string> ratioFields = {};  // ",ratio," as written, per entry
  std::vector<std::string> modeFields = {};   // ",mode" as written, per mode
  bool needsLow = false;
  bool needsHigh = false;
  bool needsFrom = false;
  std::size_t lowColumn = kNoColumn;
  std::size_t highColumn = kNoColumn;
  std::size_t fromColumn = kNoColumn;
  std::size_t columns = 0;
};

// The message of the first check a row fails, before anything is converted.
std::optional<std::string_view> RowEmptyCellMessage(const BatchPlan& plan, const CsvRecord& row) {
  const std::string_view low = Cell(row, plan.lowColumn);
  const std::string_view high = Cell(row, plan.highColumn);
  const std::string_view from = Cell(row, plan.fromColumn);
  for (ComputeMode mode : plan.options.modes)
    if (const auto message = EmptyBoxMessage(mode, low, high, from)) return message;
  return std::nullopt;
}

// Appends the row's output lines; raises as the single command would.
void AppendRowLevels(const BatchPlan& plan, const CsvRecord& row, std::string& out) {
  LevelPrices prices;
  if (plan.needsLow) prices.low = ConvertPrice(Cell(row, plan.lowColumn), plan.settings);
  if (plan.needsHigh) prices.high = ConvertPrice(Cell(row, plan.highColumn), plan.settings);
  if (plan.needsFrom) prices.from = ConvertPrice(Cell(row, plan.fromColumn), plan.settings);
  const BatchOptions& options = plan.options;
  for (ComputeMode mode : options.modes) CheckLogScalePrices(mode, ScaleForMode(options.scale, mode), prices);

  const PriceTick* tick = options.tick ? &*options.tick : nullptr;
  const std::size_t padding = plan.columns - std::min(plan.columns, row.fields.size());
  for (std::size_t m = 0; m < options.modes.size(); ++m) {
    const ComputeMode mode = options.modes[m];
    const LevelScale scale = ScaleForMode(options.scale, mode);
    for (std::size_t i = 0; i < plan.ratioValues.size(); ++i) {
      const ShownLevel shown =
          ShowLevel(LevelFor(mode, scale, plan.ratioValues[i], prices), tick, options.rounding, plan.settings);
      out += row.raw;
      out.append(padding, ',');
      out += plan.modeFields[m];
      out += plan.ratioFields[i];
      out += RoundTripNumber(shown.level);
      out += ',';
      AppendCsvField(out, shown.mark);
      out += "\r\n";
    }
  }
}

}  // namespace

BatchSummary RunBatch(std::istream& input, std::ostream& output, const RatioList& ratios, const BatchOptions& options,
                      const std::function<void(const std::string&)>& reportBadRow,
                      const NumberFormatSettings& settings) {
  BatchPlan plan{.options = options, .settings = settings, .ratioValues = ParseRatioValues(ratios)};
  for (ComputeMode mode : options.modes) {
    plan.needsLow = plan.needsLow || NeedsLow(mode);
    plan.needsHigh = plan.needsHigh || NeedsHigh(mode);
    plan.needsFrom = plan.needsFrom || NeedsFrom(mode);
    std::string field = ",";
    AppendCsvField(field, ComputeModeName(mode));
    plan.modeFields.push_back(std::move(field));
  }
  for (const std::string& entry : ratios) {
    std::string field = ",";
    AppendCsvField(field, entry);
    field += ',';
    plan.ratioFields.push_back(std::move(field));
  }

  BatchSummary summary;
  CsvReader reader(input);
  CsvRecord record;
  if (!reader.Next(record)) {
    summary.inputFailed = reader.Failed();
    if (summary.inputFailed) return summary;
    throw EConvertError(std::string(kBatchNoHeaderMessage));
  }
  if (!record.error.empty())
    throw EConvertError("line " + std::to_string(record.line) + ": " + std::string(record.error));
  plan.columns = record.fields.size();
  plan.lowColumn = FindColumn(record, "low");
  plan.highColumn = FindColumn(record, "high");
  plan.fromColumn = FindColumn(record, "from");
  const auto require = [&](bool needed, std::size_t column, std::string_view name) {
    if (needed && column == kNoColumn) throw EConvertError(messages::FormatMessage(kBatchNoColumnMessage, name));
  };
  require(plan.needsLow, plan.lowColumn, "low");
  require(plan.needsHigh, plan.highColumn, "high");
  require(plan.needsFrom, plan.fromColumn, "from");

  std::string out;
  out.reserve(kOutputBlock + (std::size_t(64) << 10));
  out += record.raw;
  out += ",mode,ratio,level,text\r\n";
  const auto flush = [&] {
    output.write(out.data(), static_cast<std::streamsize>(out.size()));
    out.clear();
    if (!output) summary.outputFailed = true;
  };
  const auto bad = [&](const CsvRecord& row, std::string_view message) {
    ++summary.badRows;
    reportBadRow("line " + std::to_string(row.line) + ": " + std::string(message));
  };

  while (reader.Next(record)) {
    ++summary.rows;
    if (!record.error.empty()) {
      bad(record, record.error);
      continue;
    }
    if (record.fields.size() > plan.columns) {
      bad(record, kBatchTooManyFieldsMessage);
      continue;
    }
    if (const auto message = RowEmptyCellMessage(plan, record)) {
      bad(record, *message);
      continue;
    }
    const std::size_t rowStart = out.size();
    try {
      AppendRowLevels(plan, record, out);
    } catch (const Exception& error) {
      out.resize(rowStart);
      bad(record, ErrorBoxText(error.Message()));
      continue;
    }
    summary.levels += options.modes.size() * plan.ratioValues.size();
    if (out.size() >= kOutputBlock) {
      flush();
      if (summary.outputFailed) return summary;
    }
  }
  summary.inputFailed = reader.Failed();
  flush();
  if (!summary.outputFailed) {
    output.flush();
    if (!output) summary.outputFailed = true;
  }
  return summary;
}

}  // namespace tavimo
