#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "history/PriceFile.h"

namespace tavimo {
namespace {

PriceFileResult Read(const std::string& content) {
  std::istringstream input(content);
  return ReadPriceBars(input);
}

struct FormCase {
  const char* name;
  std::string content;
  std::vector<std::string> times;  // every bar, oldest first
  std::vector<double> closes;
  std::uint64_t emptyRows = 0;
};

// The bar times as text and the closes, for comparing with a case.
std::vector<std::string> Times(const PriceFileResult& r) {
  std::vector<std::string> out;
  for (std::int64_t t : r.bars.time) out.push_back(TimeText(t, r.timeForm));
  return out;
}

TEST(PriceFileTest, RecognisesEachFileFormFromItsContent) {
  const FormCase cases[] = {
      {"download with null rows",
       "Date,Open,High,Low,Close,Adj Close,Volume\n2024-01-02,10,11,9,10.5,10.4,100\n"
       "2024-01-03,null,null,null,null,null,null\n2024-01-04,10.5,12,10,11.5,11.4,\n",
       {"2024-01-02", "2024-01-04"}, {10.5, 11.5}, 1},
      {"descending",
       "date,open,high,low,close\n2024-01-04,1,3,1,3\n2024-01-03,1,2,1,2\n2024-01-02,1,1,1,1\n",
       {"2024-01-02", "2024-01-03", "2024-01-04"}, {1, 2, 3}},
      {"history export with angle brackets",
       "<DATE>\t<TIME>\t<OPEN>\t<HIGH>\t<LOW>\t<CLOSE>\t<TICKVOL>\n2024.01.02\t09:30:00\t1\t2\t0.5\t1.5\t7\n"
       "2024.01.02\t09:31:00\t1.5\t2\t1\t1.75\t8\n",
       {"2024-01-02 09:30:00", "2024-01-02 09:31:00"}, {1.5, 1.75}},
      {"headerless history export", "2024.01.02,09:30,1,2,0.5,1.5,7\n2024.01.02,09:45,1.5,2,1,1.25,8\n",
       {"2024-01-02 09:30:00", "2024-01-02 09:45:00"}, {1.5, 1.25}},
      {"epoch milliseconds kline",
       "1704153600000,1,2,0.5,1.5,9,1704153659999,0,0,0,0,0\n1704153660000,1,2,0.5,1.25,9,1704153719999,0,0,0,0,0\n",
       {"2024-01-02 00:00:00", "2024-01-02 00:01:00"}, {1.5, 1.25}},
      {"epoch microseconds", "time,close\n1704153600000000\n1704153600000000,4\n1704240000000000,5\n",
       {"2024-01-02", "2024-01-03"}, {4, 5}, 1},
      {"semicolon file with decimal commas and a date format header",
       "\"%Y-%m-%d\";Open;High;Low;Close\n2024-01-02;1,5;2,25;1;2\n2024-01-03;2;3.5;1,75;3\n",
       {"2024-01-02", "2024-01-03"}, {2, 3}},
      {"byte order mark and CR-only lines", "\xEF\xBB\xBF" "Date,Close\r20240102,1\r20240103,2\r",
       {"2024-01-02", "2024-01-03"}, {1, 2}},
      {"byte order mark before an empty line of a semicolon file", "\xEF\xBB\xBF\r\n2024-01-02;1;2;1;2\n",
       {"2024-01-02"}, {2}},
  };
  for (const FormCase& c : cases) {
    const PriceFileResult r = Read(c.content);
    EXPECT_EQ(Times(r), c.times) << c.name;
    EXPECT_EQ(r.bars.close, c.closes) << c.name;
    EXPECT_EQ(r.emptyRows, c.emptyRows) << c.name;
    EXPECT_TRUE(r.badRows.empty()) << c.name << ": " << (r.badRows.empty() ? "" : r.badRows[0]);
  }
}

TEST(PriceFileTest, ALineSeriesTakesItsCloseForOpenHighAndLow) {
  const PriceFileResult r = Read("Date,Close\n2024-01-02,7.5\n");
  ASSERT_EQ(r.bars.Size(), 1u);
  EXPECT_EQ(r.bars.open[0], 7.5);
  EXPECT_EQ(r.bars.high[0], 7.5);
  EXPECT_EQ(r.bars.low[0], 7.5);
}

TEST(PriceFileTest, ReportsBadRowsByPhysicalLineAndKeepsTheOthers) {
  const PriceFileResult r = Read(
      "Date,Open,High,Low,Close\n2023-02-30,1,2,1,2\n\n2024-01-02,1,2,1,x\n2024-01-03,1,1,2,1\n"
      "2024-01-04,1,2,1,2\n");
  const std::vector<std::string> expected = {"line 2: '2023-02-30' is not a valid time",
                                             "line 4: 'x' is not a valid price", "line 5: high below low"};
  EXPECT_EQ(r.badRows, expected);
  EXPECT_EQ(r.bars.Size(), 1u);
}

TEST(PriceFileTest, KeepsTheLastRowOfADuplicateTimeAndWarns) {
  const PriceFileResult r = Read("Date,Close\n2024-01-03,1\n2024-01-02,2\n2024-01-03,3\n");
  EXPECT_EQ(r.bars.close, (std::vector<double>{2, 3}));
  EXPECT_EQ(r.duplicates, std::vector<std::string>{"line 2: duplicate time 2024-01-03, line 4 kept"});
  // In time order already, after lines that hold no bar.
  const PriceFileResult ordered = Read("Date,Close\n2024-01-02,1\n\n2024-01-0x,1\n2024-01-03,2\n2024-01-03,3\n");
  EXPECT_EQ(ordered.duplicates, std::vector<std::string>{"line 5: duplicate time 2024-01-03, line 6 kept"});
}

TEST(PriceFileTest, NamesAFileWithoutBarsAndAFileThatCannotBeRead) {
  const std::string path = ::testing::TempDir() + "history_empty.csv";
  std::ofstream(path) << "Date,Close\n2024-01-02,null\n";
  EXPECT_EQ(ReadPriceFile(path).error, "No price bars in '" + path + "'.");
  EXPECT_EQ(ReadPriceFile("/nonexistent/f.csv").error, "cannot read '/nonexistent/f.csv': No such file or directory");
  // A directory opens but fails on its first read: an error, not an empty file.
  EXPECT_EQ(ReadPriceFile("/").error, "cannot read '/': Is a directory");
}

// A large file is read in two halves at once; what it gives must be what
// one pass gives: bad rows and duplicates by their lines, on either side of
// the middle, and a quoted field across the middle (one pass then).
TEST(PriceFileTest, ALargeFileReadInTwoHalvesGivesWhatOnePassGives) {
  for (const int variant : {0, 1, 2}) {
    const bool quoteAcrossTheMiddle = variant == 1, inOrder = variant == 2;
    std::string content = "Date,Open,High,Low,Close,Volume\n";
    const int rows = 120000;
    for (int i = 0; i < rows; ++i) {
      const int day = inOrder ? i / 3 : (i * 7919) % 90000;  // with repeats, out of order or not
      content += std::to_string(1900 + day / 336) + "-" + (day % 336 / 28 + 1 < 10 ? "0" : "") +
                 std::to_string(day % 336 / 28 + 1) + "-" + (day % 28 + 1 < 10 ? "0" : "") + std::to_string(day % 28 + 1);
      if (i % 9973 == 0) content += ",x,2,1,1.5,\n";
      else if (i % 7001 == 0) content += "\n\n";
      else content += "," + std::to_string(i % 97) + ".25," + std::to_string(i % 97 + 2) + ".5," + std::to_string(i % 97) +
                      ",1." + std::to_string(i % 13) + "," + std::to_string(i) + "\n";
      if (quoteAcrossTheMiddle && i == rows / 2 - 10) content += "2001-01-01,1,2,1,\"1\n" + std::string(4000, '5') + "\",7\n";
    }
    ASSERT_GT(content.size(), std::size_t(4) << 20);
    const std::string path = ::testing::TempDir() + "history_large.csv";
    std::ofstream(path, std::ios::binary) << content;
    const PriceFileRead halves = ReadPriceFile(path);
    const PriceFileResult onePass = Read(content);
    EXPECT_EQ(halves.error, "");
    EXPECT_EQ(halves.result.bars.time, onePass.bars.time);
    EXPECT_EQ(halves.result.bars.close, onePass.bars.close);
    EXPECT_EQ(halves.result.bars.volume, onePass.bars.volume);
    EXPECT_EQ(halves.result.badRows, onePass.badRows);
    EXPECT_EQ(halves.result.duplicates, onePass.duplicates);
    EXPECT_EQ(halves.result.emptyRows, onePass.emptyRows);
    EXPECT_GT(onePass.duplicates.size(), 1000u);
    EXPECT_GT(onePass.badRows.size(), 5u);
  }
}

}  // namespace
}  // namespace tavimo
