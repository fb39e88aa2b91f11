#pragma once
// The two directions between a field's text and its number.
//
// ParseLeadingNumber reads a text box the way every calculation reads it:
// the longest leading part that is a decimal number, 0 when there is none.
// FormatNumber prints a number through a display pattern such as "0.0#",
// rounding half away from zero on the number's 15-significant-digit form.

#include <string>
#include <string_view>

namespace mk {

// Leading half-width blanks and tabs are skipped, then an optional sign and
// digits with at most one decimal point ("12", "12.", ".5").  No exponent;
// full-width digits are not digits.  Blank or non-numeric text gives 0.
double ParseLeadingNumber(std::string_view text);

// True when the text is empty (used by the checks that test emptiness, not zero).
inline bool IsEmptyText(std::string_view text) { return text.empty(); }

// Formats value with a pattern made of '0' (digit always shown), '#' (digit
// shown only when significant) and '.'.  Supported: "0", "0.0", "0.00",
// "0.000", "0.0000", "0.00000", "0.0#", "0.0##", "0.00#", "0.00##",
// "0.000#", "#0.0", "####" and any pattern of the same shape.
// "####" of a value that rounds to 0 gives "".  A value that rounds to zero
// never carries a minus sign.  Non-finite values print as "" so that a
// broken number never reaches a screen as "nan" or "inf".
std::string FormatNumber(double value, std::string_view pattern);

// The project file's general number form: up to 15 significant digits, no
// leading zero before the decimal point, a leading blank (or "-") and a
// trailing blank: 0.5 -> " .5 ", 100 -> " 100 ", -2.25 -> "-2.25 ".
std::string FormatGeneralNumber(double value);

}  // namespace mk
