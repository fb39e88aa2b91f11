#include "model/number_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace mk {

double ParseLeadingNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  std::string number;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    number += text[i];
    ++i;
  }
  bool seenDigit = false;
  bool seenPoint = false;
  for (; i < text.size(); ++i) {
    const char ch = text[i];
    if (ch >= '0' && ch <= '9') {
      number += ch;
      seenDigit = true;
    } else if (ch == '.' && !seenPoint) {
      number += ch;
      seenPoint = true;
    } else {
      break;
    }
  }
  if (!seenDigit) return 0.0;
  const double value = std::strtod(number.c_str(), nullptr);
  if (!std::isfinite(value)) return 0.0;
  return value == 0.0 ? 0.0 : value;  // never hand out -0
}

namespace {

// A non-negative decimal number as its digits and the position of the
// decimal point: value = 0.d0 d1 d2 ... x 10^pointPos.
struct Decimal {
  std::vector<int> digits;  // most significant first
  int pointPos = 0;         // number of digits before the decimal point
};

// The decimal form of |value| with `significant` digits ("%.15g" gives 15).
Decimal ToDecimal(double value, int significant) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*e", significant - 1, std::fabs(value));
  // buffer: d.dddddddddddddde[+-]XX
  Decimal d;
  const char* p = buffer;
  for (; *p && *p != 'e'; ++p) {
    if (*p >= '0' && *p <= '9') d.digits.push_back(*p - '0');
  }
  const int exponent = (*p == 'e') ? std::atoi(p + 1) : 0;
  d.pointPos = exponent + 1;
  return d;
}

// Rounds half away from zero to `decimals` places; returns the integer-part
// digits and the fraction digits (exactly `decimals` of them).
void RoundDecimal(const Decimal& d, int decimals, std::string& intPart, std::string& fracPart) {
  // Lay the digits out on a fixed grid: positions from the most significant
  // integer place down to the last decimal kept.
  const int intDigits = std::max(d.pointPos, 0);
  std::vector<int> grid(static_cast<std::size_t>(intDigits + decimals), 0);
  // digit k of d has weight 10^(pointPos - 1 - k); grid index g has weight
  // 10^(intDigits - 1 - g).  So g = k + intDigits - pointPos.
  int roundDigit = 0;
  bool roundSeen = false;
  for (std::size_t k = 0; k < d.digits.size(); ++k) {
    const int g = static_cast<int>(k) + intDigits - d.pointPos;
    if (g < 0) continue;  // cannot happen: intDigits >= pointPos
    if (g < static_cast<int>(grid.size())) {
      grid[static_cast<std::size_t>(g)] = d.digits[k];
    } else if (g == static_cast<int>(grid.size())) {
      roundDigit = d.digits[k];
      roundSeen = true;
    }
  }
  bool carry = roundSeen && roundDigit >= 5;
  for (int g = static_cast<int>(grid.size()) - 1; g >= 0 && carry; --g) {
    auto& digit = grid[static_cast<std::size_t>(g)];
    if (digit == 9) {
      digit = 0;
    } else {
      ++digit;
      carry = false;
    }
  }
  intPart.clear();
  if (carry) intPart += '1';
  for (int g = 0; g < intDigits; ++g) intPart += static_cast<char>('0' + grid[static_cast<std::size_t>(g)]);
  // strip leading zeros of the integer part
  std::size_t firstNonZero = intPart.find_first_not_of('0');
  intPart = firstNonZero == std::string::npos ? std::string() : intPart.substr(firstNonZero);
  fracPart.clear();
  for (int g = intDigits; g < intDigits + decimals; ++g) fracPart += static_cast<char>('0' + grid[static_cast<std::size_t>(g)]);
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

  std::string intPart;
  std::string fracPart;
  RoundDecimal(ToDecimal(value, 15), maxDecimals, intPart, fracPart);

  // drop optional trailing decimals that are zero
  while (static_cast<int>(fracPart.size()) > minDecimals && fracPart.back() == '0') fracPart.pop_back();

  const bool isZero = intPart.empty() && fracPart.find_first_not_of('0') == std::string::npos;
  while (static_cast<int>(intPart.size()) < minIntDigits) intPart.insert(intPart.begin(), '0');

  std::string result;
  if (value < 0 && !isZero) result += '-';
  result += intPart;
  if (!fracPart.empty()) {
    result += '.';
    result += fracPart;
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
  std::string digits;
  for (int digit : d.digits) digits += static_cast<char>('0' + digit);
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
