// Floating-point environment helpers for the number rules. The rules compute in x87
// extended precision only, so the x87 control and status words are the whole state.
#pragma once

#include <cfenv>
#include <cstdint>

namespace vantrel {

// Masks every floating-point exception, rounds to nearest in extended precision and
// starts with clear error flags for the scope's lifetime, then puts the caller's state
// back. The common case (default control word, no error flags pending) costs a few
// instructions; only an unusual caller state goes through the full save and restore.
class QuietFloatScope {
 public:
  QuietFloatScope() {
    std::uint16_t control = 0;
    std::uint16_t status = 0;
    // The memory clobber keeps loads that feed the scope's arithmetic after this point;
    // values already in registers are pinned by KeepInOrder inside the scope.
    asm volatile("fnstcw %0" : "=m"(control) : : "memory");
    asm volatile("fnstsw %0" : "=am"(status) : : "memory");
    if ((control & kControlMask) != kDefaultControl || (status & kErrorFlags) != 0) {
      full_ = true;
      std::fegetenv(&saved_);
      std::uint16_t quiet = static_cast<std::uint16_t>((control & ~kControlMask) | kDefaultControl);
      asm volatile("fnclex");
      asm volatile("fldcw %0" : : "m"(quiet));
    }
  }
  ~QuietFloatScope() {
    if (full_) {
      std::fesetenv(&saved_);
    } else if (Raised(kErrorFlags)) {
      asm volatile("fnclex");
    }
  }
  QuietFloatScope(const QuietFloatScope&) = delete;
  QuietFloatScope& operator=(const QuietFloatScope&) = delete;

  // flags are FE_INVALID, FE_DIVBYZERO, FE_OVERFLOW...: the x87 status bits themselves.
  bool Raised(int flags) const {
    std::uint16_t status = 0;
    asm volatile("fnstsw %0" : "=am"(status));
    return (status & flags) != 0;
  }

 private:
  static constexpr std::uint16_t kControlMask = 0x0F3F;     // rounding, precision, masks
  static constexpr std::uint16_t kDefaultControl = 0x033F;  // nearest, extended, all masked
  // Invalid, division by zero, overflow: the flags the rules read. Inexact, underflow
  // and denormal flags are never read, so they may stay set and cost nothing.
  static constexpr std::uint16_t kErrorFlags = 0x000D;
  bool full_ = false;
  std::fenv_t saved_{};
};

// Forces the value to exist before the next statement, so the compiler cannot move the
// arithmetic that produced it past a flag test.
template <typename T>
inline void KeepInOrder(T& value) {
  asm volatile("" : "+m"(value));
}

// Rounds to an integer in the current rounding mode (nearest, ties to even), without
// the library's environment save and restore.
inline long double RoundToInteger(long double value) {
  asm("frndint" : "+t"(value));
  return value;
}

}  // namespace vantrel
