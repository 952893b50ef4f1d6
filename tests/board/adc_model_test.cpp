#include "board/adc_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <string>
#include <vector>

#include "board/gaussian_noise.h"
#include "board/signal_options.h"
#include "code_statistics.h"

namespace korvane {
namespace {

std::vector<std::int32_t> Conversions(AdcModel& adc, const ConverterSetup& setup, double rate_hz,
                                      int count) {
  std::vector<std::int32_t> codes;
  for (int i = 0; i < count; ++i) codes.push_back(adc.Convert(setup, rate_hz, (i + 1) / rate_hz));
  return codes;
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

  // Without added signals the codes are the steady inputs plus the seeded white noise, no more.
  GaussianNoise noise(3);
  const ChipCalibration calibrated{true, true};
  for (std::size_t i = 0; i < 100; ++i) {
    ASSERT_EQ(slow[i],
              ConversionCode(setup, inputs, calibrated, NoiseRmsVolts(setup, 15.0) * noise.Next()));
  }
}

/// The complex gain of `order` cascaded running sums of `decimation` modulator samples, summed
/// from the filter's taps, at `frequency_hz`.
std::complex<double> TapsGain(int order, int decimation, double modulator_hz, double frequency_hz) {
  std::vector<double> taps = {1.0};
  for (int stage = 0; stage < order; ++stage) {
    std::vector<double> longer(taps.size() + static_cast<std::size_t>(decimation) - 1, 0.0);
    for (std::size_t i = 0; i < taps.size(); ++i) {
      for (int j = 0; j < decimation; ++j)
        longer[i + static_cast<std::size_t>(j)] += taps[i] / decimation;
    }
    taps = longer;
  }
  std::complex<double> gain = 0.0;
  for (std::size_t n = 0; n < taps.size(); ++n) {
    gain += taps[n] * std::polar(1.0, -2.0 * std::numbers::pi * frequency_hz *
                                          static_cast<double>(n) / modulator_hz);
  }
  return gain;
}

TEST(AdcModel, TonesPassTheFilterAsItsTapsSay) {
  constexpr double kModulatorHz = 28800.0;  // 1.8432 MHz / 64
  struct Case {
    const char* options;
    AdcFilter filter;
    int order;  ///< of the sinc filter the setting selects
    int decimation;
    int negative_input;
    double probe_hz;
    double probe_volts;  ///< at the input, before the filter
    double probe_degrees;
  };
  const Case cases[] = {
      {"--sim-sine=AIN0,0.1,5,30", AdcFilter::kSinc3, 3, 576, 8, 5.0, 0.1, 30.0},
      {"--sim-sine=AIN0,0.1,5,30", AdcFilter::kSinc2, 2, 576, 8, 5.0, 0.1, 30.0},
      {"--sim-sine=AIN0,0.1,5,30", AdcFilter::kFast, 1, 576, 8, 5.0, 0.1, 30.0},
      {"--sim-sine=AIN0,0.1,5,30", AdcFilter::kAuto, 3, 480, 8, 5.0, 0.1, 30.0},
      {"--sim-sine=AIN0,0.1,5,30,h3:-20", AdcFilter::kSinc3, 3, 576, 8, 15.0, 0.01, 90.0},
      {"--sim-sine=AIN1,0.1,5,30", AdcFilter::kSinc3, 3, 576, 8, 5.0, 0.0, 0.0},
      {"--sim-sine=AINCOM,0.1,5", AdcFilter::kSinc3, 3, 576, 8, 5.0, -0.1, 0.0},
      // Folded back by the modulator's sampling and then by the conversions': seen at 5 Hz.
      {"--sim-sine=AIN0,0.1,28805", AdcFilter::kSinc3, 3, 576, 8, 28805.0, 0.1, 0.0},
      // Hum at the data rate and its multiples falls into the notches; off them it passes.
      {"--sim-mains=50,0.1", AdcFilter::kSinc3, 3, 576, 8, 50.0, 0.1, 0.0},
      {"--sim-mains=50,0.1", AdcFilter::kSinc3, 3, 480, 8, 50.0, 0.1, 0.0},
      {"--sim-mains=60,0.1,h3:-6", AdcFilter::kSinc2, 2, 576, 8, 180.0, 0.1 / 1.9953, 0.0},
      {"--sim-mains=60,0.1,h3:-6", AdcFilter::kSinc2, 2, 1920, 8, 180.0, 0.1 / 1.9953, 0.0},
      {"--sim-mains=50,0.1", AdcFilter::kSinc3, 3, 480, 1, 50.0, 0.0, 0.0},  // AIN0 - AIN1
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.options) + " D " + std::to_string(c.decimation) + " filter " +
                 std::to_string(static_cast<int>(c.filter)) + " against " +
                 std::to_string(c.negative_input));
    SimulatedSignals added;
    ASSERT_EQ(ApplySignalOption(c.options, added), "");
    AdcModel adc(AdcInputs{}, 5, added);
    adc.Calibrate(CalibrationMode::kSelfOffsetAndGain);
    ConverterSetup setup;
    setup.positive_input = 0;
    setup.negative_input = c.negative_input;
    setup.reference = ReferenceSource::kInternal2V5;
    setup.filter = c.filter;
    setup.decimation = c.decimation;
    const double rate_hz = kModulatorHz / c.decimation;
    // A whole number of seconds: whole periods of every probe, as the conversions see it.
    const auto codes = Conversions(adc, setup, rate_hz, static_cast<int>(20 * rate_hz));
    std::complex<double> seen = 0.0;
    for (std::size_t i = 0; i < codes.size(); ++i) {
      const double t = static_cast<double>(i + 1) / rate_hz;
      seen += 2.0 / static_cast<double>(codes.size()) * codes[i] *
              std::polar(1.0, -2.0 * std::numbers::pi * c.probe_hz * t);
    }
    // A sine A sin(wt + p) shows as A e^(i(p - pi/2)) times the filter's gain.
    const std::complex<double> expected =
        c.probe_volts * 16777215.0 / 5.0 *
        TapsGain(c.order, c.decimation, kModulatorHz, c.probe_hz) *
        std::polar(1.0, (c.probe_degrees - 90.0) * std::numbers::pi / 180.0);
    EXPECT_NEAR(seen.real(), expected.real(), 2.0);
    EXPECT_NEAR(seen.imag(), expected.imag(), 2.0);
  }
}

