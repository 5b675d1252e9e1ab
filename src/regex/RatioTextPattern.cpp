#include "regex/RatioTextPattern.h"

#include "regex/RegExMatcher.h"

namespace tavimo {

bool RatioTextHasForbiddenCharacter(std::string_view text) {
  TRegExMatcher matcher;
  matcher.SetSubject(text);
  matcher.SetRegEx(kRatioTextForbiddenPattern);
  return matcher.Match();
}

}  // namespace tavimo
