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

// A NUL would end the price text early ("10\0007" read as 10), so a needed
// cell holding one is refused whole.
void CheckNoNulInNeededCells(const BatchPlan& plan, const CsvRecord& row) {
  const auto check = [&](bool needed, std::size_t column) {
    const std::string_view cell = Cell(row, column);
    if (needed && cell.find('\0') != std::string_view::npos)
      throw EConvertError(messages::FormatMessage(messages::kInvalidFloat, cell));
  };
  check(plan.needsLow, plan.lowColumn);
  check(plan.needsHigh, plan.highColumn);
  check(plan.needsFrom, plan.fromColumn);
}

// Appends the end of each of the row's output lines (what follows the input
// row's fields), each starting at the offset pushed to lineStarts; raises as
// the single command would.
void AppendRowLevels(const BatchPlan& plan, const CsvRecord& row, std::string& out,
                     std::vector<std::size_t>& lineStarts) {
  LevelPrices prices;
  if (plan.needsLow) prices.low = ConvertPrice(Cell(row, plan.lowColumn), plan.settings);
  if (plan.needsHigh) prices.high = ConvertPrice(Cell(row, plan.highColumn), plan.settings);
  if (plan.needsFrom) prices.from = ConvertPrice(Cell(row, plan.fromColumn), plan.settings);
  const BatchOptions& options = plan.options;
  for (ComputeMode mode : options.modes) CheckLogScalePrices(mode, ScaleForMode(options.scale, mode), prices);

  const PriceTick* tick = options.tick ? &*options.tick : nullptr;
  for (std::size_t m = 0; m < options.modes.size(); ++m) {
    const ComputeMode mode = options.modes[m];
    const LevelScale scale = ScaleForMode(options.scale, mode);
    for (std::size_t i = 0; i < plan.ratioValues.size(); ++i) {
      const ShownLevel shown =
          ShowLevel(LevelFor(mode, scale, plan.ratioValues[i], prices), tick, options.rounding, plan.settings);
      lineStarts.push_back(out.size());
      out += plan.modeFields[m];
      out += plan.ratioFields[i];
      out += RoundTripNumber(shown.level);
      out += ',';
      AppendCsvField(out, shown.mark);
      out += "\r\n";
    }
  }
}

// The output in blocks of about kOutputBlock bytes; an input row's bytes go
// out from the reader's buffer, never copied per output line, and a long one
// is written directly.
class BatchWriter {
 public:
  explicit BatchWriter(std::ostream& output) : output_(output) { block_.reserve(kOutputBlock + kDirectWrite); }

  void Write(std::string_view bytes) {
    if (bytes.size() < kDirectWrite) {
      block_ += bytes;
    } else {
      Flush();
      if (!failed_) output_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    if (block_.size() >= kOutputBlock) Flush();
    if (!output_) failed_ = true;
  }
  void Pad(std::size_t commas) { block_.append(commas, ','); }
  // What is held goes out; with sync, also what the stream itself holds.
  void Flush(bool sync = false) {
    if (!failed_ && !block_.empty()) output_.write(block_.data(), static_cast<std::streamsize>(block_.size()));
    block_.clear();
    if (!failed_ && sync) output_.flush();
    if (!output_) failed_ = true;
  }
  bool Failed() const { return failed_; }

 private:
  static constexpr std::size_t kDirectWrite = std::size_t(64) << 10;
  std::ostream& output_;
  std::string block_;
  bool failed_ = false;
};

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

  BatchWriter writer(output);
  writer.Write(record.raw);
  writer.Write(",mode,ratio,level,text\r\n");
  // Rows fed slowly through a pipe come out before the reader waits for the next.
  reader.SetBeforeWait([&writer] { writer.Flush(true); });
  const auto bad = [&](const CsvRecord& row, std::string_view message) {
    ++summary.badRows;
    reportBadRow("line " + std::to_string(row.line) + ": " + std::string(message));
  };

  std::string lineEnds;
  std::vector<std::size_t> lineStarts;
  while (!writer.Failed() && reader.Next(record)) {
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
    lineEnds.clear();
    lineStarts.clear();
    try {
      CheckNoNulInNeededCells(plan, record);
      AppendRowLevels(plan, record, lineEnds, lineStarts);
    } catch (const Exception& error) {
      bad(record, ErrorBoxText(error.Message()));
      continue;
    }
    const std::size_t padding = plan.columns - std::min(plan.columns, record.fields.size());
    lineStarts.push_back(lineEnds.size());
    for (std::size_t k = 0; k + 1 < lineStarts.size(); ++k) {
      writer.Write(record.raw);
      writer.Pad(padding);
      writer.Write(std::string_view(lineEnds).substr(lineStarts[k], lineStarts[k + 1] - lineStarts[k]));
    }
    summary.levels += lineStarts.size() - 1;
  }
  summary.inputFailed = reader.Failed();
  writer.Flush(true);
  summary.outputFailed = writer.Failed();
  return summary;
}

}  // namespace tavimo
