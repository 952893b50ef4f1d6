#include "acquisition/noise_math.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "acquisition/noise_figures.h"

namespace korvane {
namespace {

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

/// Datasheet figures on blocks whose sigma and peak-to-peak are known in closed form.
TEST(NoiseMath, NoiseFiguresOfConstructedBlocks) {
  constexpr double kLsb = 5.0 / 16777215;  // bipolar, 2.5 V reference, gain 1
  constexpr double kFsr = 5.0;
  std::vector<std::int32_t> ramp(1000);  // 0..999: sample variance n(n+1)/12
  for (int i = 0; i < 1000; ++i) ramp[static_cast<std::size_t>(i)] = i - 500;
  struct Case {
    const char* name;
    std::vector<std::int32_t> codes;
    double lsb;
    double fsr;
    double mean;
    double sigma;
    std::int32_t peak_to_peak;
  };
  const Case cases[] = {
      {"+-1 alternating", {-1, 1, -1, 1}, kLsb, kFsr, 0, std::sqrt(4.0 / 3), 2},
      {"ramp", ramp, kLsb, kFsr, -0.5, std::sqrt(1000.0 * 1001 / 12), 999},
      {"near full scale", {8388607, 8388605}, kLsb, kFsr, 8388606, std::sqrt(2.0), 2},
      {"gain 128", {-3, 3, -3, 3, -3, 3}, kLsb / 128, kFsr / 128, 0, 3 * std::sqrt(6.0 / 5), 6},
      {"no spread", {100, 100, 100}, kLsb, kFsr, 100, 0, 0},
      {"external reference", {-1, 1}, kLsb, 0, 0, std::sqrt(2.0), 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BlockSettings settings;
    settings.volts_per_lsb = c.lsb;
    settings.full_scale_volts = c.fsr;
    const NoiseFigures f = ComputeNoiseFigures(c.codes, settings);
    EXPECT_EQ(f.count, static_cast<std::int64_t>(c.codes.size()));
    EXPECT_NEAR(f.mean_code, c.mean, 1e-9);
    EXPECT_NEAR(f.sigma_lsb, c.sigma, 1e-9);
    EXPECT_NEAR(f.sigma_uv, c.sigma * c.lsb * 1e6, 1e-9);
    EXPECT_EQ(f.peak_to_peak_lsb, c.peak_to_peak);
    EXPECT_NEAR(f.peak_to_peak_uv, c.peak_to_peak * c.lsb * 1e6, 1e-9);
    // FSR / LSB is 2^24 - 1 at every gain, so the resolutions are 24 bits less log2 of the noise.
    if (c.fsr > 0 && c.sigma > 0) {
      EXPECT_NEAR(f.effective_bits, std::log2(16777215 / c.sigma), 1e-9);
      EXPECT_NEAR(f.noise_free_bits, std::log2(16777215.0 / c.peak_to_peak), 1e-9);
    } else {
      EXPECT_TRUE(std::isnan(f.effective_bits) && std::isnan(f.noise_free_bits));
    }
  }

  // As shown: rounded half to even, "-" where a resolution cannot be had.
  BlockSettings settings;
  settings.volts_per_lsb = kLsb;
  settings.full_scale_volts = kFsr;
  std::map<std::string, std::string> shown;
  for (const auto& [key, value] : NoiseFigureLines(ComputeNoiseFigures(ramp, settings), settings)) {
    shown[key] = value;
  }
  EXPECT_EQ(shown["readings"], "1000");
  EXPECT_EQ(shown["mean_code"], "-0.50");
  EXPECT_EQ(shown["mean_V"], "-0.00000015");
  EXPECT_EQ(shown["sigma_LSB"], "288.819");    // 288.8194...
  EXPECT_EQ(shown["sigma_uV_rms"], "86.075");  // 288.8194 x 0.298023 uV
  EXPECT_EQ(shown["peak_to_peak_uV"], "297.725");
  EXPECT_EQ(shown["effective_resolution_bits"], "15.83");
  EXPECT_EQ(shown["noise_free_resolution_bits"], "14.04");
  EXPECT_EQ(shown["min_V"], "-0.00014901");
  settings.full_scale_volts = 0;
  EXPECT_EQ(NoiseFigureLines(ComputeNoiseFigures(ramp, settings), settings)[7].second, "-");
}

}  // namespace
}  // namespace korvane
