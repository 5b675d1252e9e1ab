// Value lists: ordered insertion, the multiplier, cached statistics and index checks.

#include <gtest/gtest.h>

#include <vector>

#include "ParamText.h"
#include "chart/ValueList.h"
#include "runtime/Exceptions.h"

namespace tavimo::chart {
namespace {

std::vector<double> Values(const TChartValueList& list) {
  std::vector<double> out;
  for (int i = 0; i < list.ValueCount(); ++i) out.push_back(list.ValueAt(i));
  return out;
}

struct InsertCase {
  TChartListOrder order;
  std::vector<double> existing;
  double value;
  int index;
  std::vector<double> result;
};

const char* OrderName(TChartListOrder order) {
  switch (order) {
    case TChartListOrder::loAscending: return "Ascending";
    case TChartListOrder::loDescending: return "Descending";
    case TChartListOrder::loNone: return "None";
  }
  return "Unknown";
}

void PrintTo(const InsertCase& c, std::ostream* os) {
  *os << "{" << OrderName(c.order) << ", " << param_text::Number(c.value) << " into "
      << param_text::NumberList(c.existing) << " -> index " << c.index << ", " << param_text::NumberList(c.result)
      << "}";
}

class OrderedInsertTest : public ::testing::TestWithParam<InsertCase> {};

TEST_P(OrderedInsertTest, ValueGoesWhereTheOrderPutsIt) {
  const InsertCase& c = GetParam();
  TChartValueList list(nullptr, "X");
  list.SetOrder(c.order);
  for (double v : c.existing) list.InsertOrdered(v);
  EXPECT_EQ(list.InsertOrdered(c.value), c.index);
  EXPECT_EQ(Values(list), c.result);
}

INSTANTIATE_TEST_SUITE_P(
    Orders, OrderedInsertTest,
    ::testing::Values(InsertCase{TChartListOrder::loAscending, {1, 3, 5}, 3, 2, {1, 3, 3, 5}},
                      InsertCase{TChartListOrder::loDescending, {5, 3, 1}, 3, 2, {5, 3, 3, 1}},
                      InsertCase{TChartListOrder::loAscending, {1, 3, 5}, 0, 0, {0, 1, 3, 5}},
                      InsertCase{TChartListOrder::loAscending, {1, 3, 5}, 7, 3, {1, 3, 5, 7}},
                      InsertCase{TChartListOrder::loDescending, {5, 3, 1}, 9, 0, {9, 5, 3, 1}},
                      InsertCase{TChartListOrder::loNone, {5, 3, 1}, 4, 3, {5, 3, 1, 4}},
                      InsertCase{TChartListOrder::loAscending, {}, 4, 0, {4}}),
    [](const ::testing::TestParamInfo<InsertCase>& info) {
      return param_text::Join({OrderName(info.param.order), param_text::Name(info.param.value), "into",
                               param_text::NumberListName(info.param.existing)});
    });

TEST(ValueListTest, StatisticsOfNoValuesAreZero) {
  TChartValueList list(nullptr, "X");
  EXPECT_EQ(list.MinimumValue(), 0);
  EXPECT_EQ(list.MaximumValue(), 0);
  EXPECT_EQ(list.TotalValue(), 0);
  EXPECT_EQ(list.TotalAbsolute(), 0);
}

TEST(ValueListTest, StatisticsFollowEveryChange) {
  TChartValueList list(nullptr, "X");
  for (double v : {4.0, -2.0, 7.0}) list.InsertOrdered(v);
  EXPECT_EQ(list.MinimumValue(), -2);
  EXPECT_EQ(list.MaximumValue(), 7);
  EXPECT_EQ(list.TotalValue(), 9);
  EXPECT_EQ(list.TotalAbsolute(), 13);
  list.SetValueAt(1, 10);
  EXPECT_EQ(list.MinimumValue(), 4);
  EXPECT_EQ(list.MaximumValue(), 10);
  list.RemoveAll();
  EXPECT_EQ(list.MaximumValue(), 0);
}

TEST(ValueListTest, MultiplierScalesReadingsAndStatisticsButNotStorage) {
  TChartValueList list(nullptr, "X");
  list.InsertOrdered(1.5);
  list.InsertOrdered(-3);
  EXPECT_EQ(list.MaximumValue(), 1.5);
  list.SetMultiplier(2);
  EXPECT_EQ(list.ValueAt(0), 3);
  EXPECT_EQ(list.StoredValue(0), 1.5);
  EXPECT_EQ(list.MinimumValue(), -6);
  EXPECT_EQ(list.TotalAbsolute(), 9);
}

TEST(ValueListTest, BadIndexRaisesListErrorNamingTheIndex) {
  TChartValueList list(nullptr, "X");
  list.InsertOrdered(1);
  try {
    list.ValueAt(1);
    FAIL() << "no exception";
  } catch (const EListError& e) {
    EXPECT_STREQ(e.what(), "List index out of bounds (1)");
  }
  EXPECT_THROW(list.SetValueAt(-1, 0), EListError);
  EXPECT_THROW(list.InsertAt(3, 0), EListError);
  EXPECT_EQ(list.ValueAt(0), 1);  // nothing changed
}

TEST(ValueListTest, InsertAtShiftsLaterValues) {
  TChartValueList list(nullptr, "Y");
  list.InsertAt(0, 1);
  list.InsertAt(1, 3);
  list.InsertAt(1, 2);
  EXPECT_EQ(Values(list), (std::vector<double>{1, 2, 3}));
  EXPECT_EQ(list.LastValue(), 3);
}

}  // namespace
}  // namespace tavimo::chart
