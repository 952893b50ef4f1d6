#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numbers>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "fourier/band_noise.h"
#include "fourier/fourier_power.h"
#include "fourier/sine_fit.h"
#include "fourier/tone_figures.h"

namespace korvane {
namespace {

constexpr double kRate = 2000.0;    // readings per second
constexpr double kFullScale = 2.5;  // volts, the peak of a 0 dBFS sine
constexpr double kPi = std::numbers::pi;

double FromDb(double db) {
  return std::pow(10.0, db / 20.0);
}

/// A tone of `peak` volts at `hz` with harmonics (order, peak), an offset and white noise.
std::vector<double> Record(std::size_t n, double hz, double peak, double sigma = 0.0,
                           std::vector<std::pair<int, double>> harmonics = {}, double offset = 0.0,
                           double phase = 0.3) {
  std::mt19937_64 random(42);
  std::normal_distribution<double> noise(0.0, sigma > 0.0 ? sigma : 1.0);
  std::vector<double> x(n);
  for (std::size_t i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) / kRate;
    x[i] = offset + peak * std::cos(2 * kPi * hz * t + phase) + (sigma > 0.0 ? noise(random) : 0);
    for (auto [order, h] : harmonics) x[i] += h * std::cos(2 * kPi * order * hz * t + 1.1 * order);
  }
  return x;
}

double SampleSigma(const std::vector<double>& x) {
  double mean = 0.0;
  for (double v : x) mean += v;
  mean /= static_cast<double>(x.size());
  double squares = 0.0;
  for (double v : x) squares += (v - mean) * (v - mean);
  return std::sqrt(squares / static_cast<double>(x.size() - 1));
}

constexpr WindowKind kWindows[] = {WindowKind::kRectangular, WindowKind::kHann,
                                   WindowKind::kBlackmanHarris4, WindowKind::kBlackmanHarris7};

// A -1 dBFS sine on bin 300 of 4096, and one between bins (300.5, the worst case for a
// window's scalloping), plus an offset of -20 dBFS. Centred on a bin, the peak bin and the lobe
// both read -1.00 dBFS with every window, and bin 0 reads the offset. Between bins, the lobe
// sum still reads -1.00 with the three tapered windows; the rectangular window's leakage
// spreads far beyond any lobe, so it is not held to the level nor the frequency there. The ENBW is
// the published figure of each window.
TEST(SpectrumAnalysis, SineLevelAndOffsetWithEachWindow) {
  constexpr std::size_t kN = 4096;
  const double enbw[] = {1.0, 1.5, 2.0044, 2.6319};
  for (double bin : {300.0, 300.5}) {
    const auto x = Record(kN, bin * kRate / kN, kFullScale * FromDb(-1.0), 0.0, {},
                          kFullScale * FromDb(-20.0));
    for (std::size_t w = 0; w < std::size(kWindows); ++w) {
      SCOPED_TRACE(std::string(WindowName(kWindows[w])) + " at bin " + std::to_string(bin));
      const auto spectrum = ComputeSpectrum(x, {kRate, kFullScale, kWindows[w]});
      ASSERT_EQ(spectrum.error, SpectrumError::kNone);
      EXPECT_NEAR(spectrum.enbw_bins, enbw[w], 1e-4);
      const auto tone = AnalyseTone(spectrum);
      ASSERT_EQ(tone.error, SpectrumError::kNone);
      if (bin != 300.0 && kWindows[w] == WindowKind::kRectangular) continue;
      EXPECT_NEAR(tone.frequency_hz / spectrum.BinWidthHz(), bin, 0.05);
      EXPECT_NEAR(tone.level_dbfs, -1.0, 0.05);
      if (bin != 300.0) continue;
      const auto dbfs = MagnitudeDbfs(spectrum);
      EXPECT_NEAR(dbfs[300], -1.0, 0.05);
      EXPECT_NEAR(dbfs[0], -20.0, 0.05);
    }
  }
}

// White noise of known sigma on an offset: the mean density over the band is
// sigma * sqrt(2 / fs) within 0.2 dB and the whole band integrates to the record's sigma within
// 1 %, for one transform of the record and for Welch averages (the offset stays in DC).
TEST(SpectrumAnalysis, WhiteNoiseDensityAndBandNoise) {
  constexpr double kSigma = 1e-6;
  const auto x = Record(1 << 18, 50.0, 0.0, kSigma, {}, 1.25);
  const double sigma = SampleSigma(x);
  const double density = kSigma * std::sqrt(2.0 / kRate);
  struct Case {
    WindowKind window;
    std::size_t segment;
    double overlap;
  };
  const Case cases[] = {{WindowKind::kRectangular, x.size(), 0.0},
                        {WindowKind::kHann, 4096, 0.5},
                        {WindowKind::kBlackmanHarris7, 1024, 0.75}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(WindowName(c.window)) + " segment " + std::to_string(c.segment));
    const auto spectrum = ComputeWelch(x, {{kRate, kFullScale, c.window}, c.segment, c.overlap});
    ASSERT_EQ(spectrum.error, SpectrumError::kNone);
    const auto band = IntegrateBand(spectrum, 0.0, kRate / 2.0);
    ASSERT_EQ(band.error, SpectrumError::kNone);
    EXPECT_NEAR(20.0 * std::log10(band.density / density), 0.0, 0.2);
    EXPECT_NEAR(band.rms / sigma, 1.0, 0.01);
    EXPECT_FALSE(band.below_resolution);
  }
}

