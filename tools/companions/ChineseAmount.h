// Munsett's rule: an amount of money written in Chinese capital numerals, the way
// vouchers and cheques write it.
#pragma once

#include <string>
#include <string_view>

namespace vantrel {

enum class AmountStatus {
  Ok,               // text holds the capitals
  Empty,            // nothing typed: no result, no message
  Illegal,          // not an amount
  TooManyDecimals,  // a non-zero digit below 分
  TooLarge,         // 10^12 or more
};

struct AmountText {
  AmountStatus status = AmountStatus::Empty;
  std::string text;  // the capitals when status is Ok, else empty
};

// Largest amount written: 999999999999.99.
inline constexpr int kMaxIntegerDigits = 12;

// input: optional sign, digits, optionally "." and at most two decimals (further
// decimals are accepted only when they are zeros); blanks around it are ignored.
// The digits are taken as text, never through a binary fraction.
AmountText AmountInCapitals(std::string_view input);

// What the window shows for a status other than Ok and Empty.
std::string AmountMessage(AmountStatus status);

}  // namespace vantrel
