#pragma once
// A value the whole process shares, made on first use, so that it is ready
// for any initialiser that reads it before main.

namespace tavimo {

// The process' one T for Tag. A Tag type declared inside a .cpp file keeps
// the value private to that file; its functions are the only way to it.
template <class T, class Tag>
T& ProcessWide() {
  static T value;
  return value;
}

}  // namespace tavimo