// SNR of a sine in white noise, THD of a sine with set harmonics, SINAD, SFDR and ENOB from
// them, within 0.3 dB of the figures the construction gives. At fs = 2000 Hz the 3rd, 4th and
// 5th harmonics of a 371.3 Hz tone alias back into the band. Blackman-Harris 7-term takes the
// tone between bins; Hann, whose leakage would read as noise at -38 dBc, one centred on a bin.
TEST(SpectrumAnalysis, ToneFigures) {
  constexpr std::size_t kN = 1 << 16;
  const double peak = kFullScale * FromDb(-1.0);
  struct Case {
    const char* name;
    double sigma;
    std::vector<std::pair<int, double>> harmonics;
  };
  const Case cases[] = {{"noise", peak * 1e-4, {}},
                        {"harmonics", 1e-7, {{2, peak * 1e-4}, {3, peak * 3e-5}, {5, peak * 2e-5}}},
                        {"both", peak * 3e-5, {{4, peak * 1e-4}}}};
  const std::pair<WindowKind, double> tones[] = {{WindowKind::kBlackmanHarris7, 371.3},
                                                 {WindowKind::kHann, 12165 * kRate / kN}};
  for (const auto& c : cases) {
    double distortion = 0.0;
    double largest = 0.0;
    for (auto [order, h] : c.harmonics) {
      distortion += h * h / 2.0;
      largest = std::max(largest, h);
    }
    const double noise = c.sigma * c.sigma;
    const double signal = peak * peak / 2.0;
    for (auto [window, hz] : tones) {
      SCOPED_TRACE(std::string(c.name) + ", " + std::string(WindowName(window)));
      const auto x = Record(kN, hz, peak, c.sigma, c.harmonics);
      const auto tone = AnalyseTone(ComputeSpectrum(x, {kRate, kFullScale, window}));
      ASSERT_EQ(tone.error, SpectrumError::kNone);
      EXPECT_NEAR(tone.frequency_hz, hz, 0.001);
      EXPECT_NEAR(tone.level_dbfs, -1.0, 0.05);
      EXPECT_NEAR(tone.snr_db, 10.0 * std::log10(signal / noise), 0.3);
      const double sinad = 10.0 * std::log10(signal / (noise + distortion));
      EXPECT_NEAR(tone.sinad_db, sinad, 0.3);
      EXPECT_NEAR(tone.enob_bits, (sinad - 1.76) / 6.02, 0.05);
      if (c.harmonics.empty()) continue;
      EXPECT_NEAR(tone.thd_db, 10.0 * std::log10(distortion / signal), 0.3);
      EXPECT_NEAR(tone.sfdr_db, 20.0 * std::log10(peak / largest), 0.3);
    }
  }
}

// The sine fit on a tone between bins, not a whole number of periods: amplitude and frequency
// to 1e-6 without noise, the residual is the noise within 2 % with it, and the ENOB follows
// from the residual.
TEST(SpectrumAnalysis, SineFit) {
  constexpr std::size_t kN = 20000;
  constexpr double kHz = 123.4567;
  const double peak = kFullScale * 0.8;
  for (double sigma : {0.0, 1e-4}) {
    SCOPED_TRACE("sigma " + std::to_string(sigma));
    const auto x = Record(kN, kHz, peak, sigma, {}, 0.2, 1.0);
    const auto fit = FitSine(x, kRate, kFullScale);
    ASSERT_EQ(fit.error, SpectrumError::kNone);
    // Noise of sigma moves the amplitude by about sigma sqrt(2 / N), 5e-7 of it here.
    const double exact = sigma == 0.0 ? 1e-6 : 1e-5;
    EXPECT_NEAR(fit.amplitude / peak, 1.0, exact);
    EXPECT_NEAR(fit.frequency_hz / kHz, 1.0, exact);
    EXPECT_NEAR(fit.phase_rad, 1.0, 1e-3);
    EXPECT_NEAR(fit.offset, 0.2, 1e-5);
    EXPECT_EQ(fit.below_resolution, sigma == 0.0);
    if (sigma == 0.0) continue;
    EXPECT_NEAR(fit.residual_rms / sigma, 1.0, 0.02);
    EXPECT_NEAR(fit.enob_bits, std::log2(2 * kFullScale / (sigma * std::sqrt(12.0))), 0.03);
  }
}

