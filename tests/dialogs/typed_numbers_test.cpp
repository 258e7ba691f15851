#include "dialogs/typed_numbers.h"

#include <gtest/gtest.h>

namespace vs {
namespace {

// A reader's answer as one word: the value to send or the reason for none.
std::string said(TypedNumber number) {
  switch (number.fault) {
    case TypedNumber::Fault::NotANumber: return "not a number";
    case TypedNumber::Fault::OutOfRange: return "out of range";
    default: return std::to_string(number.value);
  }
}

std::string thousandths(std::string_view text) { return said(readThousandths(text)); }
std::string unsigned16(std::string_view text) { return said(readUnsigned16(text)); }
std::string registerValue(std::string_view text) { return said(readRegisterValue(text)); }

TEST(ReadThousandths, TruncatesTheTypedNumberTowardZero) {
  EXPECT_EQ(thousandths("2.5"), "2500");
  EXPECT_EQ(thousandths("-1.2345"), "-1234");
  EXPECT_EQ(thousandths("20.5"), "20500");
  EXPECT_EQ(thousandths("1.001"), "1001");  // 1000.9999... in binary floating point
  EXPECT_EQ(thousandths("-0.0009"), "0");
  EXPECT_EQ(thousandths(".5"), "500");
  EXPECT_EQ(thousandths("3."), "3000");
  EXPECT_EQ(thousandths("+4"), "4000");
  EXPECT_EQ(thousandths("2.5e1"), "25000");
  EXPECT_EQ(thousandths("25e-3"), "25");
  EXPECT_EQ(thousandths("   7.25 "), "7250");
  EXPECT_EQ(thousandths(""), "0");
  EXPECT_EQ(thousandths("1.2345e10"), "out of range");  // read whole, however long
  EXPECT_EQ(thousandths("00000000002.5"), "2500");
}

// Many keyboards and locales write the decimal comma: it is the same number,
// never 25 and never 2.
TEST(ReadThousandths, TakesACommaAsTheDecimalSeparator) {
  EXPECT_EQ(thousandths("2,5"), "2500");
  EXPECT_EQ(thousandths("-1,2345"), "-1234");
  EXPECT_EQ(thousandths(",75"), "750");
  EXPECT_EQ(thousandths("2,5e1"), "25000");
}

TEST(ReadThousandths, RefusesTextThatIsNotWhollyANumber) {
  for (const char* text : {"abc", "-", ".", ",", "2,5,0", "2.5.0", "1,000.5", "2 5", "2x5", "2.5x",
                           "1e", "1e+", "1e+x", "--1", "2.5 in"}) {
    EXPECT_EQ(thousandths(text), "not a number") << text;
  }
}

TEST(ReadThousandths, RefusesNumbersOutsideTheRegister) {
  EXPECT_EQ(thousandths("32.767"), "32767");
  EXPECT_EQ(thousandths("-32.768"), "-32768");
  EXPECT_EQ(thousandths("32.7679"), "32767");
  EXPECT_EQ(thousandths("32.768"), "out of range");
  EXPECT_EQ(thousandths("-32,769"), "out of range");
  EXPECT_EQ(thousandths("99999999"), "out of range");
  EXPECT_EQ(thousandths("1e999999"), "out of range");
  EXPECT_EQ(thousandths("1e-99999"), "0");
}

TEST(ReadThousandths, ReadsBackEveryValueAsItIsShown) {
  for (int value = -32768; value <= 32767; ++value) {
    const auto register16 = static_cast<std::int16_t>(value);
    ASSERT_EQ(thousandths(formatThousandths(register16)), std::to_string(value)) << value;
  }
  EXPECT_EQ(formatThousandths(-1234), "-1.234");
  EXPECT_EQ(formatThousandths(2500, 2), "2.50");
}

// A whole-number field refuses a decimal rather than read it as its digits.
TEST(ReadUnsigned16, ReadsWholeNumbersAndRefusesTheRest) {
  EXPECT_EQ(unsigned16("0"), "0");
  EXPECT_EQ(unsigned16(" 120 "), "120");
  EXPECT_EQ(unsigned16("65535"), "-1");
  EXPECT_EQ(unsigned16("40000"), std::to_string(40000 - 65536));
  EXPECT_EQ(unsigned16(""), "0");
  for (const char* text : {"2,5", "2.5", "12a", "x7", "1 2", "+", "0x10"}) {
    EXPECT_EQ(unsigned16(text), "not a number") << text;
  }
  EXPECT_EQ(unsigned16("-5"), "out of range");
  EXPECT_EQ(unsigned16("65536"), "out of range");
  EXPECT_EQ(unsigned16("99999999999999999999999"), "out of range");
  // Gains and timers show their 16-bit pattern, so they read back unchanged.
  EXPECT_EQ(formatUnsigned16(-25536), "40000");
  EXPECT_EQ(unsigned16(formatUnsigned16(-25536)), "-25536");
}

TEST(ReadRegisterValue, ReadsASignedWholeNumberWithinTheRegister) {
  EXPECT_EQ(registerValue("-5"), "-5");
  EXPECT_EQ(registerValue("  +12 "), "12");
  EXPECT_EQ(registerValue(""), "0");
  EXPECT_EQ(registerValue("65535"), "-1");
  EXPECT_EQ(registerValue("-32768"), "-32768");
  EXPECT_EQ(registerValue("00000000000005"), "5");
  for (const char* text : {"2,5", "2.5", "abc", "12xyz", "- 5"}) {
    EXPECT_EQ(registerValue(text), "not a number") << text;
  }
  EXPECT_EQ(registerValue("65536"), "out of range");
  EXPECT_EQ(registerValue("-32769"), "out of range");
  EXPECT_EQ(registerValue("4294967301"), "out of range");  // would wrap to 5 in 32 bits
}

TEST(ReadWholeNumber, AcceptsLeadingZerosAndNothingElse) {
  EXPECT_EQ(readWholeNumber("07391"), 7391u);
  EXPECT_EQ(readWholeNumber("4294967295"), 4294967295u);
  EXPECT_FALSE(readWholeNumber(""));
  EXPECT_FALSE(readWholeNumber("12 34"));
  EXPECT_FALSE(readWholeNumber("4294967296"));
  EXPECT_FALSE(readWholeNumber("4294974687"));  // 7391 + 2^32
}

}  // namespace
}  // namespace vs
