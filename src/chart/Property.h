#pragma once
// The chart's settings: a getter and a setter that stores a value only when it
// differs from the one held, and repaints only then. A class with settings
// has a Changed() that asks for the repaint.

#include <type_traits>
#include <utility>

namespace tavimo::chart {

// Assigns value to field when they differ; true when it did.
template <class T, class U>
bool AssignIfChanged(T& field, U&& value) {
  if (field == value) return false;
  field = std::forward<U>(value);
  return true;
}

// How a setting of type T is read and passed: scalars by value, the rest by
// const reference.
template <class T>
using SettingRef = std::conditional_t<std::is_scalar_v<T>, T, const T&>;

}  // namespace tavimo::chart

// Declares Name() and SetName(v) over member inside a class body: the setter
// stores v and calls Changed() only when v differs from the value held.
#define TAVIMO_CHART_SETTING(Type, Name, member)                               \
  ::tavimo::chart::SettingRef<Type> Name() const { return member; }            \
  void Set##Name(::tavimo::chart::SettingRef<Type> value) {                    \
    if (::tavimo::chart::AssignIfChanged(member, value)) Changed();            \
  }

// The same for a setter the class defines itself, because it checks the value
// or changes more than the member: declares Name() and SetName(value).
#define TAVIMO_CHART_SETTING_DECLARED(Type, Name, member)                      \
  ::tavimo::chart::SettingRef<Type> Name() const { return member; }            \
  void Set##Name(::tavimo::chart::SettingRef<Type> value);
