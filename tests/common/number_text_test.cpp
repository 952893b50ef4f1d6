#include "common/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace korvane {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr std::int64_t kMin64 = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kMax64 = std::numeric_limits<std::int64_t>::max();

// Volts of a signed code at bipolar 2.5 V reference, gain 1.
double Volts(int code) {
  return code * 5.0 / 16777215.0;
}

// --- Text-box reading -------------------------------------------------------------------------

TEST(ValFromTextTest, ReadsTheLeadingDecimalOrAmpersandHNumber) {
  // "," is never a decimal point, only leading blanks are skipped, and "&H" digits are unsigned
  // (&HFFFF is 65535, not the 16-bit -1).
  const struct {
    const char* text;
    double value;
  } cases[] = {
      {"11.0592", 11.0592}, {"  42", 42.0},     {"\t 7", 7.0},
      {"+5", 5.0},          {"-3.5", -3.5},     {".5", 0.5},
      {"5.", 5.0},          {"-.25", -0.25},    {"0007", 7.0},
      {"12abc", 12.0},      {"1.2.3", 1.2},     {"1,5", 1.0},
      {"1 2", 1.0},         {"39.3 MHz", 39.3}, {"+-5", 0.0},
      {"- 5", 0.0},         {"1e3", 1000.0},    {"1E-2", 0.01},
      {"2.5e+1x", 25.0},    {".5e1", 5.0},      {"12E", 12.0},
      {"1e+", 1.0},         {"1e-x", 1.0},      {"e5", 0.0},
      {"&H1F", 31.0},       {"&hff", 255.0},    {"  &H10", 16.0},
      {"&HFFFF", 65535.0},  {"&H7fz", 127.0},   {"&H", 0.0},
      {"&HZZ", 0.0},        {"&X10", 0.0},      {"&HFFFFFFFFFFFFFFFF", 18446744073709551615.0}};
  for (const auto& c : cases) EXPECT_EQ(ValFromText(c.text), c.value) << '"' << c.text << '"';
}

TEST(ValFromTextTest, NoNumberGivesZero) {
  for (const char* text : {"", "   ", "abc", "-", "+", ".", "-.", "..5", "E3"}) {
    const double value = ValFromText(text);
    EXPECT_EQ(value, 0.0) << '"' << text << '"';
    EXPECT_FALSE(std::signbit(value)) << '"' << text << '"';
  }
  EXPECT_FALSE(std::signbit(ValFromText("-0")));
  EXPECT_FALSE(std::signbit(ValFromText("-0.000")));
}

TEST(ValFromTextTest, ExtremeMagnitudes) {
  EXPECT_EQ(ValFromText("1e400"), kInf);
  EXPECT_EQ(ValFromText("-1e400"), -kInf);
  EXPECT_EQ(ValFromText("1e99999999999999999999"), kInf);
  EXPECT_EQ(ValFromText("1e-400"), 0.0);
  EXPECT_EQ(ValFromText("0.0000001e-99999999999999999999"), 0.0);
  EXPECT_EQ(ValFromText("0.1000000000000000055511151231257827"), 0.1);
  EXPECT_EQ(ValFromText("1" + std::string(400, '0')), kInf);
  EXPECT_EQ(ValFromText("0." + std::string(400, '0') + "1"), 0.0);
  EXPECT_EQ(ValFromText("0." + std::string(400, '0') + "1e401"), 1.0);
  EXPECT_EQ(ValFromText("1" + std::string(400, '0') + "e-500"), 1e-100);
}

TEST(ValFromTextTest, ArbitraryBytesAreHarmless) {
  EXPECT_EQ(ValFromText(std::string{'1', '2', '\0', '3', '4'}), 12.0);
  EXPECT_EQ(ValFromText(std::string{'\0', '1', '2'}), 0.0);
  EXPECT_EQ(ValFromText(std::string{'\xff', '\x80', '1', '2'}), 0.0);
  EXPECT_EQ(ValFromText("3\xc2\xb5"), 3.0);
  std::string all;
  for (int c = 0; c < 256; ++c) all.push_back(static_cast<char>(c));
  EXPECT_EQ(ValFromText(all), 0.0);
}

