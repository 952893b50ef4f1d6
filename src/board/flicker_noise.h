#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "board/gaussian_noise.h"

namespace korvane {

/// The converter's 1/f noise: below `corner_hz` its density rises above the white noise density
/// S as S * corner / f. It is the sum of first-order low-pass noises (Ornstein-Uhlenbeck
/// processes) with corners an octave apart, each of variance S * corner * ln 2; their spectra
/// add up to S * corner / f between the lowest corner (2^-17 Hz, a period of a day and a half)
/// and half the data rate. Faster ones are left out: the converter's filter removes them.
/// Each process is advanced exactly over the time since the last conversion, so lost
/// conversions and pauses between streams do not change the spectrum. Deterministic from the
/// seed, and apart from the white noise's random numbers.
class FlickerNoise {
 public:
  FlickerNoise(std::uint32_t seed, double corner_hz) : noise_(seed), corner_hz_(corner_hz) {}

  /// The 1/f noise in volts at `at_seconds` (never earlier than the last call), for white noise
  /// of `white_rms_volts` per conversion at `data_rate_hz`.
  double Next(double at_seconds, double white_rms_volts, double data_rate_hz);

 private:
  static constexpr int kLowestOctave = -17;
  static constexpr int kProcesses = 35;  ///< up to 2^17 Hz, above every data rate's half

  GaussianNoise noise_;
  double corner_hz_;
  /// Each process at unit variance.
  std::array<double, kProcesses> state_{};
  std::array<std::optional<double>, kProcesses> updated_at_{};
};

}  // namespace korvane
