// The rules are those of the Ministry of Finance's 会计基础工作规范 (财会字〔1996〕19号,
// article 52) as cheques and vouchers apply them:
// - 零 for zeros inside the integer part, one 零 for a run of them; zeros that end a
//   four-digit group (个, 万, 亿) give none, but an all-zero group between non-zero
//   digits gives one: 10001000 壹仟万壹仟元, 100010000 壹亿零壹万元.
// - 整 after an amount that ends at 元 or at 角, never after 分.
// - With 角 zero and 分 not, 零 stands for the missing 角 (壹元零伍分); a zero 元 digit
//   before a non-zero 角 gets no 零 (壹拾元伍角整), the shorter of the two allowed forms.
// - An amount below one 元 starts at its first non-zero unit (伍角整, 伍分); zero is
//   零元整. A negative amount is prefixed with 负.
#include "tools/companions/ChineseAmount.h"

#include "conversion/ConvertText.h"

namespace vantrel {
namespace {

constexpr const char* kDigits[10] = {"零", "壹", "贰", "叁", "肆", "伍", "陆", "柒", "捌", "玖"};
// Place within a group of four, from the lowest.
constexpr const char* kPlaces[4] = {"", "拾", "佰", "仟"};
// Group of four, from the lowest.
constexpr const char* kGroups[3] = {"", "万", "亿"};

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
  return text;
}

// digits: 1 to 12 decimal digits, the first not zero.
std::string IntegerInCapitals(std::string_view digits) {
  std::string out;
  bool zeroPending = false;
  bool groupHasDigit = false;
  const int count = static_cast<int>(digits.size());
  for (int k = 0; k < count; ++k) {
    const int power = count - 1 - k;
    const int digit = digits[k] - '0';
    if (digit == 0) {
      zeroPending = true;
    } else {
      if (zeroPending) out += kDigits[0];
      zeroPending = false;
      out += kDigits[digit];
      out += kPlaces[power % 4];
      groupHasDigit = true;
    }
    if (power % 4 == 0) {
      // A group's own trailing zeros give no 零; an all-zero group keeps the gap open.
      if (groupHasDigit) {
        out += kGroups[power / 4];
        zeroPending = false;
      }
      groupHasDigit = false;
    }
  }
  return out;
}

}  // namespace

AmountText AmountInCapitals(std::string_view input) {
  std::string_view text = Trimmed(input);
  if (text.empty()) return {AmountStatus::Empty, {}};

  bool negative = false;
  if (text.front() == '+' || text.front() == '-') {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  std::size_t pos = 0;
  while (pos < text.size() && IsDigit(text[pos])) ++pos;
  std::string_view whole = text.substr(0, pos);
  std::string_view fraction;
  if (pos < text.size() && text[pos] == '.') {
    const std::size_t start = ++pos;
    while (pos < text.size() && IsDigit(text[pos])) ++pos;
    fraction = text.substr(start, pos - start);
  }
  if (pos != text.size() || (whole.empty() && fraction.empty())) return {AmountStatus::Illegal, {}};

  for (std::size_t k = 2; k < fraction.size(); ++k)
    if (fraction[k] != '0') return {AmountStatus::TooManyDecimals, {}};
  while (!whole.empty() && whole.front() == '0') whole.remove_prefix(1);
  if (whole.size() > static_cast<std::size_t>(kMaxIntegerDigits))
    return {AmountStatus::TooLarge, {}};

  const int jiao = fraction.size() > 0 ? fraction[0] - '0' : 0;
  const int fen = fraction.size() > 1 ? fraction[1] - '0' : 0;
  std::string out;
  if (!whole.empty()) out = IntegerInCapitals(whole) + "元";
  if (jiao != 0) {
    out += kDigits[jiao];
    out += "角";
  }
  if (fen != 0) {
    if (jiao == 0 && !whole.empty()) out += kDigits[0];
    out += kDigits[fen];
    out += "分";
  } else if (out.empty()) {
    return {AmountStatus::Ok, "零元整"};
  } else {
    out += "整";
  }
  return {AmountStatus::Ok, negative ? "负" + out : out};
}

std::string AmountMessage(AmountStatus status) {
  switch (status) {
    case AmountStatus::Illegal:
      return std::string(kInvalidInputText) + "请输入金额，如 1234.56";
    case AmountStatus::TooManyDecimals:
      return "金额只到分，小数点后最多两位";
    case AmountStatus::TooLarge:
      return "金额超出范围，最大为 999999999999.99";
    case AmountStatus::Ok:
    case AmountStatus::Empty:
      break;
  }
  return {};
}

}  // namespace vantrel
