#pragma once
// The x87 control word and exception flags, read without changing them: the
// conversions must leave both exactly as the caller had them.

#include <array>
#include <cstddef>
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

// Sets the exception flags as a caller's earlier arithmetic would have left
// them (every exception stays masked, so nothing traps).
inline void SetX87Flags(std::uint16_t flags) {
  struct {
    std::uint16_t control, pad0, status, pad1;
    std::uint32_t rest[5];
  } environment;
  asm volatile("fnstenv %0" : "=m"(environment)::"memory");
  environment.status = static_cast<std::uint16_t>((environment.status & ~0x00FF) | (flags & 0x3F));
  asm volatile("fldenv %0" ::"m"(environment) : "memory");
}

// The caller states each conversion is tried from: no flags, and a set
// drawn from the input's bytes, so that every combination gets its turn and
// a failing input still reproduces.
inline std::array<std::uint16_t, 2> CallerFlags(const std::uint8_t* data, std::size_t size) {
  std::uint32_t hash = 2166136261u;
  for (std::size_t i = 0; i < size; ++i) hash = (hash ^ data[i]) * 16777619u;
  return {0x00, static_cast<std::uint16_t>((hash ^ (hash >> 6) ^ (hash >> 12)) & 0x3F)};
}

}  // namespace tavimo::fuzz