// --- Command-line reading ---------------------------------------------------------------------

TEST(ValFromCommandWordTest, IgnoresBlanksTabsAndLineFeedsAnywhere) {
  EXPECT_EQ(ValFromCommandWord("3"), 3.0);
  EXPECT_EQ(ValFromCommandWord(" 1 2 "), 12.0);
  EXPECT_EQ(ValFromCommandWord("3\t\n\r"), 3.0);
  EXPECT_EQ(ValFromCommandWord("- 5"), -5.0);
  EXPECT_EQ(ValFromCommandWord("1 e 3"), 1000.0);
  EXPECT_EQ(ValFromCommandWord("11 .0592"), 11.0592);
  EXPECT_EQ(ValFromCommandWord("& H 1F"), 31.0);
  EXPECT_EQ(ValFromCommandWord("S"), 0.0);
  EXPECT_EQ(ValFromCommandWord(""), 0.0);
  EXPECT_EQ(ValFromCommandWord("COM3"), 0.0);
}

// --- Rounding ---------------------------------------------------------------------------------

TEST(RoundHalfEvenTest, WholeNumbersHalvesToEven) {
  EXPECT_EQ(RoundHalfEven(0.5), 0.0);
  EXPECT_EQ(RoundHalfEven(1.5), 2.0);
  EXPECT_EQ(RoundHalfEven(2.5), 2.0);
  EXPECT_EQ(RoundHalfEven(3.5), 4.0);
  EXPECT_EQ(RoundHalfEven(-2.5), -2.0);
  EXPECT_EQ(RoundHalfEven(-3.5), -4.0);
  EXPECT_EQ(RoundHalfEven(2.4999999), 2.0);
  EXPECT_EQ(RoundHalfEven(2.5000001), 3.0);
  EXPECT_EQ(RoundHalfEven(-0.4), 0.0);
  EXPECT_EQ(RoundHalfEven(999.5), 1000.0);          // F x 1000 - 0.5 gives F x 1000
  EXPECT_EQ(RoundHalfEven(65514.674446), 65515.0);  // reload value for 39.3 MHz
  EXPECT_EQ(RoundHalfEven(4503599627370497.0), 4503599627370497.0);
  EXPECT_EQ(RoundHalfEven(1e300), 1e300);
  EXPECT_EQ(RoundHalfEven(kInf), kInf);
  EXPECT_EQ(RoundHalfEven(-kInf), -kInf);
  EXPECT_TRUE(std::isnan(RoundHalfEven(kNaN)));
}

TEST(RoundHalfEvenTest, DecimalPlacesJudgedOnTheDecimalDigits) {
  EXPECT_EQ(RoundHalfEven(2.675, 2), 2.68);  // binary 2.67499999... but typed 2.675
  EXPECT_EQ(RoundHalfEven(0.125, 2), 0.12);
  EXPECT_EQ(RoundHalfEven(0.135, 2), 0.14);
  EXPECT_EQ(RoundHalfEven(-2.675, 2), -2.68);
  EXPECT_EQ(RoundHalfEven(7.45, 1), 7.4);
  EXPECT_EQ(RoundHalfEven(7.35, 1), 7.4);
  EXPECT_EQ(RoundHalfEven(7.43, 1), 7.4);
  EXPECT_EQ(RoundHalfEven(39.30707868724, 1), 39.3);      // clock at count 0
  EXPECT_EQ(RoundHalfEven(1.5811388300841898, 1), 1.6);   // sigma
  EXPECT_EQ(RoundHalfEven(27.32192809488736, 2), 27.32);  // ENOB at sigma 0.1
  EXPECT_EQ(RoundHalfEven(17.356143810225277, 2), 17.36);
  EXPECT_EQ(RoundHalfEven(22.79836613883035, 2), 22.8);
  EXPECT_EQ(RoundHalfEven(9.995, 2), 10.0);
  EXPECT_EQ(RoundHalfEven(0.05, 1), 0.0);
  EXPECT_EQ(RoundHalfEven(0.051, 1), 0.1);
  EXPECT_EQ(RoundHalfEven(0.6, 0), 1.0);
  EXPECT_EQ(RoundHalfEven(1234.5, 0), 1234.0);
  EXPECT_EQ(RoundHalfEven(1e-9, 8), 0.0);
  EXPECT_EQ(RoundHalfEven(1e20, 2), 1e20);
  EXPECT_EQ(RoundHalfEven(2.49999985, 8), 2.49999985);
  EXPECT_EQ(RoundHalfEven(Volts(8388607), 8), 2.49999985);
  EXPECT_EQ(RoundHalfEven(Volts(-4194304), 8), -1.25000007);
  EXPECT_EQ(RoundHalfEven(Volts(1), 8), 0.0000003);
  EXPECT_EQ(RoundHalfEven(0.1 + 0.2, 15), 0.3);
  EXPECT_EQ(RoundHalfEven(kInf, 3), kInf);
  EXPECT_TRUE(std::isnan(RoundHalfEven(kNaN, 3)));
}

