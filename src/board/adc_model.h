#pragma once

#include <cstdint>

#include "board/adc_inputs.h"
#include "board/adc_transfer.h"
#include "board/converter_setup.h"
#include "board/gaussian_noise.h"

namespace korvane {

/// The chip's converter: the inputs it sees, what calibration has removed of its errors, and
/// its noise. Deterministic from the seed.
class AdcModel {
 public:
  AdcModel(const AdcInputs& inputs, std::uint32_t seed) : inputs_(inputs), noise_(seed) {}

  /// A change takes effect at the next conversion.
  AdcInputs& Inputs() { return inputs_; }

  ChipCalibration Calibration() const { return calibration_; }
  /// Runs the calibration that register DD's mode bits ask for.
  void Calibrate(CalibrationMode mode) { calibration_ = AfterCalibration(calibration_, mode); }
  /// A chip reset forgets every calibration.
  void ForgetCalibration() { calibration_ = {}; }

  /// One conversion at `data_rate_hz`, noise included: a signed code for bipolar input, a
  /// straight one for unipolar input (see CodeForVolts).
  std::int32_t Convert(const ConverterSetup& setup, double data_rate_hz);

 private:
  AdcInputs inputs_;
  ChipCalibration calibration_;
  GaussianNoise noise_;
};

}  // namespace korvane
