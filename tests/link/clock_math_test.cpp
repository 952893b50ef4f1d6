#include "link/clock_math.h"

#include <gtest/gtest.h>

#include <cmath>

#include "common/number_text.h"

namespace korvane {
namespace {

TEST(ClockMath, LinkSpeedTable) {
  struct Row {
    double mhz;
    int rate;
    int reload;
  };
  const Row rows[] = {{11.0592, 57600, 65530}, {1.8432, 57600, 65535}, {7.3728, 57600, 65532},
                      {10, 38400, 65528},      {12, 9600, 65497},      {24, 57600, 65523},
                      {1, 2400, 65523},        {0.5, 1200, 65523},     {39.3, 57600, 65515}};
  for (const auto& row : rows) {
    const auto speed = ChooseLinkSpeed(row.mhz);
    ASSERT_TRUE(speed) << row.mhz;
    EXPECT_EQ(speed->bit_rate, row.rate) << row.mhz;
    EXPECT_EQ(speed->reload, row.reload) << row.mhz;
  }
  EXPECT_NEAR(ChooseLinkSpeed(10)->deviation_percent, 1.696, 0.001);
  EXPECT_FALSE(ChooseLinkSpeed(0.1));
  EXPECT_FALSE(ChooseLinkSpeed(0));
  EXPECT_FALSE(ChooseLinkSpeed(-11.0592));
  EXPECT_FALSE(ChooseLinkSpeed(INFINITY));
  // With an absurd clock the reload value leaves 16 bits: such a speed cannot be programmed.
  EXPECT_FALSE(ChooseLinkSpeed(1e6));

  // The 2 % tolerance is inclusive.
  const auto edge = LinkSpeedFor(10, 57600);
  EXPECT_GT(std::fabs(edge.deviation_percent), 2);
  EXPECT_FALSE(Fits(edge));
}

TEST(ClockMath, MeasuredClockSnapsToCrystalsOrRoundsToOneDecimal) {
  auto from_count = [](int count) { return ClockFromCounts(count % 256, count / 256); };
  auto count_for = [](double mhz) {
    return static_cast<int>(std::lround(998 - (mhz - 1) / (0.03789126 * 1.013)));
  };
  EXPECT_EQ(from_count(count_for(11.0592)), 11.0592);
  EXPECT_EQ(from_count(count_for(1.8432)), 1.8432);
  EXPECT_EQ(from_count(count_for(7.43)), 7.4);
  EXPECT_DOUBLE_EQ(from_count(0), 39.3);
  // Only the two low bits of CB count.
  EXPECT_EQ(ClockFromCounts(count_for(11.0592) % 256, 0xA4 | (count_for(11.0592) / 256)), 11.0592);
  // The windows are open: a clock that comes out at exactly 11.0 or 11.1 is only rounded.
  for (int count = 700; count < 760; ++count) {
    const double raw = (998 - count) * 0.03789126 * 1.013 + 1.0;
    const double expected =
        raw > 11.0 && raw < 11.1 ? 11.0592 : std::round(raw * 10) / 10;  // no ties here
    EXPECT_EQ(from_count(count), expected) << count;
  }
}

TEST(ClockMath, AnalogClockDivider) {
  EXPECT_EQ(AnalogClockDivider(11.0592), 4);
  EXPECT_EQ(AnalogClockDivider(1.8432), 0);
  EXPECT_EQ(AnalogClockDivider(7.4), 2);
  EXPECT_EQ(AnalogClockDivider(1.0), -1);
  EXPECT_EQ(AnalogClockDivider(2.5), 0) << "2.5 rounds to 2";
}

TEST(ClockMath, ClockCommandsFollowTheRegisterFormulas) {
  const auto eleven = ClockCommandsFor(11);
  EXPECT_EQ(eleven.fb, "RWFB0A");
  EXPECT_EQ(eleven.fd, "RWFD2A");
  EXPECT_EQ(eleven.fc, "RWFCF8");
  EXPECT_EQ(eleven.fe, "RWFE63");
  EXPECT_EQ(eleven.ef, "RWEF34");
  EXPECT_EQ(ClockCommandsFor(1).fd, "RWFD03");
  EXPECT_EQ(ClockCommandsFor(1).fc, "RWFCE8");
  EXPECT_EQ(ClockCommandsFor(24).fb, "RWFB17");
  EXPECT_EQ(ClockCommandsFor(24).fd, "RWFD5D");
  EXPECT_EQ(ClockCommandsFor(24).fc, "RWFCC0");

  // The board's register formulas, evaluated the long way for every whole clock.
  auto hex_digit = [](double v) { return std::string(1, "0123456789ABCDEF"[static_cast<int>(v)]); };
  for (int f = 1; f <= 24; ++f) {
    const double u = std::floor(f - 0.5);
    const double m = RoundHalfEven(f * 1000 - 0.5);
    const double high = RoundHalfEven(m / 256 - 0.5);
    const double low = m - 256 * high;
    const double fe = RoundHalfEven(f * 100000 / (m + 1) - 0.5);
    const std::string ef = hex_digit(RoundHalfEven(f * 4000 / (m + 1) - 0.5)) +
                           hex_digit(RoundHalfEven(f * 5 / (u + 1) - 0.5));
    const auto commands = ClockCommandsFor(f);
    EXPECT_EQ(commands.fb, "RWFB" + Hex2(static_cast<int>(u)));
    EXPECT_EQ(commands.fd, "RWFD" + Hex2(static_cast<int>(high))) << f;
    EXPECT_EQ(commands.fc, "RWFC" + Hex2(static_cast<int>(low))) << f;
    EXPECT_EQ(commands.fe, "RWFE" + Hex2(static_cast<int>(fe))) << f;
    EXPECT_EQ(commands.ef, "RWEF" + ef) << f;
  }
}

}  // namespace
}  // namespace korvane
