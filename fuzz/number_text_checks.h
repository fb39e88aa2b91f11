#pragma once
// The properties of the leading-number parse and the number patterns,
// shared by the fuzz target number_text_fuzzer and the regression test.
// Each check returns "" when the property holds and a description of what
// broke otherwise.
//  - the parse gives a finite number and never -0;
//  - a pattern prints only digits, '-' and '.', never "nan"/"inf", never a
//    minus sign on a value that rounds to zero, and "" only for a non-finite
//    value (or "####" of a value that rounds to zero);
//  - a fixed pattern ("0.00") prints exactly its decimals, and a pattern
//    with a '0' before the point prints a digit there;
//  - parsing the printed text gives back the value within half the last
//    printed place (plus the 15-significant-digit rounding);
//  - the general form is " x " or "-x ", never "-0", and reads back within
//    15 significant digits; it never takes an exponent form.

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "model/number_text.h"

namespace mk::fuzzcheck {

inline constexpr const char* kNumberPatterns[] = {"0",     "0.0",    "0.00",   "0.000",  "0.0000", "0.00000", "0.0#",
                                                  "0.0##", "0.00#",  "0.00##", "0.000#", "#0.0",   "####"};

inline std::string Broken(const char* what, double value, std::string_view pattern, const std::string& text) {
  char head[160];
  std::snprintf(head, sizeof head, "%s (value %.17g, pattern \"%.*s\", text \"", what, value,
                static_cast<int>(pattern.size()), pattern.data());
  return head + text + "\")";
}

inline bool AllZeroDigits(const std::string& s) {
  for (char c : s) {
    if (c >= '1' && c <= '9') return false;
  }
  return true;
}

inline int PatternDecimals(std::string_view pattern) {
  const std::size_t point = pattern.find('.');
  if (point == std::string_view::npos) return 0;
  return static_cast<int>(pattern.size() - point - 1);
}

inline std::string CheckPattern(double value, std::string_view pattern) {
  const std::string text = FormatNumber(value, pattern);
  if (text.find_first_not_of("0123456789-.") != std::string::npos) return Broken("unexpected character", value, pattern, text);
  if (!std::isfinite(value)) {
    if (!text.empty()) return Broken("non-finite value printed", value, pattern, text);
    return std::string();
  }
  const int decimals = PatternDecimals(pattern);
  const double halfPlace = 0.5 * std::pow(10.0, -decimals);
  if (text.empty()) {
    if (pattern != "####" || std::fabs(value) > halfPlace * (1 + 1e-9)) return Broken("empty text", value, pattern, text);
    return std::string();
  }
  if (text[0] == '-' && AllZeroDigits(text)) return Broken("negative zero", value, pattern, text);
  if (text.find('-', 1) != std::string::npos) return Broken("misplaced minus", value, pattern, text);
  const std::size_t point = text.find('.');
  if (point != text.rfind('.')) return Broken("two decimal points", value, pattern, text);
  const int printedDecimals = point == std::string::npos ? 0 : static_cast<int>(text.size() - point - 1);
  if (printedDecimals > decimals) return Broken("too many decimals", value, pattern, text);
  const bool fixed = pattern.find('#') == std::string_view::npos;
  if (fixed && printedDecimals != decimals) return Broken("fixed pattern lost decimals", value, pattern, text);
  const std::size_t patternPoint = pattern.find('.');
  const bool zeroBeforePoint = patternPoint != std::string_view::npos && patternPoint > 0 && pattern[patternPoint - 1] == '0';
  if (zeroBeforePoint && point != std::string::npos && (point == 0 || text[point - 1] == '-')) {
    return Broken("missing digit before the point", value, pattern, text);
  }
  // Beyond 1e300 the printed digits overflow the parse, which then gives 0.
  if (std::fabs(value) < 1e300) {
    const double back = ParseLeadingNumber(text);
    const double tolerance = halfPlace * (1 + 1e-9) + 2e-14 * std::fabs(value);
    if (!(std::fabs(back - value) <= tolerance)) return Broken("does not read back", value, pattern, text);
  }
  return std::string();
}

inline std::string CheckGeneral(double value) {
  const std::string text = FormatGeneralNumber(value);
  if (text.size() < 3 || text.back() != ' ' || (text[0] != ' ' && text[0] != '-')) {
    return Broken("general form shape", value, "general", text);
  }
  std::string lower = text;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (lower.find("nan") != std::string::npos || lower.find("inf") != std::string::npos) {
    return Broken("general form broken number", value, "general", text);
  }
  if (text[0] == '-' && AllZeroDigits(text)) {
    return Broken("general negative zero", value, "general", text);
  }
  if (!std::isfinite(value)) {
    if (text != " 0 ") return Broken("general non-finite", value, "general", text);
    return std::string();
  }
  if (text.find_first_of("Ee") != std::string::npos)  // the parse reads no exponent
    return Broken("general form with an exponent", value, "general", text);
  const double back = ParseLeadingNumber(text);
  if (!(std::fabs(back - value) <= 1e-14 * std::fabs(value))) return Broken("general does not read back", value, "general", text);
  return std::string();
}

inline std::string CheckNumberValue(double value) {
  for (const char* pattern : kNumberPatterns) {
    if (std::string e = CheckPattern(value, pattern); !e.empty()) return e;
  }
  return CheckGeneral(value);
}

// A field's text: its parse, and the parsed value through every pattern.
inline std::string CheckNumberText(std::string_view text) {
  const double parsed = ParseLeadingNumber(text);
  if (!std::isfinite(parsed)) return Broken("parse gave a non-finite number", parsed, "parse", std::string(text));
  if (parsed == 0.0 && std::signbit(parsed)) return Broken("parse gave -0", parsed, "parse", std::string(text));
  return CheckNumberValue(parsed);
}

// One fuzzer input: its bytes as a field's text and, when there are at least
// eight, its first eight bytes as a double.
inline std::string CheckNumberInput(std::string_view bytes) {
  if (std::string e = CheckNumberText(bytes); !e.empty()) return e;
  if (bytes.size() < 8) return std::string();
  double bits = 0;
  std::memcpy(&bits, bytes.data(), sizeof bits);
  return CheckNumberValue(bits);
}

}  // namespace mk::fuzzcheck
