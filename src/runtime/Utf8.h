#pragma once
// Character stepping over UTF-8 text, the one rule every reader of our text
// uses: a well-formed sequence (shortest form, no surrogate, at most
// U+10FFFF) is one character of 2 to 4 bytes; every other byte above 0x7F (a
// stray continuation byte, a truncated or malformed sequence, an overlong
// form, a surrogate such as ED A0 80, a value beyond F4 8F BF BF) is one
// character of its own, so ED A0 80 steps as three characters.

#include <cstddef>
#include <string_view>

namespace tavimo {

// Byte length of the character starting at `at` (< text.size()): 2 to 4 for
// a well-formed multi-byte sequence, otherwise 1.
std::size_t CharacterLength(std::string_view text, std::size_t at);

}  // namespace tavimo
