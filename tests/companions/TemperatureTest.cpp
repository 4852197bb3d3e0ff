#include <gtest/gtest.h>

#include <ostream>

#include "conversion/ConvertText.h"
#include "tools/companions/Temperature.h"

namespace vantrel {
namespace {

constexpr auto C = TemperatureScale::Celsius;
constexpr auto F = TemperatureScale::Fahrenheit;
constexpr auto K = TemperatureScale::Kelvin;

struct Case {
  TemperatureScale from;
  const char* input;
  const char* celsius;
  const char* fahrenheit;
  const char* kelvin;
  const char* note;
};

std::ostream& operator<<(std::ostream& out, const Case& c) {
  return out << "scale " << static_cast<int>(c.from) << " input '" << c.input << "'";
}

class TemperatureCases : public testing::TestWithParam<Case> {};

TEST_P(TemperatureCases, FillsTheOtherTwoFields) {
  const Case& c = GetParam();
  const TemperatureTexts result = ConvertTemperature(c.from, c.input);
  EXPECT_EQ(result[C], c.celsius);
  EXPECT_EQ(result[F], c.fahrenheit);
  EXPECT_EQ(result[K], c.kelvin);
  EXPECT_EQ(result.note, c.note);
}

const char* const kIll = kInvalidInputText;
const char* const kBelow = kBelowAbsoluteZeroNote;

INSTANTIATE_TEST_SUITE_P(
    Table, TemperatureCases,
    testing::Values(
        // The fixed points, from every side.
        Case{C, "100", "100", "212", "373.15", ""}, Case{F, "212", "100", "212", "373.15", ""},
        Case{K, "373.15", "100", "212", "373.15", ""}, Case{C, "0", "0", "32", "273.15", ""},
        Case{F, "32", "0", "32", "273.15", ""}, Case{C, "-40", "-40", "-40", "233.15", ""},
        Case{F, "-40", "-40", "-40", "233.15", ""},
        // Absolute zero lands on exactly 0 K whichever way it is typed.
        Case{K, "0", "-273.15", "-459.67", "0", ""},
        Case{C, "-273.15", "-273.15", "-459.67", "0", ""},
        Case{F, "-459.67", "-273.15", "-459.67", "0", ""},
        Case{C, "-2.7315e2", "-2.7315e2", "-459.67", "0", ""},
        Case{K, "-0", "-273.15", "-459.67", "-0", ""},
        // Fractions come out without binary noise, to 15 significant digits.
        Case{C, "37", "37", "98.6", "310.15", ""}, Case{F, "98.6", "37", "98.6", "310.15", ""},
        Case{C, "36.6", "36.6", "97.88", "309.75", ""},
        Case{C, "0.1", "0.1", "32.18", "273.25", ""},
        Case{F, "0", "-17.7777777777778", "0", "255.372222222222", ""},
        Case{F, "1", "-17.2222222222222", "1", "255.927777777778", ""},
        Case{K, "1", "-272.15", "-457.87", "1", ""}, Case{C, "1e-20", "1e-20", "32", "273.15", ""},
        // Below absolute zero: converted, with the note.
        Case{C, "-273.16", "-273.16", "-459.688", "-0.01", kBelow},
        Case{F, "-500", "-295.555555555556", "-500", "-22.4055555555556", kBelow},
        Case{K, "-1", "-274.15", "-461.47", "-1", kBelow},
        // Extremes: still a double, then no longer one.
        Case{C, "1e300", "1e300", "1.8E300", "1E300", ""},
        Case{C, "1e308", "1e308", kOutOfRangeText, "1E308", kOutOfRangeNote},
        Case{C, "-1e400", "-1e400", kOutOfRangeText, kOutOfRangeText, kOutOfRangeNote},
        Case{C, "1e4932", "1e4932", kOutOfRangeText, kOutOfRangeText, kOutOfRangeNote},
        // The number text rules of the converter: blanks, signs, a lone separator.
        Case{C, " \t25 ", " \t25 ", "77", "298.15", ""}, Case{C, "+5", "+5", "41", "278.15", ""},
        Case{C, ".", ".", "32", "273.15", ""}, Case{C, "1E", "1E", "33.8", "274.15", ""},
        // Not a number; nothing typed.
        Case{C, "abc", "abc", kIll, kIll, ""}, Case{F, "1,5", kIll, "1,5", kIll, ""},
        Case{K, "5 5", kIll, kIll, "5 5", ""}, Case{C, "-", "-", kIll, kIll, ""},
        Case{C, "1e5000", "1e5000", kIll, kIll, ""}, Case{C, "℃", "℃", kIll, kIll, ""},
        Case{F, "", "", "", "", ""}, Case{K, "   ", "", "", "   ", ""}));

}  // namespace
}  // namespace vantrel
