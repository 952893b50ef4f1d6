#include "link/clock_math.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

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
  const std::pair<double, int> cases[] = {
      {11.0592, 4}, {1.8432, 0}, {7.4, 2}, {1.0, -1}, {2.5, 0} /* 2.5 rounds to 2 */};
  for (const auto& [mhz, divider] : cases) EXPECT_EQ(AnalogClockDivider(mhz), divider) << mhz;
}

TEST(ClockMath, ClockCommandsFollowTheRegisterFormulas) {
  const std::pair<int, const char*> cases[] = {{1, "RWFB00 RWFD03 RWFCE8 RWFE63 RWEF34"},
                                               {11, "RWFB0A RWFD2A RWFCF8 RWFE63 RWEF34"},
                                               {24, "RWFB17 RWFD5D RWFCC0 RWFE63 RWEF34"}};
  for (const auto& [mhz, expected] : cases) {
    const auto c = ClockCommandsFor(mhz);
    EXPECT_EQ(c.fb + " " + c.fd + " " + c.fc + " " + c.fe + " " + c.ef, expected);
  }
}

}  // namespace
}  // namespace korvane
