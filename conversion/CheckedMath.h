// Extended-precision arithmetic that reports its faults as errors, the first fault
// deciding, as a trapping FPU would: EInvalidOp, EZeroDivide or EOverflow. Underflow
// is no error. The operands are pinned inside each flag scope: otherwise the compiler
// may do the arithmetic before the scope clears the flags, and its fault would go
// unseen.
#pragma once

#include <cfenv>

#include "conversion/Errors.h"
#include "conversion/FloatEnv.h"
#include "conversion/NumberText.h"

namespace vantrel {

inline void RaiseOnFault(const QuietFloatScope& fpu) {
  if (fpu.Raised(FE_INVALID)) throw EInvalidOp("Invalid floating point operation");
  if (fpu.Raised(FE_DIVBYZERO)) throw EZeroDivide("Floating point division by zero");
  if (fpu.Raised(FE_OVERFLOW)) throw EOverflow("Floating point overflow");
}

// An extended value rounded to a double; too large for a double is an overflow.
inline double RoundToDouble(Extended value) {
  QuietFloatScope fpu;
  KeepInOrder(value);
  double rounded = static_cast<double>(value);
  KeepInOrder(rounded);
  RaiseOnFault(fpu);
  return rounded;
}

// One step of extended arithmetic, its fault raised before any later step can add its own.
template <typename Op>
Extended Checked(Extended a, Extended b, Op op) {
  QuietFloatScope fpu;
  KeepInOrder(a);
  KeepInOrder(b);
  Extended result = op(a, b);
  KeepInOrder(result);
  RaiseOnFault(fpu);
  return result;
}

}  // namespace vantrel
