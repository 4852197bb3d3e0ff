// Kelvora's rule: a temperature typed on one scale, written on all three with the
// converter's own number text (TryReadNumber, FormatNumber, 15 significant digits).
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace vantrel {

enum class TemperatureScale { Celsius = 0, Fahrenheit = 1, Kelvin = 2 };

// Shown in a field whose value does not fit a double.
inline constexpr const char kOutOfRangeText[] = "超出范围";
// Notes for the window's status line.
inline constexpr const char kBelowAbsoluteZeroNote[] = "低于绝对零度";
inline constexpr const char kOutOfRangeNote[] = "数值超出范围";

struct TemperatureTexts {
  // Indexed by TemperatureScale; the typed scale holds the input unchanged.
  std::array<std::string, 3> texts;
  // Empty, kBelowAbsoluteZeroNote or kOutOfRangeNote.
  std::string note;

  const std::string& operator[](TemperatureScale scale) const {
    return texts[static_cast<std::size_t>(scale)];
  }
};

// Empty or blank input empties the other two; text that is not a number gives
// kInvalidInputText in them. Values below absolute zero are still converted and get
// the note. Never throws but for lack of memory.
TemperatureTexts ConvertTemperature(TemperatureScale from, std::string_view input);

}  // namespace vantrel
