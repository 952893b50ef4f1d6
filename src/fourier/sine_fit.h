#pragma once

#include <span>

#include "fourier/analysis_error.h"

namespace korvane {

/// A four-parameter sine fit of a record holding one tone: the reading n is taken as
/// `amplitude * cos(2 pi frequency_hz n / fs + phase_rad) + offset`.
struct SineFit {
  SpectrumError error = SpectrumError::kNone;
  double amplitude = 0.0;
  double frequency_hz = 0.0;
  double phase_rad = 0.0;
  double offset = 0.0;
  /// rms of the readings less the fitted sine (noise plus distortion), in the record's unit.
  double residual_rms = 0.0;
  /// log2(full-scale range / (residual_rms * sqrt(12))): the ideal converter with this noise.
  double enob_bits = 0.0;
  int iterations = 0;
  /// The residual is below `kResolution` of full scale: `enob_bits` is that limit (about 39).
  bool below_resolution = false;
};

/// Fits by the method of the converter-test standard (IEEE 1241): the three-parameter fit at
/// `start_hz`, then the four-parameter fit iterated until the frequency settles.
/// `start_hz` 0: the tone found in the record's Blackman-Harris 4-term spectrum.
SineFit FitSine(std::span<const double> record, double sample_rate_hz, double full_scale_peak,
                double start_hz = 0.0);

}  // namespace korvane
