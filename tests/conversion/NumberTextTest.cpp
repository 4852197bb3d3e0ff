#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <string>
#include <vector>

#include "conversion/ConvertText.h"
#include "conversion/Errors.h"
#include "conversion/NumberText.h"

namespace vantrel {
namespace {

// The table is written for "."; under "," the two characters swap roles.
std::string WithSeparator(std::string text, const std::string& separator) {
  if (separator == ".") return text;
  for (char& c : text) {
    if (c == '.') {
      c = ',';
    } else if (c == ',') {
      c = '.';
    }
  }
  return text;
}

struct SeparatorScope {
  explicit SeparatorScope(const std::string& s) { SetDecimalSeparator(s); }
  ~SeparatorScope() { SetDecimalSeparator("."); }
};

struct ConversionCase {
  const char* input;
  const char* from;
  const char* to;
  const char* result;  // nullptr: the input is not a number
};

const ConversionCase kConversions[] = {
    {"5", "1000", "1", "5000"},
    {"1", "1", "1000", "0.001"},
    {"1", "1", "3", "0.333333333333333"},
    {"2", "1", "3", "0.666666666666667"},
    {"3", "0.333333333333333", "1", "0.999999999999999"},
    {"100", "0.0254", "0.3048", "8.33333333333333"},
    {"1", "1", "0.45359237", "2.20462262184878"},
    {"123456.7", "1", "0.001", "123456700"},
    {"1234567890123456", "1", "1", "1.23456789012346E15"},
    {"1e14", "1", "1", "100000000000000"},
    {"1e15", "1", "1", "1E15"},
    {"999999999999999.5", "1", "1", "1E15"},
    {"0.0001", "1", "1", "0.0001"},
    {"0.00001", "1", "1", "1E-5"},
    {"-1e-5", "1", "1", "-1E-5"},
    {"1.5e-7", "1", "1", "1.5E-7"},
    {"1", "1", "1E20", "1E-20"},
    {"-2.5", "1", "1", "-2.5"},
    {"-1", "1000", "1", "-1000"},
    {"-0", "1", "1", "0"},
    {".", "1", "1", "0"},
    {"-.", "1", "1", "0"},
    {"1E", "1", "1", "1"},
    {"1e+", "1", "1", "1"},
    {"1e007", "1", "1", "10000000"},
    {"+5", "1", "1", "5"},
    {"\t7 \n", "1", "1", "7"},
    {"  5  ", "2", "1", "10"},
    {"1e-400", "1", "1", "0"},
    {"1,5", "1", "1", nullptr},
    {"5 5", "1", "1", nullptr},
    {"abc", "1", "1", nullptr},
    {"-", "1", "1", nullptr},
    {"+", "1", "1", nullptr},
    {"e5", "1", "1", nullptr},
    {"1.2.3", "1", "1", nullptr},
    {"1e5000", "1", "1", nullptr},
    {"1e4933", "1", "1", nullptr},
    {"1e 5", "1", "1", nullptr},
    {"", "1", "1", ""},
    {"   ", "1", "1", ""},
};

TEST(ConvertText, EveryRowHoldsWithEitherSeparator) {
  for (const std::string separator : {".", ","}) {
    SeparatorScope scope(separator);
    for (const ConversionCase& c : kConversions) {
      const std::string input = WithSeparator(c.input, separator);
      const std::string expected =
          c.result ? WithSeparator(c.result, separator) : std::string(kInvalidInputText);
      const std::vector<std::string> ratios = {WithSeparator(c.from, separator),
                                               WithSeparator(c.to, separator)};
      SCOPED_TRACE("separator '" + separator + "' input '" + input + "'");
      EXPECT_EQ(ConvertText(input, ratios, 0, 1), expected);
    }
  }
}

TEST(ConvertText, SeparatorDecidesWhatIsANumber) {
  SeparatorScope scope(",");
  const std::vector<std::string> ratios = {"1", "1"};
  EXPECT_EQ(ConvertText("1,5", ratios, 0, 1), "1,5");
  EXPECT_EQ(ConvertText("1.5", ratios, 0, 1), kInvalidInputText);
}

TEST(ConvertText, ArithmeticFaultsRaiseTheirKinds) {
  struct Fault {
    const char* input;
    const char* from;
    const char* to;
    const char* kind;
    const char* message;
  };
  const Fault faults[] = {
      {"1e400", "1", "1", "EOverflow", "Floating point overflow"},
      {"1e4900", "1e300", "1", "EOverflow", "Floating point overflow"},
      {"5", "1", "0", "EZeroDivide", "Floating point division by zero"},
      {"0", "1", "0", "EInvalidOp", "Invalid floating point operation"},
      {"5", "", "1", "EConvertError", "'' is not a valid floating point value"},
  };
  for (const Fault& f : faults) {
    SCOPED_TRACE(f.input);
    try {
      ConvertText(f.input, {f.from, f.to}, 0, 1);
      ADD_FAILURE() << "no error";
    } catch (const Error& e) {
      EXPECT_EQ(e.kind(), f.kind);
      EXPECT_EQ(e.message(), f.message);
    }
  }
}

TEST(ConvertText, PositionsAreCheckedOnlyForNumbers) {
  const std::vector<std::string> none;
  EXPECT_EQ(ConvertText("", none, -1, -1), "");
  EXPECT_EQ(ConvertText("x", none, -1, -1), kInvalidInputText);
  const std::vector<std::pair<int, int>> bad = {{-1, 0}, {0, -1}, {2, 0}, {0, 7}};
  for (auto [from, to] : bad) {
    try {
      ConvertText("1", {"1", "2"}, from, to);
      ADD_FAILURE() << from << "," << to;
    } catch (const Error& e) {
      EXPECT_EQ(e.kind(), "EListError");
      EXPECT_EQ(e.message(),
                "List index out of bounds (" + std::to_string(from != 0 ? from : to) + ")");
    }
  }
}

TEST(ConvertText, LeavesTheFloatingPointStateAsItWas) {
  std::feclearexcept(FE_ALL_EXCEPT);
  std::fesetround(FE_UPWARD);
  EXPECT_EQ(ConvertText("1", {"1", "3"}, 0, 1), "0.333333333333333");
  EXPECT_THROW(ConvertText("1e400", {"1", "1"}, 0, 1), EOverflow);
  EXPECT_EQ(std::fegetround(), FE_UPWARD);
  std::fesetround(FE_TONEAREST);
  EXPECT_EQ(std::fetestexcept(FE_OVERFLOW | FE_INVALID | FE_DIVBYZERO), 0);
}

TEST(FormatNumber, GeneralFormatWithFifteenDigits) {
  const std::pair<Extended, const char*> cases[] = {
      {0.1, "0.1"},
      {123.456, "123.456"},
      {1e21, "1E21"},
      {-0.0L, "0"},
      {1.0 / 3.0, "0.333333333333333"},
      {2.0 / 3.0, "0.666666666666667"},
      {1e15, "1E15"},
      {1e-4, "0.0001"},
      {1.5e-5, "1.5E-5"},
      {-1234.5, "-1234.5"},
      {9.99999999999999e-5, "9.99999999999999E-5"},
      {0.99999999999999995, "1"},
      {1e300, "1E300"},
      {4.9406564584124654e-324, "4.94065645841247E-324"},
      {1.7976931348623157e308, "1.79769313486232E308"},
      {1e-4000L, "1E-4000"},
      {5e-4951L, "3.64519953188247E-4951"},  // the smallest extended denormal
  };
  for (auto [value, text] : cases) {
    EXPECT_EQ(FormatNumber(value), text);
  }
  SeparatorScope scope(",");
  EXPECT_EQ(FormatNumber(-2.5), "-2,5");
  EXPECT_EQ(FormatNumber(1.5e-7), "1,5E-7");
}

TEST(ReadNumber, ReadsBitForBit) {
  // Digits accumulate in extended precision and scale through the power tables.
  const std::pair<const char*, Extended> cases[] = {
      {"0.1", 0.1L},
      {"1e-400", 1e-400L},
      {"1844674407370955161.5", 1844674407370955161.5L},  // all 20 digits count
      {"4.9406564584124654e-324", 4.9406564584124654e-324L},
  };
  for (auto [text, expected] : cases) {
    EXPECT_EQ(ReadNumber(text), expected) << text;
  }
  EXPECT_TRUE(std::signbit(ReadNumber("-0")));
  EXPECT_TRUE(std::signbit(ReadNumber("-.")));
  try {
    ReadNumber("abc");
    ADD_FAILURE();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.kind(), "EConvertError");
    EXPECT_EQ(e.message(), "'abc' is not a valid floating point value");
  }
}

TEST(ReadNumber, SpacesAndOtherBlanks) {
  Extended v = 0;
  EXPECT_TRUE(TryReadNumber("  12  ", v));
  EXPECT_EQ(v, 12.0L);
  EXPECT_FALSE(TryReadNumber("\t12", v));  // only the space is skipped when reading
  EXPECT_FALSE(TryReadNumber("", v));
  EXPECT_TRUE(TryReadNumber("1e499", v));
  EXPECT_TRUE(TryReadNumber("1e-4999", v));
  EXPECT_EQ(v, 0.0L);
  EXPECT_TRUE(TryReadNumber("0." + std::string(6000, '0') + "1", v));
  EXPECT_EQ(v, 0.0L);
  EXPECT_FALSE(TryReadNumber("1" + std::string(5000, '0'), v));
}

TEST(InputFilter, AcceptsOnlyNumberCharacters) {
  for (char32_t c : std::u32string(U"0123456789.-Ee\b")) EXPECT_TRUE(IsAcceptedInputChar(c));
  for (char32_t c : std::u32string(U"+, \r\n\tx/中\x1b")) EXPECT_FALSE(IsAcceptedInputChar(c));
}

}  // namespace
}  // namespace vantrel
