// Reading and writing number text, bit for bit as the converter has always done it:
// x87 extended precision, power-of-ten tables, 15 significant digits.
#pragma once

#include <limits>
#include <string>
#include <string_view>

namespace vantrel {

using Extended = long double;
static_assert(std::numeric_limits<Extended>::digits == 64,
              "the number rules need the x87 80-bit extended format");

// The process-wide decimal separator, taken from the user's locale at start-up and
// whenever the locale changes. An empty separator falls back to ".".
void SetDecimalSeparator(std::string separator);
const std::string& DecimalSeparator();

// False when the text is not a number; value is then left unspecified.
bool TryReadNumber(std::string_view text, Extended& value);
// Raises EConvertError "'<text>' is not a valid floating point value".
Extended ReadNumber(std::string_view text);
// General format, 15 significant digits, no thousands separators.
std::string FormatNumber(Extended value);

// The input field's typed-character filter: digits, ".", "-", "E", "e" and Backspace.
bool IsAcceptedInputChar(char32_t typed);

}  // namespace vantrel
