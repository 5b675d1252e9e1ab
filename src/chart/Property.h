#pragma once
// The setters of the chart's settings store a value only when it differs from
// the one held, and repaint only then: if (AssignIfChanged(field_, v)) Changed();

#include <utility>

namespace tavimo::chart {

// Assigns value to field when they differ; true when it did.
template <class T, class U>
bool AssignIfChanged(T& field, U&& value) {
  if (field == value) return false;
  field = std::forward<U>(value);
  return true;
}

}  // namespace tavimo::chart
