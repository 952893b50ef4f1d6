#include "board/adc_model.h"

#include <gtest/gtest.h>

#include <vector>

#include "board/gaussian_noise.h"
#include "code_statistics.h"

namespace korvane {
namespace {

std::vector<std::int32_t> Conversions(AdcModel& adc, const ConverterSetup& setup, double rate_hz,
                                      int count) {
  std::vector<std::int32_t> codes;
  for (int i = 0; i < count; ++i) codes.push_back(adc.Convert(setup, rate_hz));
  return codes;
}

TEST(AdcModel, NoiseIsGaussianAndTheSameForTheSameSeed) {
  GaussianNoise noise(7);
  std::vector<std::int32_t> scaled;  // in thousandths
  for (int i = 0; i < 20000; ++i) scaled.push_back(static_cast<std::int32_t>(1000 * noise.Next()));
  EXPECT_NEAR(Mean(scaled), 0.0, 30.0);
  EXPECT_NEAR(Spread(scaled), 1000.0, 30.0);

  GaussianNoise same(7);
  GaussianNoise other(8);
  GaussianNoise again(7);
  int differences = 0;
  for (int i = 0; i < 100; ++i) {
    const double value = again.Next();
    EXPECT_EQ(same.Next(), value);
    if (other.Next() != value) ++differences;
  }
  EXPECT_GT(differences, 90);
}

TEST(AdcModel, NoiseSizeFollowsGainAndDataRate) {
  AdcInputs inputs;
  inputs.volts[0] = 0.001;
  AdcModel adc(inputs, 3);
  adc.Calibrate(CalibrationMode::kSelfOffsetAndGain);
  ConverterSetup setup;
  setup.positive_input = 0;
  setup.reference = ReferenceSource::kInternal2V5;
  setup.filter = AdcFilter::kSinc3;

  // Start-up settings, 15 Hz at gain 1: 2.86 codes RMS (plus a little from rounding).
  const auto slow = Conversions(adc, setup, 15.0, 4000);
  EXPECT_NEAR(Mean(slow), 3355.4, 0.3);
  EXPECT_GT(Spread(slow), 2.5);
  EXPECT_LT(Spread(slow), 3.3);

  setup.gain_exponent = 7;
  const auto high_gain = Conversions(adc, setup, 15.0, 4000);
  EXPECT_NEAR(Mean(high_gain), 429496.7, 2.0);
  EXPECT_NEAR(Spread(high_gain), 20.2, 1.5) << "more codes of noise at high gain";

  AdcModel twin(inputs, 3);
  twin.Calibrate(CalibrationMode::kSelfOffsetAndGain);
  setup.gain_exponent = 0;
  EXPECT_EQ(Conversions(twin, setup, 15.0, 4000), slow) << "deterministic from the seed";
}

}  // namespace
}  // namespace korvane
