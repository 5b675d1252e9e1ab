#pragma once
// One coordinate (X or Y) of every point of a series: the stored values, the
// multiplier applied on reading, the insertion order rule and the cached
// statistics the axes scale to.

#include <string>
#include <vector>

namespace tavimo::chart {

class TChartSeries;

enum class TChartListOrder { loNone = 0, loAscending = 1, loDescending = 2 };

class TChartValueList {
 public:
  TChartValueList(TChartSeries* owner, std::string name);

  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }
  double Multiplier() const { return multiplier_; }
  // Marks the statistics stale and asks the series' chart to repaint.
  void SetMultiplier(double multiplier);
  TChartListOrder Order() const { return order_; }
  void SetOrder(TChartListOrder order) { order_ = order; }
  bool DateTime() const { return dateTime_; }
  void SetDateTime(bool dateTime) { dateTime_ = dateTime; }
  const std::string& ValueSource() const { return valueSource_; }
  void SetValueSource(std::string source) { valueSource_ = std::move(source); }
  TChartSeries* Owner() const { return owner_; }

  // The value about to be added, set before an add so an add hook can see it.
  double StagedValue() const { return staged_; }
  void Stage(double value) { staged_ = value; }

  // Stores value where Order puts it (equal values go after the existing ones); returns its index.
  int InsertOrdered(double value);
  // Stores value at index (0 ... count), shifting later values up.
  void InsertAt(int index, double value);
  // The stored value times Multiplier. Raises EListError for a bad index.
  double ValueAt(int index) const;
  // The value as stored, without the multiplier.
  double StoredValue(int index) const { return values_[static_cast<std::size_t>(index)]; }
  void SetValueAt(int index, double value);
  void RemoveAll();
  int ValueCount() const { return static_cast<int>(values_.size()); }
  double LastValue() const { return ValueAt(ValueCount() - 1); }

  // Recomputed on the first read after a change.
  double MinimumValue() const { return CurrentStatistics().minimum; }
  double MaximumValue() const { return CurrentStatistics().maximum; }
  double TotalValue() const { return CurrentStatistics().total; }
  double TotalAbsolute() const { return CurrentStatistics().totalAbsolute; }

 private:
  void CheckIndex(int index) const;
  void MarkStale() { stale_ = true; }
  struct Statistics {
    double minimum = 0.0;
    double maximum = 0.0;
    double total = 0.0;
    double totalAbsolute = 0.0;
  };
  // The statistics of the values as they are, walked again when stale.
  const Statistics& CurrentStatistics() const;
  double Scaled(double stored) const;

  TChartSeries* owner_;
  std::string name_;
  double multiplier_ = 1.0;
  TChartListOrder order_ = TChartListOrder::loNone;
  bool dateTime_ = false;
  std::string valueSource_;
  double staged_ = 0.0;
  std::vector<double> values_;

  mutable bool stale_ = true;
  mutable Statistics statistics_;
};

}  // namespace tavimo::chart
