#include "dialogs/typed_numbers.h"

#include <gtest/gtest.h>

namespace vs {
namespace {

TEST(ReadThousandths, TruncatesTheTypedNumberTowardZero) {
  EXPECT_EQ(readThousandths("2.5"), 2500);
  EXPECT_EQ(readThousandths("-1.2345"), -1234);
  EXPECT_EQ(readThousandths("20.5"), 20500);
  EXPECT_EQ(readThousandths("1.001"), 1001);  // 1000.9999... in binary floating point
  EXPECT_EQ(readThousandths("-0.0009"), 0);
  EXPECT_EQ(readThousandths(".5"), 500);
  EXPECT_EQ(readThousandths("3."), 3000);
  EXPECT_EQ(readThousandths("+4"), 4000);
  EXPECT_EQ(readThousandths("2.5e1"), 25000);
  EXPECT_EQ(readThousandths("25e-3"), 25);
}

TEST(ReadThousandths, TakesTheLongestNumberPrefixOfTheFirstEightCharacters) {
  EXPECT_EQ(readThousandths(""), 0);
  EXPECT_EQ(readThousandths("abc"), 0);
  EXPECT_EQ(readThousandths("-"), 0);
  EXPECT_EQ(readThousandths("."), 0);
  EXPECT_EQ(readThousandths("   7.25"), 7250);
  EXPECT_EQ(readThousandths("2,5"), 2000);
  EXPECT_EQ(readThousandths("1e"), 1000);
  EXPECT_EQ(readThousandths("1e+x"), 1000);
  EXPECT_EQ(readThousandths("1.234567"), 1234);
  EXPECT_EQ(readThousandths("12.3456789"), 12345);  // "12.34567"
  EXPECT_EQ(readThousandths("1.2345e10"), 12345);   // the exponent lies past the eighth character
}

TEST(ReadThousandths, RefusesNumbersOutsideTheRegister) {
  EXPECT_EQ(readThousandths("32.767"), 32767);
  EXPECT_EQ(readThousandths("-32.768"), static_cast<std::int16_t>(-32768));
  EXPECT_EQ(readThousandths("32.7679"), 32767);
  EXPECT_FALSE(readThousandths("32.768"));
  EXPECT_FALSE(readThousandths("-32.769"));
  EXPECT_FALSE(readThousandths("99999999"));
  EXPECT_FALSE(readThousandths("1e999999"));
  EXPECT_EQ(readThousandths("1e-99999"), 0);
}

TEST(ReadThousandths, ReadsBackEveryValueAsItIsShown) {
  for (int value = -32768; value <= 32767; ++value) {
    const auto register16 = static_cast<std::int16_t>(value);
    ASSERT_EQ(readThousandths(formatThousandths(register16)), register16) << value;
  }
  EXPECT_EQ(formatThousandths(-1234), "-1.234");
  EXPECT_EQ(formatThousandths(2500, 2), "2.50");
}

TEST(ReadUnsigned16, ReadsDigitsAndRefusesWhatDoesNotFit) {
  EXPECT_EQ(readUnsigned16("0"), 0);
  EXPECT_EQ(readUnsigned16(" 120 "), 120);
  EXPECT_EQ(readUnsigned16("65535"), static_cast<std::int16_t>(-1));
  EXPECT_EQ(readUnsigned16("40000"), static_cast<std::int16_t>(40000 - 65536));
  EXPECT_EQ(readUnsigned16(""), 0);
  EXPECT_EQ(readUnsigned16("-5"), 0);
  EXPECT_EQ(readUnsigned16("12a"), 0);
  EXPECT_FALSE(readUnsigned16("65536"));
  EXPECT_FALSE(readUnsigned16("70000"));
  EXPECT_FALSE(readUnsigned16("99999999999999999999999"));
  // Gains and timers show their 16-bit pattern, so they read back unchanged.
  EXPECT_EQ(formatUnsigned16(-25536), "40000");
  EXPECT_EQ(readUnsigned16(formatUnsigned16(-25536)), -25536);
}

TEST(ReadRegisterValue, ReadsASignedPrefixWithinTheRegister) {
  EXPECT_EQ(readRegisterValue("-5"), -5);
  EXPECT_EQ(readRegisterValue("  +12xyz"), 12);
  EXPECT_EQ(readRegisterValue("abc"), 0);
  EXPECT_EQ(readRegisterValue(""), 0);
  EXPECT_EQ(readRegisterValue("65535"), -1);
  EXPECT_EQ(readRegisterValue("-32768"), static_cast<std::int16_t>(-32768));
  EXPECT_FALSE(readRegisterValue("65536"));
  EXPECT_FALSE(readRegisterValue("-32769"));
  EXPECT_FALSE(readRegisterValue("4294967301"));  // would wrap to 5 in 32 bits
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
