// The conversion rule: input text and the ratio texts of the current category's units
// in, result text out.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

// Shown in the result field when the input is not a number.
inline constexpr const char kInvalidInputText[] = "含有非法字符!";

// fromIndex/toIndex are list positions, -1 for a list without selection. Raises
// EListError, EConvertError, EOverflow, EZeroDivide or EInvalidOp; nothing else changes.
std::string ConvertText(std::string_view input, const std::vector<std::string>& ratioTexts,
                        int fromIndex, int toIndex);

}  // namespace vantrel
