#pragma once

#include "fourier/fourier_power.h"

namespace korvane {

/// The noise in a band [low_hz, high_hz] of a spectrum: the bins whose centre lies in it.
struct BandNoise {
  SpectrumError error = SpectrumError::kNone;
  /// Integrated noise, rms, in the record's unit.
  double rms = 0.0;
  /// Mean noise spectral density over the band, unit/sqrt(Hz).
  double density = 0.0;
  std::size_t bins = 0;
  /// No noise in the band beyond rounding (all-equal readings): `rms` is below
  /// `kResolution` of full scale.
  bool below_resolution = false;
};

/// Leaves out the record's offset and its window leakage (`Spectrum::DcBins`) unless
/// `include_dc`.
BandNoise IntegrateBand(const Spectrum& spectrum, double low_hz, double high_hz,
                        bool include_dc = false);

}  // namespace korvane
