#include "acquisition/reading_math.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace korvane {
namespace {

TEST(ReadingMath, BipolarCodesAreTwosComplement) {
  EXPECT_EQ(SignedCode(0x000000), 0);
  EXPECT_EQ(SignedCode(0x7FFFFF), 8388607);
  EXPECT_EQ(SignedCode(0x800000), -8388608);
  EXPECT_EQ(SignedCode(0xFFFFFF), -1);
  EXPECT_EQ(SignedCode(0x800001), -8388607);
}

TEST(ReadingMath, VoltsFollowGainAndRoundToEightDecimalsTiesToEven) {
  EXPECT_EQ(CodeVolts(0xFFFFFF, 2.5 / 16777215.0, 0), 2.5);  // unipolar full scale
  EXPECT_EQ(CodeVolts(250000, 1e-6, 1), 0.125);
  EXPECT_EQ(CodeVolts(1000000, 1e-6, 7), 0.0078125);
  EXPECT_EQ(CodeVolts(-1000000, 1e-6, 7), -0.0078125);
  // Halves of the last place go to the even neighbour.
  EXPECT_EQ(CodeVolts(1, 1.5e-8, 0), 2e-8);
  EXPECT_EQ(CodeVolts(1, 2.5e-8, 0), 2e-8);
  EXPECT_EQ(CodeVolts(-1, 2.5e-8, 0), -2e-8);
  EXPECT_EQ(CodeVolts(1, 2.6e-8, 0), 3e-8);
}

TEST(ReadingMath, DiodeTemperature) {
  EXPECT_EQ(DiodeCelsius(0.115), 25.0);
  EXPECT_EQ(DiodeCelsius(0.1), -15.0);
  EXPECT_EQ(DiodeCelsius(0.125), 51.667);
  EXPECT_EQ(DiodeCelsius(0.0), -281.667);
}

TEST(ReadingMath, MeterTextSignsOnlyNonZeroValues) {
  EXPECT_EQ(MeterText(0.0, 8), "0.00000000");
  EXPECT_EQ(MeterText(-0.0, 8), "0.00000000");
  EXPECT_EQ(MeterText(0.00000001, 8), "+0.00000001");
  EXPECT_EQ(MeterText(-0.00000001, 8), "-0.00000001");
  EXPECT_EQ(MeterText(2.5, 8), "+2.50000000");
  EXPECT_EQ(MeterText(-12.25, 8), "-12.25000000");
  EXPECT_EQ(MeterText(51.667, 3), "+51.667");
  EXPECT_EQ(MeterText(-15.0, 3), "-15.000");
  EXPECT_EQ(MeterText(0.0, 3), "0.000");
  EXPECT_EQ(MeterText(-281.667, 3), "-281.667");
}

TEST(ReadingMath, DecimalAndHexTexts) {
  EXPECT_EQ(HexText(0), "0");
  EXPECT_EQ(HexText(0x0000AB), "AB");
  EXPECT_EQ(HexText(0xFFFFFF), "FFFFFF");
  // A negative block mean shows as its 32-bit two's complement.
  EXPECT_EQ(HexText(-5), "FFFFFFFB");
  EXPECT_EQ(HexText(-8388608), "FF800000");
}

TEST(ReadingMath, OverloadAtFullScaleOnly) {
  EXPECT_EQ(OverloadOf(8388607, true), Overload::kPositive);
  EXPECT_EQ(OverloadOf(8388606, true), Overload::kNone);
  EXPECT_EQ(OverloadOf(-8388608, true), Overload::kNegative);
  EXPECT_EQ(OverloadOf(-8388607, true), Overload::kNone);
  EXPECT_EQ(OverloadOf(0, true), Overload::kNone);
  EXPECT_EQ(OverloadOf(16777215, false), Overload::kPositive);
  EXPECT_EQ(OverloadOf(16777214, false), Overload::kNone);
  EXPECT_EQ(OverloadOf(1, false), Overload::kNone);
  EXPECT_EQ(OverloadOf(0, false), Overload::kNegative);
  EXPECT_EQ(OverloadOf(-3, false), Overload::kNegative);
}

TEST(ReadingMath, DecimalTrackingMovesAHundredthOfTheWayRoundedTiesToEven) {
  EXPECT_EQ(TrackedDecimal(1000, 1100), 1001);
  EXPECT_EQ(TrackedDecimal(1000, 900), 999);
  EXPECT_EQ(TrackedDecimal(1000, 1049), 1000);
  EXPECT_EQ(TrackedDecimal(100, 150), 100);  // 100.5
  EXPECT_EQ(TrackedDecimal(101, 151), 102);  // 101.5
  EXPECT_EQ(TrackedDecimal(-100, -150), -100);
  EXPECT_EQ(TrackedDecimal(-8388608, 8388607), -8220836);
}

TEST(ReadingMath, PlotValueOfTheTemperatureInput) {
  EXPECT_EQ(PlotValue(DisplayMode::kVolts, true, 125000, 0.125), 51.667);
  EXPECT_EQ(PlotValue(DisplayMode::kHex, true, 125000, 0.125), 51.667);
  EXPECT_EQ(PlotValue(DisplayMode::kDecimal, true, 125000, 0.125), 125.0);
}

}  // namespace
}  // namespace korvane
