#pragma once
// The x87 control word and exception flags, read without changing them: the
// conversions must leave both exactly as the caller had them.

#include <cstdint>

namespace tavimo::fuzz {

struct X87State {
  std::uint16_t control = 0;
  std::uint16_t flags = 0;  // the six exception flags
  friend bool operator==(const X87State&, const X87State&) = default;
};

inline X87State ReadX87State() {
  X87State state;
  std::uint16_t status = 0;
  asm volatile("fnstcw %0" : "=m"(state.control)::"memory");
  asm volatile("fnstsw %0" : "=m"(status)::"memory");
  state.flags = status & 0x3F;
  return state;
}

}  // namespace tavimo::fuzz
