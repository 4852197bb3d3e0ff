#include "conversion/ConvertText.h"

#include <cfenv>

#include "conversion/Errors.h"
#include "conversion/FloatEnv.h"
#include "conversion/NumberText.h"

namespace vantrel {

namespace {

bool IsBlank(char c) {
  return static_cast<unsigned char>(c) <= 32;
}

std::string_view Trim(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

// The first arithmetic fault decides the error, as a trapping FPU would report it.
void RaiseOnFault(const QuietFloatScope& fpu) {
  if (fpu.Raised(FE_INVALID)) throw EInvalidOp("Invalid floating point operation");
  if (fpu.Raised(FE_DIVBYZERO)) throw EZeroDivide("Floating point division by zero");
  if (fpu.Raised(FE_OVERFLOW)) throw EOverflow("Floating point overflow");
}

double RatioAt(const std::vector<std::string>& ratioTexts, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= ratioTexts.size()) {
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  }
  Extended ratio = ReadNumber(ratioTexts[static_cast<std::size_t>(index)]);
  QuietFloatScope fpu;
  KeepInOrder(ratio);
  double rounded = static_cast<double>(ratio);
  KeepInOrder(rounded);
  RaiseOnFault(fpu);
  return rounded;
}

}  // namespace

std::string ConvertText(std::string_view input, const std::vector<std::string>& ratioTexts,
                        int fromIndex, int toIndex) {
  const std::string_view trimmed = Trim(input);
  if (trimmed.empty()) return std::string();
  Extended value = 0.0L;
  if (!TryReadNumber(trimmed, value)) return kInvalidInputText;

  double fromRatio = RatioAt(ratioTexts, fromIndex);
  double toRatio = RatioAt(ratioTexts, toIndex);

  double result = 0.0;
  {
    QuietFloatScope fpu;
    // The operands enter the scope through memory, so no step can run before it.
    KeepInOrder(value);
    KeepInOrder(fromRatio);
    KeepInOrder(toRatio);
    Extended product = value * static_cast<Extended>(fromRatio);
    KeepInOrder(product);
    RaiseOnFault(fpu);
    Extended quotient = product / static_cast<Extended>(toRatio);
    KeepInOrder(quotient);
    RaiseOnFault(fpu);
    result = static_cast<double>(quotient);
    KeepInOrder(result);
    RaiseOnFault(fpu);
  }
  return FormatNumber(result);
}

}  // namespace vantrel
