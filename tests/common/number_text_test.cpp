#include "common/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

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
  std::vector<double> read;
  for (const char* word :
       {"3", " 1 2 ", "3\t\n\r", "- 5", "1 e 3", "11 .0592", "& H 1F", "S", "", "COM3"}) {
    read.push_back(ValFromCommandWord(word));
  }
  EXPECT_EQ(read, (std::vector<double>{3, 12, 3, -5, 1000, 11.0592, 31, 0, 0, 0}));
}

// --- Rounding ---------------------------------------------------------------------------------

/// RoundHalfEven of each value, to whole numbers when `decimals` is negative.
std::vector<double> Rounded(std::initializer_list<double> values, int decimals) {
  std::vector<double> rounded;
  for (const double value : values) {
    rounded.push_back(decimals < 0 ? RoundHalfEven(value) : RoundHalfEven(value, decimals));
  }
  return rounded;
}

TEST(RoundHalfEvenTest, WholeNumbersHalvesToEven) {
  // 999.5: F x 1000 - 0.5 gives F x 1000; 65514.674446: the reload value for 39.3 MHz.
  EXPECT_EQ(Rounded({0.5, 1.5, 2.5, 3.5, -2.5, -3.5, 2.4999999, 2.5000001, -0.4, 999.5,
                     65514.674446, 4503599627370497.0, 1e300, kInf, -kInf},
                    -1),
            (std::vector<double>{0, 2, 2, 4, -2, -4, 2, 3, 0, 1000, 65515, 4503599627370497.0,
                                 1e300, kInf, -kInf}));
  EXPECT_TRUE(std::isnan(RoundHalfEven(kNaN)));
}

TEST(RoundHalfEvenTest, DecimalPlacesJudgedOnTheDecimalDigits) {
  // 2.675 is binary 2.67499999... but typed 2.675. Then a clock at count 0, a sigma, ENOBs.
  EXPECT_EQ(Rounded({2.675, 0.125, 0.135, -2.675, 9.995, 1e20, 27.32192809488736,
                     17.356143810225277, 22.79836613883035},
                    2),
            (std::vector<double>{2.68, 0.12, 0.14, -2.68, 10, 1e20, 27.32, 17.36, 22.8}));
  EXPECT_EQ(Rounded({7.45, 7.35, 7.43, 0.05, 0.051, 39.30707868724, 1.5811388300841898}, 1),
            (std::vector<double>{7.4, 7.4, 7.4, 0, 0.1, 39.3, 1.6}));
  EXPECT_EQ(Rounded({0.6, 1234.5}, 0), (std::vector<double>{1, 1234}));
  EXPECT_EQ(Rounded({1e-9, 2.49999985, Volts(8388607), Volts(-4194304), Volts(1)}, 8),
            (std::vector<double>{0, 2.49999985, 2.49999985, -1.25000007, 0.0000003}));
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

TEST(GeneralTextTest, ShortestFixedFormWithAtMostFifteenDigitsOrScientific) {
  // 0.009765625: the full-scale range at 1.25 V, gain 128; then 0.1 + 0.2, 1/3, 2/3, -2/3.
  const double short_values[] = {11.0592, 1.8432,      10.0,   7.4,      -7.4, 24.0, 0.5,
                                 39.3,    0.009765625, 0.0001, 0.00001,  0.0,  -0.0, 1e20,
                                 1e15,    1.5e-7,      1e-6,   -2.5e-10, 1e100};
  const double long_values[] = {123456789012345.0,   0.30000000000000004,  0.33333333333333331,
                                0.66666666666666663, -0.66666666666666663, 99999999999999.99,
                                1234567890123456.0};
  std::string texts;
  for (const double value : short_values) texts += GeneralText(value) + " ";
  for (const double value : long_values) texts += GeneralText(value) + " ";
  EXPECT_EQ(texts,
            "11.0592 1.8432 10 7.4 -7.4 24 0.5 39.3 0.009765625 0.0001 0.00001 0 0 1E+20 1E+15 "
            "1.5E-07 1E-06 -2.5E-10 1E+100 123456789012345 0.3 0.333333333333333 0.666666666666667 "
            "-0.666666666666667 100000000000000 1.23456789012346E+15 ");
}

TEST(GeneralTextTest, ReadsBackAsTheSameNumber) {
  for (const double value : {11.0592, 1.8432, 7.4, 39.3, 0.009765625, 1e20, 1.5e-7, -123.456}) {
    EXPECT_EQ(ValFromText(GeneralText(value)), value) << GeneralText(value);
  }
}

// --- Fixed text -------------------------------------------------------------------------------

TEST(FixedTextTest, PatternWithEightDecimals) {
  // Volts(1) is one code; -0.000000005 rounds half to even: 0.
  const double values[] = {2.49999985, Volts(1), Volts(1193046), Volts(-4194304), Volts(-8388608),
                           0,          -0.0,     -0.000000001,   -0.000000005,    -0.000000015,
                           1.5e-7};
  std::string texts;
  for (const double value : values) texts += FixedText(value, 8) + " ";
  EXPECT_EQ(texts,
            "2.49999985 0.00000030 0.35555544 -1.25000007 -2.50000015 0.00000000 0.00000000 "
            "0.00000000 0.00000000 -0.00000002 0.00000015 ");
}

TEST(FixedTextTest, PatternWithThreeDecimalsAndOthers) {
  EXPECT_EQ(FixedText((0.125 - 0.115) / 0.000375 + 25, 3), "51.667");  // temperature
  EXPECT_EQ(FixedText((0.1 - 0.115) / 0.000375 + 25, 3), "-15.000");
  const std::pair<double, int> cases[] = {{25, 3},      {9.9996, 3}, {2.675, 2},
                                          {123.456, 1}, {0.05, 1},   {-0.06, 1},
                                          {0.5, 0},     {1.5, 0},    {1e20, 2}};
  std::string texts;
  for (const auto& [value, decimals] : cases) texts += FixedText(value, decimals) + " ";
  EXPECT_EQ(texts, "25.000 10.000 2.68 123.5 0.0 -0.1 0 2 100000000000000000000.00 ");
}

// --- Hex2 -------------------------------------------------------------------------------------

TEST(Hex2Test, UpperCaseAtLeastTwoDigits) {
  std::string texts;
  for (const int value : {0, 10, 15, 16, 99, 255, 256, 0xABCD, -1, -32768})
    texts += Hex2(value) + " ";
  EXPECT_EQ(texts, "00 0A 0F 10 63 FF 100 ABCD FFFF 8000 ");
}

}  // namespace
}  // namespace korvane
