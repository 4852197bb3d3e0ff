#include <gtest/gtest.h>

#include <ostream>

#include "tools/companions/ChineseAmount.h"

namespace vantrel {
namespace {

struct Case {
  const char* input;
  AmountStatus status;
  const char* text;
};

std::ostream& operator<<(std::ostream& out, const Case& c) {
  return out << "'" << c.input << "'";
}

class AmountCases : public testing::TestWithParam<Case> {};

TEST_P(AmountCases, WritesTheCapitalsOrRefuses) {
  const Case& c = GetParam();
  const AmountText result = AmountInCapitals(c.input);
  EXPECT_EQ(result.status, c.status);
  EXPECT_EQ(result.text, c.text);
}

constexpr auto Ok = AmountStatus::Ok;

INSTANTIATE_TEST_SUITE_P(
    Table, AmountCases,
    testing::Values(
        // Whole amounts and the places.
        Case{"1", Ok, "壹元整"}, Case{"10", Ok, "壹拾元整"}, Case{"15", Ok, "壹拾伍元整"},
        Case{"1234", Ok, "壹仟贰佰叁拾肆元整"},
        // A run of zeros inside a group gives one 零.
        Case{"1001", Ok, "壹仟零壹元整"}, Case{"1010", Ok, "壹仟零壹拾元整"},
        Case{"105", Ok, "壹佰零伍元整"}, Case{"10100", Ok, "壹万零壹佰元整"},
        // Zeros that end a group give none.
        Case{"100000", Ok, "壹拾万元整"}, Case{"10001000", Ok, "壹仟万壹仟元整"},
        Case{"110000", Ok, "壹拾壹万元整"}, Case{"100000000", Ok, "壹亿元整"},
        // Leading zeros of a lower group, and a whole zero group in between, give one 零.
        Case{"10000001", Ok, "壹仟万零壹元整"}, Case{"100010000", Ok, "壹亿零壹万元整"},
        Case{"100000001", Ok, "壹亿零壹元整"}, Case{"100200300", Ok, "壹亿零贰拾万零叁佰元整"},
        Case{"100000001000", Ok, "壹仟亿零壹仟元整"},
        Case{"200000100000", Ok, "贰仟亿零壹拾万元整"},
        // 角 and 分: 整 after 元 or 角, never after 分; 零 only for a missing 角 after 元.
        Case{"0.5", Ok, "伍角整"}, Case{"0.05", Ok, "伍分"}, Case{"0.55", Ok, "伍角伍分"},
        Case{"1.05", Ok, "壹元零伍分"}, Case{"10.5", Ok, "壹拾元伍角整"},
        Case{"10.50", Ok, "壹拾元伍角整"}, Case{"1000.06", Ok, "壹仟元零陆分"},
        Case{"12.34", Ok, "壹拾贰元叁角肆分"}, Case{"3.00", Ok, "叁元整"}, Case{"0", Ok, "零元整"},
        Case{"0.00", Ok, "零元整"}, Case{"-0", Ok, "零元整"},
        // The largest amount, and one 分 beyond it.
        Case{"999999999999.99", Ok, "玖仟玖佰玖拾玖亿玖仟玖佰玖拾玖万玖仟玖佰玖拾玖元玖角玖分"},
        Case{"1000000000000", AmountStatus::TooLarge, ""},
        Case{"99999999999999", AmountStatus::TooLarge, ""}, Case{"000000000000001", Ok, "壹元整"},
        // Sign, blanks and separator forms.
        Case{"-1.05", Ok, "负壹元零伍分"}, Case{"-0.3", Ok, "负叁角整"}, Case{"+7", Ok, "柒元整"},
        Case{"  42\t", Ok, "肆拾贰元整"}, Case{"5.", Ok, "伍元整"}, Case{".5", Ok, "伍角整"},
        // Decimals below 分: zeros are harmless, anything else is refused, not rounded.
        Case{"1.500", Ok, "壹元伍角整"}, Case{"1.005", AmountStatus::TooManyDecimals, ""},
        Case{"0.125", AmountStatus::TooManyDecimals, ""},
        // Not an amount; nothing typed.
        Case{"abc", AmountStatus::Illegal, ""}, Case{"1,000", AmountStatus::Illegal, ""},
        Case{"1e3", AmountStatus::Illegal, ""}, Case{"1.2.3", AmountStatus::Illegal, ""},
        Case{".", AmountStatus::Illegal, ""}, Case{"-", AmountStatus::Illegal, ""},
        Case{"--1", AmountStatus::Illegal, ""}, Case{"1 000", AmountStatus::Illegal, ""},
        Case{"１２", AmountStatus::Illegal, ""}, Case{"", AmountStatus::Empty, ""},
        Case{" ", AmountStatus::Empty, ""}));

}  // namespace
}  // namespace vantrel
