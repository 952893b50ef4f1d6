#include "fourier/band_noise.h"

#include <cmath>

namespace korvane {

BandNoise IntegrateBand(const Spectrum& spectrum, double low_hz, double high_hz, bool include_dc) {
  BandNoise band;
  if (spectrum.error != SpectrumError::kNone) {
    band.error = spectrum.error;
    return band;
  }
  if (!std::isfinite(low_hz) || !std::isfinite(high_hz) || low_hz > high_hz) {
    band.error = SpectrumError::kBadSettings;
    return band;
  }
  const std::size_t first = include_dc ? 0 : spectrum.DcBins();
  double power = 0.0;
  for (std::size_t k = first; k < spectrum.power.size(); ++k) {
    const double f = spectrum.FrequencyHz(k);
    if (f < low_hz || f > high_hz) continue;
    power += spectrum.power[k];
    ++band.bins;
  }
  if (band.bins == 0) {
    band.error = SpectrumError::kBadSettings;
    return band;
  }
  band.rms = std::sqrt(power);
  band.density = std::sqrt(power / (static_cast<double>(band.bins) * spectrum.BinWidthHz()));
  band.below_resolution = !(band.rms > spectrum.full_scale_peak * kResolution);
  return band;
}

}  // namespace korvane
