#include "config/number_text.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "config/blanks.h"

namespace tarvik {
namespace {

constexpr int kSignificantDigits = 15;
// What single precision holds, and the decimals a money figure always keeps.
constexpr int kMoneySignificantDigits = 7;
constexpr int kMoneyDecimals = 2;

// Just enough of an unsigned big integer (base 10^9 limbs, least significant first) to
// write a double's exact decimal expansion.
class BigDecimal {
 public:
  explicit BigDecimal(std::uint64_t value) {
    do {
      limbs_.push_back(static_cast<std::uint32_t>(value % kBase));
      value /= kBase;
    } while (value != 0);
  }

  void multiply(std::uint32_t factor) {
    std::uint64_t carry = 0;
    for (auto& limb : limbs_) {
      const std::uint64_t product = std::uint64_t{limb} * factor + carry;
      limb = static_cast<std::uint32_t>(product % kBase);
      carry = product / kBase;
    }
    while (carry != 0) {
      limbs_.push_back(static_cast<std::uint32_t>(carry % kBase));
      carry /= kBase;
    }
  }

  void multiplyByPowerOf2(int exponent) {
    for (; exponent >= 29; exponent -= 29) multiply(std::uint32_t{1} << 29);
    if (exponent > 0) multiply(std::uint32_t{1} << exponent);
  }

  void multiplyByPowerOf5(int exponent) {
    for (; exponent >= 13; exponent -= 13) multiply(1220703125u);  // 5^13
    std::uint32_t rest = 1;
    for (; exponent > 0; --exponent) rest *= 5;
    multiply(rest);
  }

  std::string digits() const {
    std::string out = std::to_string(limbs_.back());
    for (auto it = limbs_.rbegin() + 1; it != limbs_.rend(); ++it) {
      std::string part = std::to_string(*it);
      out.append(9 - part.size(), '0');
      out += part;
    }
    return out;
  }

 private:
  static constexpr std::uint64_t kBase = 1000000000;
  std::vector<std::uint32_t> limbs_;
};

// Exact decimal digits of |value| (no leading zeros) and the power of ten of the first one.
struct ExactDecimal {
  std::string digits;
  int exponent10;
};

ExactDecimal exactDecimal(double value) {
  const auto bits = std::bit_cast<std::uint64_t>(value);
  const int biased = static_cast<int>((bits >> 52) & 0x7FF);
  std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
  int exponent2 = 0;
  if (biased == 0) {
    exponent2 = -1074;
  } else {
    mantissa |= std::uint64_t{1} << 52;
    exponent2 = biased - 1075;
  }
  const int zeros = std::countr_zero(mantissa);
  mantissa >>= zeros;
  exponent2 += zeros;

  BigDecimal number(mantissa);
  int shift10 = 0;
  if (exponent2 >= 0) {
    number.multiplyByPowerOf2(exponent2);
  } else {
    // m * 2^-k = m * 5^k / 10^k
    number.multiplyByPowerOf5(-exponent2);
    shift10 = exponent2;
  }
  ExactDecimal result{number.digits(), 0};
  result.exponent10 = static_cast<int>(result.digits.size()) - 1 + shift10;
  return result;
}

// Rounds to `count` significant digits, ties away from zero, and strips trailing zeros.
void roundDigits(ExactDecimal& number, int count) {
  auto& digits = number.digits;
  if (static_cast<int>(digits.size()) > count) {
    const bool up = digits[count] >= '5';
    digits.resize(count);
    if (up) {
      int i = count - 1;
      while (i >= 0 && digits[i] == '9') digits[i--] = '0';
      if (i >= 0) {
        ++digits[i];
      } else {
        digits.insert(digits.begin(), '1');
        digits.pop_back();
        ++number.exponent10;
      }
    }
  }
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
}

std::string fixedNotation(const ExactDecimal& number, char separator) {
  const auto& digits = number.digits;
  const int count = static_cast<int>(digits.size());
  const int exponent = number.exponent10;
  if (exponent < 0) {
    std::string out(1, '0');
    out += separator;
    out.append(-exponent - 1, '0');
    out += digits;
    return out;
  }
  if (count <= exponent + 1) {
    std::string out = digits;
    out.append(exponent + 1 - count, '0');
    return out;
  }
  std::string out = digits.substr(0, exponent + 1);
  out += separator;
  out += digits.substr(exponent + 1);
  return out;
}

std::string scientificNotation(const ExactDecimal& number, char separator) {
  std::string out(1, number.digits[0]);
  if (number.digits.size() > 1) {
    out += separator;
    out += number.digits.substr(1);
  }
  out += 'E';
  out += std::to_string(number.exponent10);
  return out;
}

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// The largest double written with 15 significant digits, 1.79769313486232E308, is a little
// above the largest double: a value written once must still read back, so a text out of range
// only by that rounding reads as the largest double. Anything further out stays unreadable.
std::optional<double> largestWrittenText(const std::string& normal) {
  long double wide = 0;
  const char* end = normal.data() + normal.size();
  const auto result = std::from_chars(normal.data(), end, wide);
  if (result.ec != std::errc() || result.ptr != end) return std::nullopt;
  constexpr long double kMax = std::numeric_limits<double>::max();
  // Half a unit of the 15th digit above the largest double still rounds to its text.
  constexpr long double kWrittenMax = 1.797693134862325e308L;
  const long double magnitude = wide < 0 ? -wide : wide;
  if (magnitude < kMax || magnitude >= kWrittenMax) return std::nullopt;
  return wide < 0 ? -std::numeric_limits<double>::max() : std::numeric_limits<double>::max();
}

// `value` rounded to the number of significant digits `digits` gives for its decimal
// exponent, in general form.
template <typename Digits>
std::string formatRounded(double value, const NumberFormat& format, Digits digits) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  if (value == 0) return "0";
  ExactDecimal number = exactDecimal(value);
  roundDigits(number, digits(number.exponent10));
  // 1E-5 <= |x| < 1E15, judged on the rounded value.
  const bool fixed = number.exponent10 >= -5 && number.exponent10 < 15;
  std::string text = value < 0 ? "-" : "";
  text += fixed ? fixedNotation(number, format.decimalSeparator)
                : scientificNotation(number, format.decimalSeparator);
  return text;
}

}  // namespace

