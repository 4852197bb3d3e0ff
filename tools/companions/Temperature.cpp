#include "tools/companions/Temperature.h"

#include <cmath>

#include "conversion/ConvertText.h"
#include "conversion/FloatEnv.h"
#include "conversion/NumberText.h"

namespace vantrel {
namespace {

// The offsets as the reading rule reads them ("273.15" is 27315 / 100, rounded once),
// so that a typed -273.15 ℃ or -459.67 ℉ lands on exactly 0 K.
constexpr Extended kKelvinAtZeroCelsius = 273.15L;
constexpr Extended kRankineAtZeroFahrenheit = 459.67L;

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
  return text;
}

struct Temperatures {
  Extended celsius;
  Extended fahrenheit;
  Extended kelvin;
};

// The other two scales come straight from the typed value, multiplying before dividing
// so that whole inputs meet a single rounding: F = (9C + 160) / 5 rather
// than C × 1.8 + 32, whose 1.8 is already inexact.
Temperatures FromCelsius(Extended c) {
  return {c, (c * 9 + 160) / 5, c + kKelvinAtZeroCelsius};
}
Temperatures FromFahrenheit(Extended f) {
  return {(f - 32) * 5 / 9, f, (f + kRankineAtZeroFahrenheit) * 5 / 9};
}
Temperatures FromKelvin(Extended k) {
  return {k - kKelvinAtZeroCelsius, k * 9 / 5 - kRankineAtZeroFahrenheit, k};
}

}  // namespace

TemperatureTexts ConvertTemperature(TemperatureScale from, std::string_view input) {
  TemperatureTexts result;
  const auto source = static_cast<std::size_t>(from);
  result.texts[source] = std::string(input);

  const std::string_view text = Trimmed(input);
  Extended value = 0;
  std::string other;
  if (!text.empty() && !TryReadNumber(text, value)) other = kInvalidInputText;
  if (text.empty() || !other.empty()) {
    for (std::size_t k = 0; k < result.texts.size(); ++k)
      if (k != source) result.texts[k] = other;
    return result;
  }

  QuietFloatScope quiet;
  Temperatures all{};
  switch (from) {
    case TemperatureScale::Celsius:
      all = FromCelsius(value);
      break;
    case TemperatureScale::Fahrenheit:
      all = FromFahrenheit(value);
      break;
    case TemperatureScale::Kelvin:
      all = FromKelvin(value);
      break;
  }
  const Extended values[3] = {all.celsius, all.fahrenheit, all.kelvin};
  bool outOfRange = false;
  for (std::size_t k = 0; k < result.texts.size(); ++k) {
    if (k == source) continue;
    // Rounded once to a double, as every result of the converter is.
    const double rounded = static_cast<double>(values[k]);
    if (std::isfinite(rounded)) {
      result.texts[k] = FormatNumber(rounded);
    } else {
      result.texts[k] = kOutOfRangeText;
      outOfRange = true;
    }
  }
  if (outOfRange)
    result.note = kOutOfRangeNote;
  else if (all.kelvin < 0)
    result.note = kBelowAbsoluteZeroNote;
  return result;
}

}  // namespace vantrel