/// Half the mean square difference of the means of neighbouring blocks of `length` codes: white
/// noise of variance s^2 gives s^2 / length, 1/f noise of density S c / f gives 2 ln2 S c.
double AllanVariance(const std::vector<std::int32_t>& codes, std::size_t length) {
  std::vector<double> means;
  for (std::size_t start = 0; start + length <= codes.size(); start += length) {
    double sum = 0;
    for (std::size_t i = start; i < start + length; ++i) sum += codes[i];
    means.push_back(sum / static_cast<double>(length));
  }
  double sum = 0;
  for (std::size_t i = 1; i < means.size(); ++i)
    sum += (means[i] - means[i - 1]) * (means[i] - means[i - 1]);
  return sum / 2.0 / static_cast<double>(means.size() - 1);
}

TEST(AdcModel, FlickerNoiseRisesBelowItsCorner) {
  constexpr double kRateHz = 1000.0;
  ConverterSetup setup;
  setup.gain_exponent = 7;  // 164 codes of white noise at 1 kHz
  setup.reference = ReferenceSource::kInternal2V5;
  const double white_codes = NoiseRmsVolts(setup, kRateHz) * 128 * 16777215.0 / 5.0;
  struct Case {
    double corner_hz;
    std::size_t block;
  };
  // White density S = 2 s^2 / fs, so the Allan variance over white noise's s^2 / n is
  // 1 + 4 ln2 n c / fs.
  for (const Case c : {Case{0.0, 256}, Case{10.0, 16}, Case{10.0, 256}}) {
    SCOPED_TRACE("corner " + std::to_string(c.corner_hz) + " Hz, blocks of " +
                 std::to_string(c.block));
    SimulatedSignals added;
    added.flicker_corner_hz = c.corner_hz;
    AdcModel adc(AdcInputs{}, 1, added);
    adc.Calibrate(CalibrationMode::kSelfOffsetAndGain);
    const auto codes = Conversions(adc, setup, kRateHz, 1 << 17);
    const double white = white_codes * white_codes / static_cast<double>(c.block);
    const double expected =
        1.0 + 4.0 * std::numbers::ln2 * static_cast<double>(c.block) * c.corner_hz / kRateHz;
    EXPECT_NEAR(AllanVariance(codes, c.block) / white, expected, 0.15 * expected);
  }
}