/// Every figure of an analysis of `x` is finite; returns the errors of the spectrum, the tone
/// figures and the sine fit.
std::array<SpectrumError, 3> AnalyseAll(const std::vector<double>& x, std::size_t segment,
                                        double rate) {
  const auto spectrum = ComputeWelch(x, {{rate, kFullScale, WindowKind::kHann}, segment, 0.5});
  const auto band = IntegrateBand(spectrum, 0.0, rate / 2.0);
  const auto tone = AnalyseTone(spectrum);
  const auto fit = FitSine(x, rate, kFullScale);
  std::vector<double> figures = {band.rms,       band.density,  tone.frequency_hz, tone.level_dbfs,
                                 tone.snr_db,    tone.thd_db,   tone.sinad_db,     tone.sfdr_db,
                                 tone.enob_bits, fit.amplitude, fit.frequency_hz,  fit.residual_rms,
                                 fit.enob_bits,  fit.phase_rad, fit.offset};
  for (double p : spectrum.power) figures.push_back(p);
  for (double d : MagnitudeDbfs(spectrum)) figures.push_back(d);
  for (double f : figures) EXPECT_TRUE(std::isfinite(f));
  return {spectrum.error, tone.error, fit.error};
}

// Bad input gives an error or a figure flagged "below resolution", never NaN or inf.
TEST(SpectrumAnalysis, BadInputGivesErrorsNotNan) {
  using E = SpectrumError;
  auto gap = Record(4096, 100.0, 1.0);
  auto drift = Record(4096, 100.0, 0.0, 1e-6);
  std::mt19937_64 random(3);
  std::normal_distribution<double> step(0.0, 1e-4);
  for (std::size_t i = 1; i < drift.size(); ++i) drift[i] += drift[i - 1] + step(random);
  gap[1000] = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    const char* name;
    std::vector<double> x;
    std::size_t segment;
    double rate;
    std::array<E, 3> errors;
  };
  const Case cases[] = {
      {"shorter than the segment",
       Record(1000, 100.0, 1.0),
       2048,
       kRate,
       {E::kTooShort, E::kTooShort, E::kNone}},
      {"a few readings",
       Record(10, 100.0, 1.0),
       8,
       kRate,
       {E::kTooShort, E::kTooShort, E::kTooShort}},
      {"all equal",
       std::vector<double>(4096, 0.7),
       1024,
       kRate,
       {E::kNone, E::kNoTone, E::kNoTone}},
      {"no tone", Record(4096, 100.0, 0.0, 1e-3), 1024, kRate, {E::kNone, E::kNoTone, E::kNoTone}},
      {"drift, no tone", drift, 4096, kRate, {E::kNone, E::kNoTone, E::kNoTone}},
      {"a gap", gap, 1024, kRate, {E::kMissingReadings, E::kMissingReadings, E::kMissingReadings}},
      {"no sample rate",
       Record(4096, 100.0, 1.0),
       1024,
       0.0,
       {E::kBadSettings, E::kBadSettings, E::kBadSettings}},
      {"an exact tone", Record(4096, 100.0, 1.0), 1024, kRate, {E::kNone, E::kNone, E::kNone}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(AnalyseAll(c.x, c.segment, c.rate), c.errors);
  }
  const std::vector<double> flat(4096, 0.7);
  const auto band = IntegrateBand(ComputeWelch(flat, {{kRate, kFullScale}, 1024, 0.5}), 0, 1000);
  EXPECT_TRUE(band.below_resolution);
  EXPECT_LT(band.rms, kFullScale * kResolution);
  const auto exact = AnalyseTone(ComputeSpectrum(Record(4096, 500.0, 1.0), {kRate, kFullScale}));
  EXPECT_TRUE(exact.below_resolution);
  EXPECT_GT(exact.sinad_db, 200.0);
}

}  // namespace
}  // namespace korvane
