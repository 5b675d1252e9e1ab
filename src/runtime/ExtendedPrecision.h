#pragma once
// A scope in which x87 arithmetic runs with nearest rounding, a 64-bit
// significand and every exception masked, whatever the caller had set. On
// leaving, the caller's control word and exception flags are put back, so a
// conversion leaves no trace in the floating-point state.

#include <cstdint>

namespace tavimo::detail {

class ExtendedPrecisionScope {
 public:
  ExtendedPrecisionScope() {
    asm volatile("fnstcw %0" : "=m"(savedControl_)::"memory");
    asm volatile("fnstsw %0" : "=m"(savedStatus_)::"memory");
    // Precision control 11 (64 bits), rounding control 00 (nearest), masks set.
    const std::uint16_t wanted = static_cast<std::uint16_t>((savedControl_ & ~0x0F3F) | 0x033F);
    changedControl_ = wanted != savedControl_;
    if (changedControl_) asm volatile("fldcw %0" ::"m"(wanted) : "memory");
  }
  ExtendedPrecisionScope(const ExtendedPrecisionScope&) = delete;
  ExtendedPrecisionScope& operator=(const ExtendedPrecisionScope&) = delete;

  // Restores the caller's state once `result` has been computed; the operand
  // keeps the compiler from moving the arithmetic past the restore.
  // `onlyInexact` says the computation can have raised no flag but inexact
  // (no overflow, no invalid operation, no tiny result); when the caller's
  // inexact flag is already set, its flags then stand as they were and
  // reading the status word again can be skipped.
  template <typename T>
  void Leave(const T& result, bool onlyInexact = false) {
    asm volatile("" ::"m"(result) : "memory");
    if (onlyInexact && (savedStatus_ & kInexactFlag) != 0) {
      left_ = true;
      if (changedControl_) asm volatile("fldcw %0" ::"m"(savedControl_) : "memory");
      return;
    }
    Restore();
  }

  ~ExtendedPrecisionScope() { Restore(); }

 private:
  static constexpr std::uint16_t kFlagBits = 0xFF;  // exception flags, stack fault, summary
  static constexpr std::uint16_t kInexactFlag = 0x20;

  void Restore() {
    if (left_) return;
    left_ = true;
    if ((savedStatus_ & kFlagBits) == 0) {
      // The caller had no flags: clearing is cheaper than looking first.
      asm volatile("fnclex" ::: "memory");
    } else {
      std::uint16_t status;
      asm volatile("fnstsw %0" : "=m"(status)::"memory");
      if ((status & kFlagBits) != (savedStatus_ & kFlagBits)) {
        // Rare: the caller had flags of its own; put back exactly those.
        struct {
          std::uint16_t control, pad0, status, pad1;
          std::uint32_t rest[5];
        } env;
        asm volatile("fnstenv %0" : "=m"(env)::"memory");
        env.control = savedControl_;
        env.status = static_cast<std::uint16_t>((env.status & ~kFlagBits) | (savedStatus_ & kFlagBits));
        asm volatile("fldenv %0" ::"m"(env) : "memory");
        return;
      }
    }
    if (changedControl_) asm volatile("fldcw %0" ::"m"(savedControl_) : "memory");
  }

  std::uint16_t savedControl_ = 0;
  std::uint16_t savedStatus_ = 0;
  bool changedControl_ = false;
  bool left_ = false;
};

}  // namespace tavimo::detail
