#pragma once
// Price files: one instrument's bars as users have them on disk (downloads,
// platform history exports, exchange klines, spreadsheet exports), the form
// recognised from the content, read into bar columns sorted by time.

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "history/PriceTime.h"

namespace tavimo {

// "%s" is the file as given.
inline constexpr std::string_view kNoPriceBarsMessage = "No price bars in '%s'.";

// The bars of one instrument, oldest first, as columns: 48 bytes a bar.
struct PriceBars {
  std::vector<std::int64_t> time;  // seconds since 1970, no zone
  std::vector<double> open, high, low, close;
  std::vector<double> volume;  // 0 where the file has none
  std::size_t Size() const { return time.size(); }
};

struct PriceFileResult {
  PriceBars bars;
  // How every time of this file is written.
  TimeTextForm timeForm = TimeTextForm::Date;
  // Rows whose price cells are all empty, null or NaN: skipped, no error.
  std::uint64_t emptyRows = 0;
  // "line N: <message>" for each row that could not be read, in file order.
  std::vector<std::string> badRows;
  // "line N: duplicate time <time>, line M kept", a warning for each row
  // another row of the same time replaced.
  std::vector<std::string> duplicates;
  // The input broke off with a read error (not its end); errno when known.
  bool readFailed = false;
  int readErrno = 0;
};

// Reads a whole price file from a stream. Never raises for bad content.
PriceFileResult ReadPriceBars(std::istream& input);

// Opens and reads a file. error is empty, or the message that ends the
// file's use: "cannot read '<file>': <reason>" for a file that cannot be
// opened or read to its end, "No price bars in '<file>'." for one without a
// usable bar.
struct PriceFileRead {
  PriceFileResult result;
  std::string error;
};
PriceFileRead ReadPriceFile(const std::string& path);

}  // namespace tavimo
