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

// --- Rounding ---------------------------------------------------------------------------------

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

// --- Fixed text -------------------------------------------------------------------------------

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

}  // namespace
}  // namespace korvane
