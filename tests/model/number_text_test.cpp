#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "model/number_text.h"

namespace mk {
namespace {

TEST(LeadingNumberParse, ReadsTheLongestLeadingNumber) {
  EXPECT_DOUBLE_EQ(ParseLeadingNumber("12abc"), 12.0);
  EXPECT_DOUBLE_EQ(ParseLeadingNumber("500m2"), 500.0);
  EXPECT_DOUBLE_EQ(ParseLeadingNumber("0.3mm"), 0.3);
  EXPECT_DOUBLE_EQ(ParseLeadingNumber("12."), 12.0);
  EXPECT_DOUBLE_EQ(ParseLeadingNumber(".5"), 0.5);
  EXPECT_DOUBLE_EQ(ParseLeadingNumber("-2.5x"), -2.5);
  EXPECT_DOUBLE_EQ(ParseLeadingNumber("1.2.3"), 1.2);
}

TEST(LeadingNumberParse, SkipsLeadingBlanksAsTheProjectFileWritesThem) {
  EXPECT_DOUBLE_EQ(ParseLeadingNumber(" 57 "), 57.0);
  EXPECT_DOUBLE_EQ(ParseLeadingNumber(" .5 "), 0.5);
  EXPECT_DOUBLE_EQ(ParseLeadingNumber("\t3"), 3.0);
}

TEST(LeadingNumberParse, NonNumbersGiveZero) {
  EXPECT_EQ(ParseLeadingNumber(""), 0.0);
  EXPECT_EQ(ParseLeadingNumber("abc"), 0.0);
  EXPECT_EQ(ParseLeadingNumber("m2 500"), 0.0);
  EXPECT_EQ(ParseLeadingNumber("１２"), 0.0);         // full-width digits
  EXPECT_EQ(ParseLeadingNumber("\xE3\x80\x80" "5"), 0.0);  // full-width blank
  EXPECT_EQ(ParseLeadingNumber("-"), 0.0);
  EXPECT_EQ(ParseLeadingNumber("."), 0.0);
  EXPECT_DOUBLE_EQ(ParseLeadingNumber("1e3"), 1.0);  // no exponent
  EXPECT_FALSE(std::signbit(ParseLeadingNumber("-0")));
}

TEST(LeadingNumberParse, HugeDigitStringsDoNotOverflowToInfinity) {
  const std::string huge(400, '9');
  EXPECT_EQ(ParseLeadingNumber(huge), 0.0);
}

struct PatternCase {
  double value;
  const char* pattern;
  const char* expected;
};

TEST(NumberPattern, RoundsTheFifteenDigitDecimalHalfAwayFromZero) {
  const PatternCase cases[] = {
      {2.675, "0.00", "2.68"},     {0.125, "0.00", "0.13"},     {1.005, "0.00", "1.01"},
      {-2.675, "0.00", "-2.68"},   {0.375, "0.0##", "0.375"},   {0.8, "0.0##", "0.8"},
      {0.78333, "0.0##", "0.783"}, {1.5, "0.00##", "1.50"},     {23.6505, "0.0#", "23.65"},
      {7.5, "0.0#", "7.5"},        {0.005787, "0.0000", "0.0058"}, {55.36, "0.0", "55.4"},
      {2000, "0.00", "2000.00"},   {0.2, "0.000", "0.200"},     {1.1, "0.0#", "1.1"},
      {1.0, "0.0#", "1.0"},        {0.9, "0.00#", "0.90"},      {0.0258, "0.000#", "0.0258"},
      {3.0, "#0.0", "3.0"},        {0.5, "#0.0", "0.5"},        {25.8, "#0.0", "25.8"},
      {0.000347222, "0.00000", "0.00035"}, {540.4, "0", "540"}, {540.5, "0", "541"},
      {9.9999, "0.00", "10.00"},   {99.995, "0.0#", "100.0"},   {0.0, "0.0000", "0.0000"},
      {2600, "####", "2600"},      {0.4, "####", ""},           {0.0004, "####", ""},
      {1.4, "0.0##", "1.4"},       {100.0, "0.000", "100.000"}, {1e-20, "0.0000", "0.0000"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatNumber(c.value, c.pattern), c.expected) << c.value << " as " << c.pattern;
  }
}

TEST(NumberPattern, NeverPrintsNegativeZeroOrNonFiniteValues) {
  EXPECT_EQ(FormatNumber(-0.00001, "0.0000"), "0.0000");
  EXPECT_EQ(FormatNumber(-0.0, "0.00"), "0.00");
  EXPECT_EQ(FormatNumber(-0.3, "####"), "");
  EXPECT_EQ(FormatNumber(-0.004, "0.0#"), "0.0");
  EXPECT_EQ(FormatNumber(std::nan(""), "0.0000"), "");
  EXPECT_EQ(FormatNumber(1.0 / 0.0, "0.0"), "");
}

TEST(NumberPattern, LargeAndTinyMagnitudes) {
  EXPECT_EQ(FormatNumber(3917297, "0.00"), "3917297.00");
  EXPECT_EQ(FormatNumber(391.7297, "0.000"), "391.730");
  EXPECT_EQ(FormatNumber(1e15, "0"), "1000000000000000");
  EXPECT_EQ(FormatNumber(0.00004999, "0.0000"), "0.0000");
  EXPECT_EQ(FormatNumber(0.00005, "0.0000"), "0.0001");
}

TEST(GeneralNumberForm, MatchesTheProjectFileLayout) {
  EXPECT_EQ(FormatGeneralNumber(0.5), " .5 ");
  EXPECT_EQ(FormatGeneralNumber(100), " 100 ");
  EXPECT_EQ(FormatGeneralNumber(-2.25), "-2.25 ");
  EXPECT_EQ(FormatGeneralNumber(-0.5), "-.5 ");
  EXPECT_EQ(FormatGeneralNumber(0), " 0 ");
  EXPECT_EQ(FormatGeneralNumber(0.1 + 0.2), " .3 ");
  EXPECT_EQ(FormatGeneralNumber(1.25), " 1.25 ");
}

TEST(GeneralNumberForm, NeverUsesAnExponentSoTheParseReadsItBack) {
  EXPECT_EQ(FormatGeneralNumber(0.00005), " .00005 ");
  EXPECT_EQ(FormatGeneralNumber(-0.00005), "-.00005 ");
  EXPECT_EQ(FormatGeneralNumber(1e20), " 100000000000000000000 ");
  for (double v : {0.00005, 1.5e-9, 123456.789, 1e16, -3.25e-7}) {
    EXPECT_DOUBLE_EQ(ParseLeadingNumber(FormatGeneralNumber(v)), v) << v;
  }
}

}  // namespace
}  // namespace mk
