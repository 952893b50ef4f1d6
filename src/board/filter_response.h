#pragma once

#include "board/converter_setup.h"

namespace korvane {

/// The converter's digital filter seen from a sine at its input: a sinc^k filter, k cascaded
/// running sums of D modulator samples (D the decimation), read once per D samples. Its gain is
///   H(f) = [sin(pi f D / fmod) / (D sin(pi f / fmod))]^k
/// with a delay of k (D - 1) / 2 modulator periods, so it is 0 (a notch) at every multiple of
/// the data rate fmod / D that is not a multiple of fmod, and 1 at 0 Hz and at every multiple of
/// fmod, where the modulator's sampling folds a tone back to 0 Hz.
class FilterResponse {
 public:
  /// k for each filter setting: Sinc3 3, Sinc2 2, Fast 1 (a plain mean of D samples, settling in
  /// one conversion), Auto 3 (the chip's choice for its noise, the same as Sinc3's).
  static int Order(AdcFilter filter);

  FilterResponse(const ConverterSetup& setup, double data_rate_hz);

  /// H(f) as above, negative where the filter inverts the sine.
  double Gain(double frequency_hz) const;
  double DelaySeconds() const;

 private:
  int order_;
  int decimation_;
  double modulator_hz_;
};

}  // namespace korvane
