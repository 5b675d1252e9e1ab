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

const TChartValueList::Statistics& TChartValueList::CurrentStatistics() const {
  if (!stale_) return statistics_;
  stale_ = false;
  Statistics& s = statistics_;
  s = Statistics();
  if (values_.empty()) return s;
  const double first = Scaled(values_.front());
  s.minimum = s.maximum = first;
  s.total = first;
  s.totalAbsolute = std::fabs(first);
  for (std::size_t i = 1; i < values_.size(); ++i) {
    const double v = Scaled(values_[i]);
    if (v < s.minimum) s.minimum = v;
    else if (v > s.maximum) s.maximum = v;
    s.total += v;
    s.totalAbsolute += std::fabs(v);
  }
  return s;
}

}  // namespace tavimo::chart
