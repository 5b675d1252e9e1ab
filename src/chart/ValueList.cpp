#include "chart/ValueList.h"

#include <cmath>

#include "chart/Series.h"
#include "runtime/Exceptions.h"
#include "runtime/Messages.h"

namespace tavimo::chart {

TChartValueList::TChartValueList(TChartSeries* owner, std::string name)
    : owner_(owner), name_(std::move(name)) {}

void TChartValueList::SetMultiplier(double multiplier) {
  if (multiplier == multiplier_) return;
  multiplier_ = multiplier;
  MarkStale();
  if (owner_ != nullptr) owner_->RequestRepaint();
}

double TChartValueList::Scaled(double stored) const {
  // The product is formed in extended precision and stored as a double.
  return static_cast<double>(static_cast<long double>(stored) * multiplier_);
}

void TChartValueList::CheckIndex(int index) const {
  if (index < 0 || index >= ValueCount())
    throw EListError(messages::FormatMessage(messages::kListIndex, static_cast<long long>(index)));
}

int TChartValueList::InsertOrdered(double value) {
  const int n = ValueCount();
  int at = n;
  if (order_ != TChartListOrder::loNone && n > 0) {
    if (order_ == TChartListOrder::loAscending) {
      if (value < values_.back()) {
        int t = n - 1;
        while (t >= 0 && values_[static_cast<std::size_t>(t)] > value) --t;
        at = t + 1;
      }
    } else if (value > values_.back()) {
      int t = n - 1;
      while (t >= 0 && values_[static_cast<std::size_t>(t)] < value) --t;
      at = t + 1;
    }
  }
  values_.insert(values_.begin() + at, value);
  MarkStale();
  return at;
}

void TChartValueList::InsertAt(int index, double value) {
  if (index < 0 || index > ValueCount())
    throw EListError(messages::FormatMessage(messages::kListIndex, static_cast<long long>(index)));
  values_.insert(values_.begin() + index, value);
  MarkStale();
}

double TChartValueList::ValueAt(int index) const {
  CheckIndex(index);
  return Scaled(values_[static_cast<std::size_t>(index)]);
}

void TChartValueList::SetValueAt(int index, double value) {
  CheckIndex(index);
  values_[static_cast<std::size_t>(index)] = value;
  MarkStale();
}

void TChartValueList::RemoveAll() {
  values_.clear();
  MarkStale();
}

void TChartValueList::RecalcStatistics() const {
  stale_ = false;
  minimum_ = maximum_ = total_ = totalAbsolute_ = 0.0;
  if (values_.empty()) return;
  const double first = Scaled(values_.front());
  minimum_ = maximum_ = first;
  total_ = first;
  totalAbsolute_ = std::fabs(first);
  for (std::size_t i = 1; i < values_.size(); ++i) {
    const double v = Scaled(values_[i]);
    if (v < minimum_) minimum_ = v;
    else if (v > maximum_) maximum_ = v;
    total_ += v;
    totalAbsolute_ += std::fabs(v);
  }
}

double TChartValueList::MinimumValue() const {
  if (stale_) RecalcStatistics();
  return minimum_;
}

double TChartValueList::MaximumValue() const {
  if (stale_) RecalcStatistics();
  return maximum_;
}

double TChartValueList::TotalValue() const {
  if (stale_) RecalcStatistics();
  return total_;
}

double TChartValueList::TotalAbsolute() const {
  if (stale_) RecalcStatistics();
  return totalAbsolute_;
}

}  // namespace tavimo::chart
