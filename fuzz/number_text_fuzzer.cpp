// Fuzz target: the leading-number parse and every number pattern.
// The input is read as a field's text; when it has at least eight bytes,
// its first eight are also taken as a double's bits (NaN, infinities,
// subnormals, huge values).  Properties:
//  - the parse gives a finite number and never -0;
//  - a pattern prints only digits, '-' and '.', never "nan"/"inf", never a
//    minus sign on a value that rounds to zero, and "" only for a non-finite
//    value (or "####" of a value that rounds to zero);
//  - a fixed pattern ("0.00") prints exactly its decimals;
//  - parsing the printed text gives back the value within half the last
//    printed place (plus the 15-significant-digit rounding);
//  - the general form is " x " or "-x ", never "-0", and reads back within
//    15 significant digits unless it took the exponent form.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "model/number_text.h"

namespace {

constexpr const char* kPatterns[] = {"0",     "0.0",    "0.00",  "0.000",  "0.0000", "0.00000", "0.0#",
                                     "0.0##", "0.00#",  "0.00##", "0.000#", "#0.0",   "####"};

[[noreturn]] void Fail(const char* what, double value, std::string_view pattern, const std::string& text) {
  std::fprintf(stderr, "property broken: %s (value %.17g, pattern \"%.*s\", text \"%s\")\n", what, value,
               static_cast<int>(pattern.size()), pattern.data(), text.c_str());
  std::abort();
}

bool AllZeroDigits(const std::string& s) {
  for (char c : s) {
    if (c >= '1' && c <= '9') return false;
  }
  return true;
}

int MaxDecimals(std::string_view pattern) {
  const std::size_t point = pattern.find('.');
  if (point == std::string_view::npos) return 0;
  return static_cast<int>(pattern.size() - point - 1);
}

bool IsFixed(std::string_view pattern) { return pattern.find('#') == std::string_view::npos; }

void CheckPattern(double value, std::string_view pattern) {
  const std::string text = mk::FormatNumber(value, pattern);
  if (text.find_first_not_of("0123456789-.") != std::string::npos) Fail("unexpected character", value, pattern, text);
  if (!std::isfinite(value)) {
    if (!text.empty()) Fail("non-finite value printed", value, pattern, text);
    return;
  }
  const int decimals = MaxDecimals(pattern);
  const double halfPlace = 0.5 * std::pow(10.0, -decimals);
  if (text.empty()) {
    if (pattern != "####" || std::fabs(value) > halfPlace * (1 + 1e-9)) Fail("empty text", value, pattern, text);
    return;
  }
  if (text[0] == '-' && AllZeroDigits(text)) Fail("negative zero", value, pattern, text);
  if (text.find('-', 1) != std::string::npos) Fail("misplaced minus", value, pattern, text);
  const std::size_t point = text.find('.');
  if (point != text.rfind('.')) Fail("two decimal points", value, pattern, text);
  const int printedDecimals = point == std::string::npos ? 0 : static_cast<int>(text.size() - point - 1);
  if (printedDecimals > decimals) Fail("too many decimals", value, pattern, text);
  if (IsFixed(pattern) && printedDecimals != decimals) Fail("fixed pattern lost decimals", value, pattern, text);
  if (point != std::string::npos && (point == 0 || text[point - 1] == '-') && pattern.front() != '#') {
    Fail("missing leading zero", value, pattern, text);
  }
  const double back = mk::ParseLeadingNumber(text);
  if (std::fabs(value) < 1e300) {  // beyond that the parse gives 0 for an overflow; checked separately
    const double tolerance = halfPlace * (1 + 1e-9) + 2e-14 * std::fabs(value);
    if (!(std::fabs(back - value) <= tolerance)) Fail("does not read back", value, pattern, text);
  }
}

void CheckGeneral(double value) {
  const std::string text = mk::FormatGeneralNumber(value);
  if (text.size() < 3 || text.back() != ' ' || (text[0] != ' ' && text[0] != '-')) {
    Fail("general form shape", value, "general", text);
  }
  const std::string lower = [&] {
    std::string s = text;
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
  }();
  if (lower.find("nan") != std::string::npos || lower.find("inf") != std::string::npos) {
    Fail("general form broken number", value, "general", text);
  }
  if (text[0] == '-' && AllZeroDigits(text.substr(0, text.find('E')))) Fail("general negative zero", value, "general", text);
  if (!std::isfinite(value)) {
    if (text != " 0 ") Fail("general non-finite", value, "general", text);
    return;
  }
  if (text.find('E') != std::string::npos) return;  // exponent form: the parse reads the mantissa only
  const double back = mk::ParseLeadingNumber(text);
  if (!(std::fabs(back - value) <= 1e-14 * std::fabs(value))) Fail("general does not read back", value, "general", text);
}

void CheckValue(double value) {
  for (const char* pattern : kPatterns) CheckPattern(value, pattern);
  CheckGeneral(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const double parsed = mk::ParseLeadingNumber(text);
  if (!std::isfinite(parsed)) Fail("parse gave a non-finite number", parsed, "parse", std::string(text));
  if (parsed == 0.0 && std::signbit(parsed)) Fail("parse gave -0", parsed, "parse", std::string(text));
  CheckValue(parsed);

  if (size >= 8) {
    double bits = 0;
    std::memcpy(&bits, data, sizeof bits);
    CheckValue(bits);
  }
  return 0;
}
