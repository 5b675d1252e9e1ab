#pragma once
// The string form of a writer that appends to a caller's string, so that each
// text has one writer and the string-returning form comes with it.

#include <string>
#include <type_traits>

namespace tavimo {

// What append(out, args...) appends to an empty string.
template <class... Args>
std::string AppendedText(void (*append)(std::string&, Args...), std::type_identity_t<Args>... args) {
  std::string out;
  append(out, args...);
  return out;
}

}  // namespace tavimo
