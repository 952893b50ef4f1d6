#include "fourier/fourier_power.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "fourier/fft_plan.h"

namespace korvane {
namespace {

bool SettingsValid(const SpectrumSettings& settings) {
  return std::isfinite(settings.sample_rate_hz) && settings.sample_rate_hz > 0.0 &&
         std::isfinite(settings.full_scale_peak) && settings.full_scale_peak > 0.0;
}

SpectrumError CheckRecord(std::span<const double> record, std::size_t segment_length) {
  if (segment_length > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
    return SpectrumError::kBadSettings;  // FFTW takes the length as an int
  }
  if (segment_length < kMinimumReadings || record.size() < segment_length) {
    return SpectrumError::kTooShort;
  }
  const bool finite =
      std::all_of(record.begin(), record.end(), [](double x) { return std::isfinite(x); });
  return finite ? SpectrumError::kNone : SpectrumError::kMissingReadings;
}

Spectrum Failed(SpectrumError error) {
  Spectrum spectrum;
  spectrum.error = error;
  return spectrum;
}

}  // namespace

double Spectrum::BinWidthHz() const {
  return segment_length > 0 ? sample_rate_hz / static_cast<double>(segment_length) : 0.0;
}

double Spectrum::Density(std::size_t bin) const {
  return std::sqrt(DensitySquared(bin));
}

Spectrum ComputeWelch(std::span<const double> record, const WelchSettings& settings) {
  const std::size_t length = settings.segment_length;
  if (!SettingsValid(settings.spectrum) || !(settings.overlap >= 0.0) ||
      !(settings.overlap <= 0.95)) {
    return Failed(SpectrumError::kBadSettings);
  }
  if (const auto error = CheckRecord(record, length); error != SpectrumError::kNone) {
    return Failed(error);
  }
  const auto step =
      std::max<std::size_t>(1, static_cast<std::size_t>(std::lround(static_cast<double>(length) *
                                                                    (1.0 - settings.overlap))));
  const WindowShape window = MakeWindow(settings.spectrum.window, length);

  Spectrum spectrum;
  spectrum.sample_rate_hz = settings.spectrum.sample_rate_hz;
  spectrum.full_scale_peak = settings.spectrum.full_scale_peak;
  spectrum.segment_length = length;
  spectrum.segments = (record.size() - length) / step + 1;
  spectrum.window = window.kind;
  spectrum.coherent_gain = window.coherent_gain;
  spectrum.enbw_bins = window.enbw_bins;
  spectrum.lobe_bins = window.lobe_bins;
  spectrum.power.assign(length / 2 + 1, 0.0);

  double window_power = 0.0;
  for (double w : window.weights) window_power += w * w;
  // |X|^2 of one bin to mean-square: both sides of the spectrum count, except DC and (for an
  // even length) the Nyquist bin, which have no mirror.
  const double scale =
      2.0 / (static_cast<double>(length) * window_power * static_cast<double>(spectrum.segments));

  FftPlan plan(length);
  auto input = plan.Input();
  const auto output = plan.Output();
  for (std::size_t s = 0; s < spectrum.segments; ++s) {
    const double* segment = record.data() + s * step;
    for (std::size_t n = 0; n < length; ++n) input[n] = segment[n] * window.weights[n];
    plan.Execute();
    for (std::size_t k = 0; k < output.size(); ++k) spectrum.power[k] += std::norm(output[k]);
  }
  for (double& p : spectrum.power) p *= scale;
  spectrum.power.front() /= 2.0;
  if (length % 2 == 0) spectrum.power.back() /= 2.0;
  return spectrum;
}

Spectrum ComputeSpectrum(std::span<const double> record, const SpectrumSettings& settings) {
  return ComputeWelch(record, WelchSettings{settings, record.size(), 0.0});
}

std::vector<double> MagnitudeDbfs(const Spectrum& spectrum) {
  // A tone of peak A centred on bin k has power A^2/2 / ENBW there (DC: A^2 / ENBW), so the
  // peak amplitude is sqrt(2 * power * ENBW): the coherent gain is undone by the ENBW.
  std::vector<double> dbfs(spectrum.power.size());
  const double full_scale_power = spectrum.full_scale_peak * spectrum.full_scale_peak;
  for (std::size_t k = 0; k < dbfs.size(); ++k) {
    const bool single = k == 0 || 2 * k == spectrum.segment_length;
    const double peak_squared = (single ? 1.0 : 2.0) * spectrum.power[k] * spectrum.enbw_bins;
    dbfs[k] = PowerRatioDb(peak_squared, full_scale_power);
  }
  return dbfs;
}

}  // namespace korvane
