#include "conversion/NumberText.h"

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "conversion/Errors.h"
#include "conversion/FloatEnv.h"

namespace vantrel {

namespace {

std::string& SeparatorStorage() {
  static std::string separator = ".";
  return separator;
}

// Each entry is the extended value nearest the power (the compiler rounds the literals
// correctly; 10^0 to 10^27 are exact).
constexpr Extended kPow10Low[32] = {1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,  1e7L,
                                    1e8L,  1e9L,  1e10L, 1e11L, 1e12L, 1e13L, 1e14L, 1e15L,
                                    1e16L, 1e17L, 1e18L, 1e19L, 1e20L, 1e21L, 1e22L, 1e23L,
                                    1e24L, 1e25L, 1e26L, 1e27L, 1e28L, 1e29L, 1e30L, 1e31L};
constexpr Extended kPow10Mid[16] = {1e0L,   1e32L,  1e64L,  1e96L,  1e128L, 1e160L, 1e192L, 1e224L,
                                    1e256L, 1e288L, 1e320L, 1e352L, 1e384L, 1e416L, 1e448L, 1e480L};
constexpr Extended kPow10High[10] = {1e0L,    1e512L,  1e1024L, 1e1536L, 1e2048L,
                                     1e2560L, 1e3072L, 1e3584L, 1e4096L, 1e4608L};

constexpr int kScaleLimit = 5120;

// a × 10^p (a ÷ 10^-p for negative p) in up to three steps, each rounded to extended.
Extended ScaleByPowerOfTen(Extended a, int p) {
  if (p == 0) return a;
  const unsigned n = static_cast<unsigned>(p < 0 ? -p : p);
  if (n >= kScaleLimit) {
    if (p < 0) return 0.0L;
    return a == 0.0L ? a : a * HUGE_VALL;
  }
  const Extended factors[3] = {kPow10Low[n % 32], kPow10Mid[(n / 32) % 16], kPow10High[n / 512]};
  for (Extended f : factors) {
    if (f == 1.0L) continue;
    if (p > 0) {
      a *= f;
    } else {
      a /= f;
    }
  }
  return a;
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The unbiased exponent of a finite, non-zero extended value.
int BinaryExponent(Extended value) {
  unsigned char bytes[sizeof(Extended)];
  std::memcpy(bytes, &value, sizeof bytes);
  const int biased = ((bytes[9] & 0x7F) << 8) | bytes[8];
  return biased != 0 ? biased - 16383 : std::ilogb(value);
}

}  // namespace

void SetDecimalSeparator(std::string separator) {
  SeparatorStorage() = separator.empty() ? std::string(".") : std::move(separator);
}

const std::string& DecimalSeparator() {
  return SeparatorStorage();
}

bool TryReadNumber(std::string_view text, Extended& value) {
  const std::string& separator = DecimalSeparator();
  const std::size_t n = text.size();
  std::size_t i = 0;
  while (i < n && text[i] == ' ') ++i;

  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }

  QuietFloatScope quiet;
  Extended a = 0.0L;
  bool mantissa = false;
  long fractionDigits = 0;
  while (i < n && IsDigit(text[i])) {
    a = a * 10.0L + static_cast<Extended>(text[i] - '0');
    mantissa = true;
    ++i;
  }
  if (text.substr(i, separator.size()) == separator) {
    i += separator.size();
    mantissa = true;
    while (i < n && IsDigit(text[i])) {
      a = a * 10.0L + static_cast<Extended>(text[i] - '0');
      ++fractionDigits;
      ++i;
    }
  }
  if (!mantissa) return false;

  int exponent = 0;
  if (i < n && (text[i] == 'E' || text[i] == 'e')) {
    ++i;
    bool exponentNegative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
      exponentNegative = text[i] == '-';
      ++i;
    }
    // Reading stops at 500; a digit left over makes the text not a number below.
    while (i < n && IsDigit(text[i]) && exponent < 500) {
      exponent = exponent * 10 + (text[i] - '0');
      ++i;
    }
    if (exponentNegative) exponent = -exponent;
  }
  while (i < n && text[i] == ' ') ++i;
  if (i != n) return false;

  const long p = exponent - fractionDigits;
  a = p <= -kScaleLimit ? 0.0L : ScaleByPowerOfTen(a, static_cast<int>(p));
  if (negative) a = -a;
  KeepInOrder(a);
  if (quiet.Raised(FE_OVERFLOW | FE_INVALID) || std::isinf(a)) return false;
  value = a;
  return true;
}

Extended ReadNumber(std::string_view text) {
  Extended value = 0.0L;
  if (!TryReadNumber(text, value)) {
    throw EConvertError("'" + std::string(text) + "' is not a valid floating point value");
  }
  return value;
}

std::string FormatNumber(Extended value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  if (value == 0.0L) return "0";

  QuietFloatScope quiet;
  const bool negative = std::signbit(value);
  const Extended magnitude = std::fabs(value);

  // Estimate the decimal exponent from the binary one (log10 2 ≈ 19728 / 65536), then
  // scale the magnitude to an 18-digit integer, rounded to nearest with ties to even.
  const int binaryExponent = BinaryExponent(magnitude);
  int decimalExponent = ((binaryExponent * 19728) >> 16) + 1;
  Extended digits18 = RoundToInteger(ScaleByPowerOfTen(magnitude, 18 - decimalExponent));
  KeepInOrder(digits18);
  if (digits18 >= 1e18L) {
    digits18 = RoundToInteger(digits18 / 10.0L);
    KeepInOrder(digits18);
    ++decimalExponent;
  } else if (digits18 < 1e17L) {
    --decimalExponent;
    digits18 = RoundToInteger(ScaleByPowerOfTen(magnitude, 18 - decimalExponent));
    KeepInOrder(digits18);
  }

  // Cut to 15 digits by the 16th alone.
  std::uint64_t whole = static_cast<std::uint64_t>(digits18);
  char digits[19];
  for (int k = 17; k >= 0; --k) {
    digits[k] = static_cast<char>('0' + whole % 10);
    whole /= 10;
  }
  int count = 15;
  if (digits[15] >= '5') {
    int k = 14;
    while (k >= 0 && digits[k] == '9') {
      digits[k] = '0';
      --k;
    }
    if (k < 0) {
      digits[0] = '1';
      count = 1;
      ++decimalExponent;
    } else {
      ++digits[k];
    }
  }
  while (count > 1 && digits[count - 1] == '0') --count;

  const std::string& separator = DecimalSeparator();
  const int n = decimalExponent;
  std::string out;
  out.reserve(32);
  if (negative) out += '-';
  if (n >= -3 && n <= 15) {
    if (n >= 1) {
      for (int k = 0; k < n; ++k) out += k < count ? digits[k] : '0';
      if (count > n) {
        out += separator;
        out.append(digits + n, static_cast<std::size_t>(count - n));
      }
    } else {
      out += '0';
      out += separator;
      out.append(static_cast<std::size_t>(-n), '0');
      out.append(digits, static_cast<std::size_t>(count));
    }
  } else {
    out += digits[0];
    if (count > 1) {
      out += separator;
      out.append(digits + 1, static_cast<std::size_t>(count - 1));
    }
    out += 'E';
    const int e = n - 1;
    if (e < 0) out += '-';
    out += std::to_string(e < 0 ? -e : e);
  }
  return out;
}

bool IsAcceptedInputChar(char32_t typed) {
  return (typed >= U'0' && typed <= U'9') || typed == U'.' || typed == U'-' || typed == U'E' ||
         typed == U'e' || typed == U'\b';
}

}  // namespace vantrel
