#pragma once
// The pattern matcher's message texts. "%d" and "%s" are filled where the
// error is raised.

#include <string_view>

namespace tavimo::messages {

inline constexpr std::string_view kRegExMissing =
    "TRegExMatcher.Compile() - Please specify a regular expression in RegEx first";
inline constexpr std::string_view kRegExCompileError = "TRegExMatcher.Compile() - Error in regex at offset %d: %s";

}  // namespace tavimo::messages
