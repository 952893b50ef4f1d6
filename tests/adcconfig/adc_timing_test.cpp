#include "adcconfig/adc_timing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "common/number_text.h"

namespace korvane {
namespace {

double Typed(const char* text) {
  return ValFromText(text);
}

TEST(AdcTiming, ClockIsClampedToOneToThirtyTwoMegahertz) {
  EXPECT_EQ(ClampClockMHz(Typed("1.843200")), 1.8432);
  EXPECT_EQ(ClampClockMHz(Typed("0.5")), 1.0);
  EXPECT_EQ(ClampClockMHz(Typed("40")), 32.0);
  EXPECT_EQ(ClampClockMHz(Typed("1")), 1.0);
  EXPECT_EQ(ClampClockMHz(Typed("32")), 32.0);
  EXPECT_EQ(ClampClockMHz(Typed("")), 1.0);
  EXPECT_EQ(ClampClockMHz(Typed("MHz")), 1.0);
  EXPECT_EQ(ClampClockMHz(Typed("-7")), 1.0);
  EXPECT_EQ(ClampClockMHz(Typed("&H1F")), 31.0);
  EXPECT_EQ(ClampClockMHz(Typed("1e999")), 32.0);
  EXPECT_EQ(ClampClockMHz(Typed("-1e999")), 1.0);
  EXPECT_EQ(ClampClockMHz(std::numeric_limits<double>::quiet_NaN()), 1.0);
  EXPECT_EQ(GeneralText(ClampClockMHz(Typed("1.843200"))), "1.8432");

  // More digits than the box shows: the value is the one the rewritten box reads back.
  const double long_clock = ClampClockMHz(Typed("1.23456789012345678"));
  EXPECT_EQ(long_clock, Typed(GeneralText(long_clock).c_str()));
  EXPECT_EQ(GeneralText(long_clock), "1.23456789012346");
  const double almost_32 = ClampClockMHz(Typed("31.99999999999999999"));
  EXPECT_EQ(almost_32, 32.0);
}

TEST(AdcTiming, DividerRoundsJustBelowHalfUpAndStaysWithin0To128) {
  EXPECT_EQ(ClockDivider(Typed("0")), 0);
  EXPECT_EQ(ClockDivider(Typed("0.5")), 0);
  EXPECT_EQ(ClockDivider(Typed("0.501")), 1);
  EXPECT_EQ(ClockDivider(Typed("2.7")), 3);
  EXPECT_EQ(ClockDivider(Typed("127")), 127);
  EXPECT_EQ(ClockDivider(Typed("127.6")), 128);
  EXPECT_EQ(ClockDivider(Typed("200")), 128);
  EXPECT_EQ(ClockDivider(Typed("70000")), 128) << "too large for 16 bits";
  EXPECT_EQ(ClockDivider(Typed("1e999")), 128);
  EXPECT_EQ(ClockDivider(Typed("-3")), 0);
  EXPECT_EQ(ClockDivider(Typed("-1e999")), 0);
  EXPECT_EQ(ClockDivider(Typed("abc")), 0);
  EXPECT_EQ(ClockDivider(Typed("&H10")), 16);
  EXPECT_EQ(ClockDivider(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(AdcTiming, DecimationOutside1To2047IsRefused) {
  EXPECT_EQ(CheckedDecimation(Typed("1920")), 1920);
  EXPECT_EQ(CheckedDecimation(Typed("2047")), 2047);
  EXPECT_EQ(CheckedDecimation(Typed("7")), 7);
  EXPECT_EQ(CheckedDecimation(Typed("1")), 1);
  EXPECT_EQ(CheckedDecimation(Typed("1.5")), 2);
  EXPECT_EQ(CheckedDecimation(Typed("2046.5")), 2046);
  EXPECT_EQ(CheckedDecimation(Typed("&H7FF")), 2047);
  EXPECT_EQ(CheckedDecimation(Typed("2048")), std::nullopt);
  EXPECT_EQ(CheckedDecimation(Typed("2047.5")), std::nullopt) << "rounds to 2048";
  EXPECT_EQ(CheckedDecimation(Typed("0")), std::nullopt);
  EXPECT_EQ(CheckedDecimation(Typed("0.5")), std::nullopt) << "rounds to 0";
  EXPECT_EQ(CheckedDecimation(Typed("")), std::nullopt);
  EXPECT_EQ(CheckedDecimation(Typed("-1920")), std::nullopt);
  EXPECT_EQ(CheckedDecimation(Typed("4294969216")), std::nullopt) << "1920 above 2^32";
  EXPECT_EQ(CheckedDecimation(Typed("1e999")), std::nullopt);
  EXPECT_EQ(CheckedDecimation(std::numeric_limits<double>::quiet_NaN()), std::nullopt);
}

TEST(AdcTiming, ModulatorFrequencyDataRateAndPeriod) {
  EXPECT_EQ(ModulatorKHz(1.8432, 0), 28.8);
  EXPECT_EQ(DataRateHz(28.8, 1920), 15.0);
  EXPECT_EQ(DataPeriodMs(28.8, 1920), 66.667);
  EXPECT_EQ(ModulatorKHz(11.0592, 0), 172.8);
  EXPECT_EQ(DataRateHz(172.8, 1920), 90.0);
  EXPECT_EQ(DataPeriodMs(172.8, 1920), 11.111);
  EXPECT_EQ(ModulatorKHz(1.8432, 2), 9.6);
  EXPECT_EQ(DataRateHz(9.6, 7), 1371.429);
  EXPECT_EQ(DataPeriodMs(9.6, 7), 0.729);
  // The extremes of the clamped inputs.
  EXPECT_EQ(ModulatorKHz(1.0, 128), 0.1211);
  EXPECT_EQ(DataRateHz(0.1211, 2047), 0.059);
  EXPECT_EQ(DataPeriodMs(0.1211, 2047), 16903.386);
  EXPECT_EQ(ModulatorKHz(32.0, 0), 500.0);
  EXPECT_EQ(DataRateHz(500.0, 1), 500000.0);
  EXPECT_EQ(DataPeriodMs(500.0, 1), 0.002);
  EXPECT_GT(ModulatorKHz(1.0, 128), 0.0) << "no clamped input gives a frequency of zero";
}

}  // namespace
}  // namespace korvane