TEST(RoundHalfEvenTest, InRangeAndClamped) {
  EXPECT_EQ(RoundedInRange(2.5, 1, 256), 2);
  EXPECT_EQ(RoundedInRange(256.5, 1, 256), 256);
  EXPECT_EQ(RoundedInRange(256.6, 1, 256), std::nullopt);
  EXPECT_EQ(RoundedInRange(0.5, 1, 256), std::nullopt);
  EXPECT_EQ(RoundedInRange(-32768.4, -32768, 32767), -32768);
  EXPECT_EQ(RoundedInRange(1e19, kMin64, kMax64), std::nullopt);
  EXPECT_EQ(RoundedInRange(-9223372036854775808.0, kMin64, kMax64), kMin64);
  EXPECT_EQ(RoundedInRange(kNaN, kMin64, kMax64), std::nullopt);
  EXPECT_EQ(RoundedInRange(kInf, kMin64, kMax64), std::nullopt);

  EXPECT_EQ(RoundClamped(1.5, 2, 5000), 2);
  EXPECT_EQ(RoundClamped(100.5, 1, 255), 100);
  EXPECT_EQ(RoundClamped(5000.5, 2, 5000), 5000);
  EXPECT_EQ(RoundClamped(1e10, 2, 5000), 5000);
  EXPECT_EQ(RoundClamped(1e300, kMin64, kMax64), kMax64);
  EXPECT_EQ(RoundClamped(-1e300, kMin64, kMax64), kMin64);
  EXPECT_EQ(RoundClamped(kInf, 2, 5000), 5000);
  EXPECT_EQ(RoundClamped(-kInf, 2, 5000), 2);
  EXPECT_EQ(RoundClamped(kNaN, 2, 5000), 2);
}

// --- General text -----------------------------------------------------------------------------

TEST(GeneralTextTest, ShortestFixedForm) {
  EXPECT_EQ(GeneralText(11.0592), "11.0592");
  EXPECT_EQ(GeneralText(1.8432), "1.8432");
  EXPECT_EQ(GeneralText(10), "10");
  EXPECT_EQ(GeneralText(7.4), "7.4");
  EXPECT_EQ(GeneralText(-7.4), "-7.4");
  EXPECT_EQ(GeneralText(24), "24");
  EXPECT_EQ(GeneralText(0.5), "0.5");
  EXPECT_EQ(GeneralText(39.3), "39.3");
  EXPECT_EQ(GeneralText(1.25 / 128), "0.009765625");  // full-scale range at 1.25 V, gain 128
  EXPECT_EQ(GeneralText(0.0001), "0.0001");
  EXPECT_EQ(GeneralText(0.00001), "0.00001");
  EXPECT_EQ(GeneralText(123456789012345.0), "123456789012345");
  EXPECT_EQ(GeneralText(0.0), "0");
  EXPECT_EQ(GeneralText(-0.0), "0");
}

TEST(GeneralTextTest, AtMostFifteenSignificantDigits) {
  EXPECT_EQ(GeneralText(0.1 + 0.2), "0.3");
  EXPECT_EQ(GeneralText(1.0 / 3.0), "0.333333333333333");
  EXPECT_EQ(GeneralText(2.0 / 3.0), "0.666666666666667");
  EXPECT_EQ(GeneralText(-2.0 / 3.0), "-0.666666666666667");
  EXPECT_EQ(GeneralText(99999999999999.99), "100000000000000");
}

