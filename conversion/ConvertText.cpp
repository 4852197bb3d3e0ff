#include "conversion/ConvertText.h"

#include <functional>

#include "conversion/CheckedMath.h"
#include "conversion/Errors.h"
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

double RatioAt(const std::vector<std::string>& ratioTexts, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= ratioTexts.size()) {
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  }
  return RoundToDouble(ReadNumber(ratioTexts[static_cast<std::size_t>(index)]));
}

}  // namespace

std::string ConvertText(std::string_view input, const std::vector<std::string>& ratioTexts,
                        int fromIndex, int toIndex) {
  const std::string_view trimmed = Trim(input);
  if (trimmed.empty()) return std::string();
  Extended value = 0.0L;
  if (!TryReadNumber(trimmed, value)) return kInvalidInputText;

  const double fromRatio = RatioAt(ratioTexts, fromIndex);
  const double toRatio = RatioAt(ratioTexts, toIndex);
  const Extended product = Checked(value, fromRatio, std::multiplies<Extended>());
  const double result = RoundToDouble(Checked(product, toRatio, std::divides<Extended>()));
  return FormatNumber(result);
}

}  // namespace vantrel
