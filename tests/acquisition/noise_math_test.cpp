#include "acquisition/noise_math.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace korvane {
namespace {

TEST(NoiseMath, SampleStandardDeviationRoundedToOneDecimalWithAFloor) {
  const std::vector<std::int32_t> five{100, 102, 98, 101, 99};
  EXPECT_EQ(BlockSigma(five, 100.0), 1.6);  // 1.5811
  const std::vector<std::int32_t> equal(40, 1234);
  EXPECT_EQ(BlockSigma(equal, 1234.0), 0.1);
  const std::vector<std::int32_t> pair{10, 11};
  EXPECT_EQ(BlockSigma(pair, 10.5), 0.7);  // 0.7071
  EXPECT_EQ(BlockSigma(std::vector<std::int32_t>{7}, 0.0), 0.1);
  EXPECT_EQ(BlockSigma({}, 0.0), 0.1);

  // Sixteen degrees of freedom make the halves exact: 0.25 -> 0.2, 0.75 -> 0.8.
  std::vector<std::int32_t> seventeen(17, 0);
  seventeen[0] = 1;
  EXPECT_EQ(BlockSigma(seventeen, 0.0), 0.2);
  seventeen[0] = 3;
  EXPECT_EQ(BlockSigma(seventeen, 0.0), 0.8);
  // Deviations are taken from the mean given, not from one computed here.
  EXPECT_EQ(BlockSigma(equal, 1236.0), 2.0);
}

TEST(NoiseMath, EffectiveBitsOfA24BitConverter) {
  EXPECT_EQ(EffectiveBits(0.1), 27.32);
  EXPECT_EQ(EffectiveBits(1.0), 24.0);
  EXPECT_EQ(EffectiveBits(1.6), 23.32);
  EXPECT_EQ(EffectiveBits(2.3), 22.8);
  EXPECT_EQ(EffectiveBits(100.0), 17.36);
  EXPECT_EQ(EffectiveBits(4096.0), 12.0);
}

TEST(NoiseMath, OutliersLieStrictlyMoreThanFourSigmaAway) {
  std::vector<std::int32_t> samples{100, 110, 90, 111, 89, 100, 0};
  EXPECT_EQ(MarkOutliers(samples, 100.0, 2.5, -1000000), 3);
  EXPECT_EQ(samples, (std::vector<std::int32_t>{100, 110, 90, -1000000, -1000000, 100, -1000000}));
}

TEST(NoiseMath, GraphBands) {
  const YBand volts = VoltsBand(1000.0, 0.1, 1e-6);
  EXPECT_DOUBLE_EQ(volts.min, 999.6e-6);
  EXPECT_DOUBLE_EQ(volts.max, 1000.4e-6);
  const YBand negative = VoltsBand(-50.0, 2.5, 2.0);
  EXPECT_EQ(negative, (YBand{-120.0, -80.0}));

  EXPECT_EQ(TemperatureBand(25.3).min, 25.0);
  EXPECT_DOUBLE_EQ(TemperatureBand(25.3).max, 25.8);
  EXPECT_EQ(TemperatureBand(25.7).min, 25.0);
  EXPECT_DOUBLE_EQ(TemperatureBand(25.7).max, 26.2);
  // The lower end rounds half to even.
  EXPECT_EQ(TemperatureBand(26.0), (YBand{26.0, 26.5}));
  EXPECT_EQ(TemperatureBand(27.0), (YBand{26.0, 27.5}));
  EXPECT_EQ(TemperatureBand(-10.0), (YBand{-10.0, -9.5}));
}

}  // namespace
}  // namespace korvane