TEST(GeneralTextTest, ScientificOutsideTheFixedRange) {
  EXPECT_EQ(GeneralText(1e20), "1E+20");
  EXPECT_EQ(GeneralText(1e15), "1E+15");
  EXPECT_EQ(GeneralText(1234567890123456.0), "1.23456789012346E+15");
  EXPECT_EQ(GeneralText(1.5e-7), "1.5E-07");
  EXPECT_EQ(GeneralText(1e-6), "1E-06");
  EXPECT_EQ(GeneralText(-2.5e-10), "-2.5E-10");
  EXPECT_EQ(GeneralText(1e100), "1E+100");
}

TEST(GeneralTextTest, ReadsBackAsTheSameNumber) {
  for (const double value : {11.0592, 1.8432, 7.4, 39.3, 0.009765625, 1e20, 1.5e-7, -123.456}) {
    EXPECT_EQ(ValFromText(GeneralText(value)), value) << GeneralText(value);
  }
}

// --- Fixed text -------------------------------------------------------------------------------

TEST(FixedTextTest, PatternWithEightDecimals) {
  EXPECT_EQ(FixedText(2.49999985, 8), "2.49999985");
  EXPECT_EQ(FixedText(Volts(1), 8), "0.00000030");  // one code
  EXPECT_EQ(FixedText(Volts(1193046), 8), "0.35555544");
  EXPECT_EQ(FixedText(Volts(-4194304), 8), "-1.25000007");
  EXPECT_EQ(FixedText(Volts(-8388608), 8), "-2.50000015");
  EXPECT_EQ(FixedText(0, 8), "0.00000000");
  EXPECT_EQ(FixedText(-0.0, 8), "0.00000000");
  EXPECT_EQ(FixedText(-0.000000001, 8), "0.00000000");
  EXPECT_EQ(FixedText(-0.000000005, 8), "0.00000000");  // half to even: 0
  EXPECT_EQ(FixedText(-0.000000015, 8), "-0.00000002");
}

TEST(FixedTextTest, PatternWithThreeDecimalsAndOthers) {
  EXPECT_EQ(FixedText(25, 3), "25.000");
  EXPECT_EQ(FixedText((0.125 - 0.115) / 0.000375 + 25, 3), "51.667");  // temperature
  EXPECT_EQ(FixedText((0.1 - 0.115) / 0.000375 + 25, 3), "-15.000");
  EXPECT_EQ(FixedText(9.9996, 3), "10.000");
  EXPECT_EQ(FixedText(2.675, 2), "2.68");
  EXPECT_EQ(FixedText(123.456, 1), "123.5");
  EXPECT_EQ(FixedText(0.05, 1), "0.0");
  EXPECT_EQ(FixedText(-0.06, 1), "-0.1");
  EXPECT_EQ(FixedText(0.5, 0), "0");
  EXPECT_EQ(FixedText(1.5, 0), "2");
  EXPECT_EQ(FixedText(1e20, 2), "100000000000000000000.00");
  EXPECT_EQ(FixedText(1.5e-7, 8), "0.00000015");
}

// --- Hex2 -------------------------------------------------------------------------------------

TEST(Hex2Test, UpperCaseAtLeastTwoDigits) {
  EXPECT_EQ(Hex2(0), "00");
  EXPECT_EQ(Hex2(10), "0A");
  EXPECT_EQ(Hex2(15), "0F");
  EXPECT_EQ(Hex2(16), "10");
  EXPECT_EQ(Hex2(99), "63");
  EXPECT_EQ(Hex2(255), "FF");
  EXPECT_EQ(Hex2(256), "100");
  EXPECT_EQ(Hex2(0xABCD), "ABCD");
  EXPECT_EQ(Hex2(-1), "FFFF");
  EXPECT_EQ(Hex2(-32768), "8000");
}

}  // namespace
}  // namespace korvane
