#include "model/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace mk {

double ParseLeadingNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  const std::size_t start = i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  bool seenDigit = false;
  bool seenPoint = false;
  for (; i < text.size(); ++i) {
    const char ch = text[i];
    if (ch >= '0' && ch <= '9') {
      seenDigit = true;
    } else if (ch == '.' && !seenPoint) {
      seenPoint = true;
    } else {
      break;
    }
  }
  if (!seenDigit) return 0.0;
  const std::string_view number = text.substr(start, i - start);  // sign, digits and at most one point
  double value = 0.0;
#if defined(__cpp_lib_to_chars) && __cpp_lib_to_chars >= 201611L
  // The same correctly rounded value as strtod, without its locale and
  // arbitrary-precision machinery; a number out of the double's range
  // goes to strtod, which says what it becomes.
  const std::string_view unsigned_ = number.front() == '+' ? number.substr(1) : number;
  if (std::from_chars(unsigned_.data(), unsigned_.data() + unsigned_.size(), value).ec != std::errc{})
#endif
  {
    value = std::strtod(std::string(number).c_str(), nullptr);
  }
  if (!std::isfinite(value)) return 0.0;
  return value == 0.0 ? 0.0 : value;  // never hand out -0
}

namespace {

// A non-negative decimal number as its digits and the position of the
// decimal point: value = 0.d0 d1 d2 ... x 10^pointPos.
struct Decimal {
  char digits[24];  // most significant first, '0'..'9'
  int count = 0;
  int pointPos = 0;  // number of digits before the decimal point
};

#ifdef __SIZEOF_INT128__
using Wide = unsigned __int128;

constexpr Wide Pow10(int k) { return k == 0 ? Wide{1} : 10 * Pow10(k - 1); }

// The 15 significant digits of a in [1e-8, 1e15) in integer arithmetic:
// a = m·2^q exactly, and a·10^k with k = 14 - floor(log10 a) (0..22) is
// m·10^k·2^q, whose integer m·10^k fits in 128 bits.  Rounded to an integer
// with ties to even, as printf rounds, that is the digits.  False outside
// that range.
bool FifteenDigits(double a, Decimal& d) {
  if (!(a >= 1e-8 && a < 1e15)) return false;
  static constexpr Wide kPow10[] = {Pow10(0),  Pow10(1),  Pow10(2),  Pow10(3),  Pow10(4),  Pow10(5),
                                    Pow10(6),  Pow10(7),  Pow10(8),  Pow10(9),  Pow10(10), Pow10(11),
                                    Pow10(12), Pow10(13), Pow10(14), Pow10(15), Pow10(16), Pow10(17),
                                    Pow10(18), Pow10(19), Pow10(20), Pow10(21), Pow10(22)};
  // a is a normal double here: m is its 52 stored bits and the implicit one.
  std::uint64_t bits = 0;
  std::memcpy(&bits, &a, sizeof bits);
  const std::uint64_t m = (bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
  const int exponent2 = static_cast<int>(bits >> 52) - 1075;  // a = m·2^exponent2
  const int shift = -exponent2;                               // 3 <= shift <= 80 in this range
  // floor(log10 a) from the binary exponent: 0.30103 < log10 2 < 0.30103 +
  // 1e-6, so this is the true value or one less; the loop corrects it.
  int e = static_cast<int>(std::floor((exponent2 + 52) * 0.30102999566398120));
  for (int attempt = 0; attempt < 3; ++attempt) {
    const int k = 14 - e;
    if (k < 0 || k > 22) return false;
    const Wide scaled = Wide{m} * kPow10[k];
    Wide n = scaled >> shift;  // truncated: 15 digits when e is right
    if (n >= kPow10[15]) {
      ++e;
      continue;
    }
    if (n < kPow10[14]) {
      --e;
      continue;
    }
    const Wide rest = scaled - (n << shift);
    const Wide half = Wide{1} << (shift - 1);
    if (rest > half || (rest == half && (n & 1) != 0)) ++n;
    d.pointPos = e + 1;
    if (n == kPow10[15]) {  // 9.99…95 rounds up to the next power of ten
      n = kPow10[14];
      ++d.pointPos;
    }
    // Two digits at a time from a table of "00".."99".
    static constexpr char kPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    auto digits = static_cast<std::uint64_t>(n);
    for (int i = 13; i >= 1; i -= 2, digits /= 100) std::memcpy(d.digits + i, kPairs + 2 * (digits % 100), 2);
    d.digits[0] = static_cast<char>('0' + digits);
    d.count = 15;
    return true;
  }
  return false;
}
#endif

// The decimal form of |value| with `significant` digits (at most 17;
// "%.15g" gives 15), correctly rounded as printf's "%.*e" rounds it.
Decimal ToDecimal(double value, int significant) {
#ifdef __SIZEOF_INT128__
  if (Decimal d; significant == 15 && FifteenDigits(std::fabs(value), d)) return d;
#endif
  char buffer[64];
#if defined(__cpp_lib_to_chars) && __cpp_lib_to_chars >= 201611L
  // The same digits as printf's "%.*e", without its arbitrary-precision
  // arithmetic (the report formats a few hundred numbers).
  const std::to_chars_result r =
      std::to_chars(buffer, buffer + sizeof buffer - 1, std::fabs(value), std::chars_format::scientific, significant - 1);
  *r.ptr = '\0';
#else
  std::snprintf(buffer, sizeof buffer, "%.*e", significant - 1, std::fabs(value));
#endif
  // buffer: d.dddddddddddddde[+-]XX
  Decimal d;
  const char* p = buffer;
  for (; *p && *p != 'e'; ++p) {
    if (*p >= '0' && *p <= '9' && d.count < static_cast<int>(sizeof d.digits)) d.digits[d.count++] = *p;
  }
  const int exponent = (*p == 'e') ? std::atoi(p + 1) : 0;
  d.pointPos = exponent + 1;
  return d;
}

}  // namespace

std::string FormatNumber(double value, std::string_view pattern) {
  if (!std::isfinite(value)) return std::string();
  const std::size_t point = pattern.find('.');
  const std::string_view intPattern = pattern.substr(0, point);
  const std::string_view fracPattern =
      point == std::string_view::npos ? std::string_view() : pattern.substr(point + 1);

  int minIntDigits = 0;
  for (char ch : intPattern) minIntDigits += (ch == '0');
  int minDecimals = 0;
  int maxDecimals = 0;
  for (char ch : fracPattern) {
    if (ch == '0') ++minDecimals;
    if (ch == '0' || ch == '#') ++maxDecimals;
  }

  // The 15-digit form rounded half away from zero to maxDecimals places:
  // its digits are laid out on a fixed grid, from the most significant
  // integer place down to the last decimal kept, behind one place for a
  // carry out of the top.
  const Decimal d = ToDecimal(value, 15);
  const int intDigits = std::max(d.pointPos, 0);
  const int gridSize = intDigits + maxDecimals;
  char local[96];
  std::unique_ptr<char[]> large;
  char* const cells = gridSize + 1 <= static_cast<int>(sizeof local)
                          ? local
                          : (large = std::make_unique<char[]>(static_cast<std::size_t>(gridSize) + 1)).get();
  cells[0] = '0';  // the carry place
  char* const grid = cells + 1;
  std::memset(grid, '0', static_cast<std::size_t>(gridSize));
  // digit k of d has weight 10^(pointPos - 1 - k); grid index g has weight
  // 10^(intDigits - 1 - g).  So g = k + intDigits - pointPos.
  char roundDigit = '0';
  for (int k = 0; k < d.count; ++k) {
    const int g = k + intDigits - d.pointPos;
    if (g < 0) continue;  // cannot happen: intDigits >= pointPos
    if (g < gridSize) {
      grid[g] = d.digits[k];
    } else {
      if (g == gridSize) roundDigit = d.digits[k];
      break;
    }
  }
  if (roundDigit >= '5') {
    int g = gridSize - 1;
    for (; g >= 0 && grid[g] == '9'; --g) grid[g] = '0';
    ++(g >= 0 ? grid[g] : cells[0]);
  }

  // The integer part without leading zeros (with the carry place), the
  // fraction without the optional decimals that are zero.
  const char* intBegin = cells;
  const char* const intEnd = grid + intDigits;
  while (intBegin < intEnd && *intBegin == '0') ++intBegin;
  const char* const fracBegin = intEnd;
  const char* fracEnd = grid + gridSize;
  while (fracEnd - fracBegin > minDecimals && fracEnd[-1] == '0') --fracEnd;

  const bool isZero = intBegin == intEnd && std::all_of(fracBegin, fracEnd, [](char c) { return c == '0'; });
  const bool minus = value < 0 && !isZero;
  const std::size_t intSize = static_cast<std::size_t>(intEnd - intBegin);
  const std::size_t leadingZeros = static_cast<std::size_t>(std::max(minIntDigits - static_cast<int>(intSize), 0));
  const std::size_t fracSize = static_cast<std::size_t>(fracEnd - fracBegin);

  std::string result;
  result.reserve((minus ? 1 : 0) + leadingZeros + intSize + 1 + fracSize);
  if (minus) result += '-';
  result.append(leadingZeros, '0');
  result.append(intBegin, intSize);
  if (fracSize > 0) {
    result += '.';
    result.append(fracBegin, fracSize);
  }
  if (result == "-") return std::string();
  return result;
}

std::string FormatGeneralNumber(double value) {
  if (!std::isfinite(value)) return " 0 ";
  // Always plain decimals, never an exponent: the file's numbers are read
  // back by the leading-number parse, which takes no exponent, so "5E-05"
  // would come back as 5.
  // 15 significant digits, or 17 where 15 would round beyond the largest
  // double and so not read back.
  const bool nearMax = std::fabs(value) > 1.79769313486231e308;
  const Decimal d = ToDecimal(value, nearMax ? 17 : 15);
  std::string digits(d.digits, static_cast<std::size_t>(d.count));
  const std::size_t last = digits.find_last_not_of('0');
  if (last == std::string::npos) return " 0 ";
  digits.erase(last + 1);
  std::string text;
  const int significant = static_cast<int>(digits.size());
  if (d.pointPos <= 0) {
    text = "." + std::string(static_cast<std::size_t>(-d.pointPos), '0') + digits;
  } else if (d.pointPos >= significant) {
    text = digits + std::string(static_cast<std::size_t>(d.pointPos - significant), '0');
  } else {
    text = digits.substr(0, static_cast<std::size_t>(d.pointPos)) + "." +
           digits.substr(static_cast<std::size_t>(d.pointPos));
  }
  text.insert(text.begin(), value < 0 ? '-' : ' ');
  text += ' ';
  return text;
}

}  // namespace mk
