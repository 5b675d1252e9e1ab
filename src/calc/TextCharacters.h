#pragma once
// Character stepping over UTF-8 text, where a malformed byte counts as one
// character of its own.

#include <cstddef>
#include <string_view>

namespace tavimo {

// Byte length of the character starting at `at` (< text.size()): 2 to 4 for
// a well-formed multi-byte sequence, otherwise 1.
std::size_t CharacterLength(std::string_view text, std::size_t at);

}  // namespace tavimo
