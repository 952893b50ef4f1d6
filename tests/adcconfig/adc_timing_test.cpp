#include "adcconfig/adc_timing.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <utility>

#include "common/number_text.h"

namespace korvane {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(AdcTiming, ClockIsClampedToOneToThirtyTwoMegahertz) {
  const std::pair<const char*, double> cases[] = {
      {"1.843200", 1.8432}, {"0.5", 1.0},    {"40", 32.0},    {"1", 1.0},
      {"32", 32.0},         {"", 1.0},       {"MHz", 1.0},    {"-7", 1.0},
      {"&H1F", 31.0},       {"1e999", 32.0}, {"-1e999", 1.0}, {"31.99999999999999999", 32.0}};
  for (const auto& [typed, mhz] : cases) EXPECT_EQ(ClampClockMHz(ValFromText(typed)), mhz) << typed;
  EXPECT_EQ(ClampClockMHz(kNaN), 1.0);
  EXPECT_EQ(GeneralText(ClampClockMHz(ValFromText("1.843200"))), "1.8432");
  // More digits than the box shows: the value is the one the rewritten box reads back.
  const double long_clock = ClampClockMHz(ValFromText("1.23456789012345678"));
  EXPECT_EQ(GeneralText(long_clock), "1.23456789012346");
  EXPECT_EQ(long_clock, ValFromText(GeneralText(long_clock)));
}

TEST(AdcTiming, DividerRoundsJustBelowHalfUpAndStaysWithin0To128) {
  const std::pair<const char*, int> cases[] = {
      {"0", 0},       {"0.5", 0},     {"0.501", 1},  {"2.7", 3},
      {"127", 127},   {"127.6", 128}, {"200", 128},  {"70000", 128} /* beyond 16 bits */,
      {"1e999", 128}, {"-3", 0},      {"-1e999", 0}, {"abc", 0},
      {"&H10", 16}};
  for (const auto& [typed, divider] : cases) {
    EXPECT_EQ(ClockDivider(ValFromText(typed)), divider) << typed;
  }
  EXPECT_EQ(ClockDivider(kNaN), 0);
}

TEST(AdcTiming, DecimationOutside1To2047IsRefused) {
  const std::optional<int> refused;
  const std::pair<const char*, std::optional<int>> cases[] = {
      {"1920", 1920},
      {"2047", 2047},
      {"7", 7},
      {"1", 1},
      {"1.5", 2},
      {"2046.5", 2046},
      {"&H7FF", 2047},
      {"2048", refused},
      {"2047.5", refused} /* rounds to 2048 */,
      {"0", refused},
      {"0.5", refused} /* to 0 */,
      {"", refused},
      {"-1920", refused},
      {"4294969216", refused} /* 1920 above 2^32 */,
      {"1e999", refused}};
  for (const auto& [typed, decimation] : cases) {
    EXPECT_EQ(CheckedDecimation(ValFromText(typed)), decimation) << typed;
  }
  EXPECT_EQ(CheckedDecimation(kNaN), refused);
}

TEST(AdcTiming, ModulatorFrequencyDataRateAndPeriod) {
  const struct {
    double clock_mhz;
    int divider;
    int decimation;
    double modulator_khz, rate_hz, period_ms;
  } cases[] = {{1.8432, 0, 1920, 28.8, 15.0, 66.667},
               {11.0592, 0, 1920, 172.8, 90.0, 11.111},
               {1.8432, 2, 7, 9.6, 1371.429, 0.729},
               {1.0, 128, 2047, 0.1211, 0.059, 16903.386},  // the extremes of the clamped inputs
               {32.0, 0, 1, 500.0, 500000.0, 0.002}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.clock_mhz);
    EXPECT_EQ(ModulatorKHz(c.clock_mhz, c.divider), c.modulator_khz);
    EXPECT_EQ(DataRateHz(c.modulator_khz, c.decimation), c.rate_hz);
    EXPECT_EQ(DataPeriodMs(c.modulator_khz, c.decimation), c.period_ms);
  }
}

}  // namespace
}  // namespace korvane
