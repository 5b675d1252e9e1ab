#pragma once
// The check the settings command applies to a typed ratio list: only digits
// and the separators a ratio list may hold are allowed.

#include <string_view>

namespace tavimo {

// One negated class; the further '^' characters and the escaped '.', ',' and
// '/' are literal members.
inline constexpr std::string_view kRatioTextForbiddenPattern = "[^0-9^\\.^\\,^\\/]+";

// True when text holds a byte other than 0-9, '^', '.', ',' and '/'.
bool RatioTextHasForbiddenCharacter(std::string_view text);

}  // namespace tavimo