std::string formatGeneral(double value, const NumberFormat& format) {
  return formatRounded(value, format, [](int) { return kSignificantDigits; });
}

std::string formatMoney(double value, const NumberFormat& format) {
  return formatRounded(value, format, [](int exponent10) {
    return std::clamp(exponent10 + 1 + kMoneyDecimals, kMoneySignificantDigits, kSignificantDigits);
  });
}

std::optional<double> parseDecimal(std::string_view text) {
  text = trimBlanks(text);

  // Validate the whole shape first; from_chars alone would accept a prefix.
  std::string normal;
  std::size_t pos = 0;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    if (text[pos] == '-') normal += '-';
    ++pos;
  }
  int mantissaDigits = 0;
  bool separatorSeen = false;
  for (; pos < text.size(); ++pos) {
    const char c = text[pos];
    if (isDigit(c)) {
      ++mantissaDigits;
      normal += c;
    } else if ((c == ',' || c == '.') && !separatorSeen) {
      separatorSeen = true;
      normal += '.';
    } else {
      break;
    }
  }
  if (mantissaDigits == 0) return std::nullopt;
  if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
    normal += 'e';
    ++pos;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) normal += text[pos++];
    int exponentDigits = 0;
    for (; pos < text.size() && isDigit(text[pos]); ++pos, ++exponentDigits) normal += text[pos];
    if (exponentDigits == 0) return std::nullopt;
  }
  if (pos != text.size()) return std::nullopt;

  double value = 0;
  const char* end = normal.data() + normal.size();
  const auto result = std::from_chars(normal.data(), end, value);
  if (result.ec == std::errc::result_out_of_range && result.ptr == end)
    return largestWrittenText(normal);
  if (result.ec != std::errc() || result.ptr != end) return std::nullopt;
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

std::string cutToSix(std::string_view text) {
  // Count characters, not bytes, so a cut never splits a UTF-8 sequence.
  std::size_t chars = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool continuation = (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80;
    if (!continuation && ++chars > 6) return std::string(text.substr(0, i));
  }
  return std::string(text);
}

std::string sixText(double value, const NumberFormat& format) {
  return cutToSix(formatMoney(value, format));
}

}  // namespace tarvik