TEST(AdcModel, SignalOptionsTakeSoundValuesAndRefuseTheRest) {
  SimulatedSignals added;
  for (const char* good :
       {"--sim-sine=AIN7,0.25,17.3", "--sim-sine=aincom,1e-3,1000000,-45,h2:-60,h100:0",
        "--sim-mains=60,0.002,h3:-20", "--sim-mains=49.9,0.001", "--sim-flicker-corner=0.5"}) {
    EXPECT_EQ(ApplySignalOption(good, added), "") << good;
  }
  ASSERT_EQ(added.sines.size(), 2u);
  EXPECT_EQ(added.sines[0].input, 7);
  EXPECT_EQ(added.sines[0].amplitude_volts, 0.25);
  EXPECT_EQ(added.sines[0].frequency_hz, 17.3);
  EXPECT_EQ(added.sines[1].input, AdcInputs::kAincom);
  EXPECT_EQ(added.sines[1].phase_degrees, -45.0);
  ASSERT_EQ(added.sines[1].harmonics.size(), 2u);
  EXPECT_EQ(added.sines[1].harmonics[1].order, 100);
  EXPECT_EQ(added.sines[1].harmonics[0].relative_dbc, -60.0);
  EXPECT_EQ(added.mains->frequency_hz, 49.9) << "the later one holds";
  EXPECT_TRUE(added.mains->harmonics.empty());
  EXPECT_EQ(added.flicker_corner_hz, 0.5);

  for (const char* bad :
       {"--sim-sine=AIN8,0.1,5", "--sim-sine=AIN0,0.1", "--sim-sine=AIN0,0,5",
        "--sim-sine=AIN0,0.1,-5", "--sim-sine=AIN0,0.1,5x", "--sim-sine=AIN0,inf,5",
        "--sim-sine=AIN0,0.1,1000001", "--sim-sine=AIN0,0.1,5,h3:-60,30",
        "--sim-sine=AIN0,0.1,5,h1:-60", "--sim-sine=AIN0,0.1,5,h3:6", "--sim-sine=AIN0,0.1,5,h3",
        "--sim-sine=AIN0,0.1,5,,", "--sim-mains=70,0.1", "--sim-mains=50", "--sim-mains=50,nan",
        "--sim-mains=50,0.1,30", "--sim-flicker-corner=0",
        "--sim-flicker-corner=", "--sim-noise=1"}) {
    SCOPED_TRACE(bad);
    const SimulatedSignals before = added;
    EXPECT_NE(ApplySignalOption(bad, added), "");
    EXPECT_EQ(added.sines.size(), before.sines.size());
    EXPECT_EQ(added.mains->frequency_hz, before.mains->frequency_hz);
    EXPECT_EQ(added.flicker_corner_hz, before.flicker_corner_hz);
  }
  EXPECT_TRUE(IsSignalOption("--sim-mains=x"));
  EXPECT_FALSE(IsSignalOption("--sim-mains"));
}

}  // namespace
}  // namespace korvane
