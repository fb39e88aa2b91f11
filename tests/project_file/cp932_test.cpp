#include <gtest/gtest.h>

#include <QByteArray>
#include <string>

#include "project_file/cp932.h"

namespace mk {
namespace {

QByteArray Hex(const char* hex) { return QByteArray::fromHex(hex); }

TEST(Cp932, WritesTheWindowsFormsOfTheCharactersThatDifferFromShiftJis) {
  struct Case {
    const char* text;
    const char* bytes;
  };
  const Case cases[] = {
      {"～", "8160"},          {"―", "815c"},          {"㍑", "8767"},
      {"･", "a5"},             {"ﾋｭｰﾑ", "cbadb0d1"},   {"∴", "8188"},
      {"①", "8740"},          {"φ", "83d3"},          {"VP - φ65", "5650202d2083d33635"},
      {"水深８.5割", "9085905b82572e358a84"},
  };
  for (const Case& c : cases) {
    const auto encoded = EncodeCp932(c.text);
    ASSERT_TRUE(encoded.has_value()) << c.text;
    EXPECT_EQ(encoded->toHex(), QByteArray(c.bytes)) << c.text;
    EXPECT_EQ(DecodeCp932(Hex(c.bytes)), c.text) << c.bytes;
  }
}

TEST(Cp932, NamesTheFirstCharacterItCannotHold) {
  std::string bad;
  EXPECT_FALSE(EncodeCp932("abc😀def", &bad).has_value());
  EXPECT_EQ(bad, "😀");
  EXPECT_FALSE(EncodeCp932("管径 ¥100", &bad).has_value());
  EXPECT_EQ(bad, "¥");
  EXPECT_FALSE(EncodeCp932("한", nullptr).has_value());  // no crash without a receiver
}

TEST(Cp932, AcceptsTheJisFormsThatOtherInputMethodsType) {
  // "〜" (WAVE DASH) and "−" (MINUS SIGN) are written as the code page's
  // "～" and "－" and read back in that form.
  const auto encoded = EncodeCp932("0.8〜3.0 −1");
  ASSERT_TRUE(encoded.has_value());
  EXPECT_EQ(*encoded, QByteArray("0.8\x81\x60" "3.0 \x81\x7c" "1"));
  EXPECT_EQ(DecodeCp932(*encoded), "0.8～3.0 －1");
}

TEST(Cp932, ControlCodesMapToThemselves) {
  // The Windows code page keeps 1A, 1C and 7F (the IBM table exchanges them).
  const std::string controls = "\x1a\x1c\x7f\t";
  EXPECT_EQ(EncodeCp932(controls).value(), QByteArray(controls.c_str()));
  EXPECT_EQ(DecodeCp932(QByteArray(controls.c_str())), controls);
  EXPECT_EQ(DecodeCp932(Hex("1a82a0")), "\x1aあ");
}

TEST(Cp932, BytesOutsideTheCodePageBecomeReplacementCharacters) {
  EXPECT_EQ(DecodeCp932(Hex("41ff42")), "A\xEF\xBF\xBD" "B");
  EXPECT_EQ(DecodeCp932(Hex("4182")), "A\xEF\xBF\xBD");        // lead byte cut off at the end
  EXPECT_EQ(DecodeCp932(Hex("8220")), "\xEF\xBF\xBD ");       // lead byte without its trail byte
  EXPECT_EQ(DecodeCp932(QByteArray()), "");
  EXPECT_EQ(EncodeCp932("").value(), QByteArray());
}

}  // namespace
}  // namespace mk
